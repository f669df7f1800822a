// DirectInput at the version the sheet uses (DIRECTINPUT_VERSION is set by the build).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <dinput.h>
#include <dinputd.h>
