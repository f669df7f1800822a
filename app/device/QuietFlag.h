#pragma once
// While set, the device-command senders show no error boxes (the main window sets it around
// the sends that follow a detection).
extern bool QuietFlag;
