#pragma once
// The standard controls as thin windows around their Qt widgets, one file each. A control
// reports the user's actions to its parent as the system's notifications (WM_COMMAND with a
// notification code, WM_HSCROLL / WM_VSCROLL, WM_NOTIFY), never what the program does to it.

#include "Button.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ImageList.h"
#include "ListCtrl.h"
#include "SliderCtrl.h"
#include "SpinButtonCtrl.h"
#include "Static.h"
#include "TabCtrl.h"
