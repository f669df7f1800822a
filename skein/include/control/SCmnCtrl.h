#pragma once
// The basic controls: labels, links, groups, lines, buttons, check and radio boxes, toggles,
// images, animated images, icons and progress bars.
#include "control/SButton.h"
#include "control/SCheckBox.h"
#include "control/SGroup.h"
#include "control/SImageWnd.h"
#include "control/SProgress.h"
#include "control/SStatic.h"
