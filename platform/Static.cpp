#include "Static.h"

#include "QtConvert.h"

#include <QLabel>

QWidget* CStatic::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* label = new QLabel(ToQString(cs.lpszName), pParentWidget);
    const DWORD type = cs.style & SS_TYPEMASK;
    label->setAlignment((type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setWordWrap(type == SS_LEFT);
    return label;
}
