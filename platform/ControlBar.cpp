#include "ControlBar.h"

#include <QWidget>

bool CControlBar::IsVisible() const
{
    return GetWidget() && !GetWidget()->isHidden();
}
