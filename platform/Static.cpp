#include "Static.h"

#include "QtConvert.h"

#include <QLabel>

QWidget* CStatic::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* label = new QLabel(ToQString(cs.lpszName), pParentWidget);
    const DWORD align = cs.style & 0x3;
    label->setAlignment((align == SS_CENTER ? Qt::AlignHCenter : align == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setWordWrap(align == SS_LEFT);
    return label;
}
