#include "Cursors.h"

#include "Wnd.h"

#include <QCursor>
#include <QWidget>

namespace {
Qt::CursorShape ShapeOf(int nCursorId)
{
    static const Qt::CursorShape kShapes[] = {
        Qt::SizeAllCursor,   // IDC_MOVE
        Qt::SizeVerCursor,   // IDC_SIZE4
        Qt::SizeHorCursor,   // IDC_SIZE3
        Qt::SizeFDiagCursor, // IDC_SIZE2
        Qt::SizeBDiagCursor, // IDC_SIZE1
        Qt::CrossCursor,     // IDC_CROSS
    };
    if (nCursorId < 0 || nCursorId >= int(std::size(kShapes)))
        return Qt::ArrowCursor;
    return kShapes[nCursorId];
}
} // namespace

void SetWindowCursor(CWnd* pWnd, int nCursorId)
{
    QWidget* widget = pWnd ? pWnd->GetWidget() : nullptr;
    if (!widget)
        return;
    const Qt::CursorShape shape = ShapeOf(nCursorId);
    if (shape == Qt::ArrowCursor)
        widget->unsetCursor();
    else if (!widget->testAttribute(Qt::WA_SetCursor) || widget->cursor().shape() != shape)
        widget->setCursor(shape);
}
