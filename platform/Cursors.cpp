#include "Cursors.h"

#include "Wnd.h"

#include "Cfg.h"

#include <QCursor>
#include <QWidget>

namespace {
Qt::CursorShape ShapeOf(int nCursorId)
{
    if (nCursorId < 0 || nCursorId >= CURSOR_COUNT || size_t(nCursorId) >= g_cfg.m_cursors.size() ||
        !g_cfg.m_cursors[size_t(nCursorId)].m_bLoaded)
        return Qt::ArrowCursor;
    static const Qt::CursorShape kShapes[CURSOR_COUNT] = {
        Qt::SizeAllCursor,   // CURSOR_MOVE
        Qt::SizeVerCursor,   // CURSOR_SIZE4
        Qt::SizeHorCursor,   // CURSOR_SIZE3
        Qt::SizeBDiagCursor, // CURSOR_SIZE2
        Qt::SizeFDiagCursor, // CURSOR_SIZE1
        Qt::CrossCursor,     // CURSOR_CROSS
    };
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
