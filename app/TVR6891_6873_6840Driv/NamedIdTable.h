#pragma once
// The table of named control ids, generated at build time from the layouts (tools/namedids):
// records sorted by name in ordinal order, installed with the application's LoadNamedIds.
#include "res.mgr/SNamedValue.h"

static_assert(sizeof(SKEIN::SNamedID::Record) == 108, "a named-id record is 108 bytes");

extern const SKEIN::SNamedID::Record kNamedIdTable[];
extern const int kNamedIdCount;
