// Cursors by the caller's id, whatever the engine's configuration holds.

#include "Cursors.h"
#include "Wnd.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(CursorsTest, EveryIdShowsItsShapeAndUnknownOnesTheArrow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1));
    const struct
    {
        int id;
        Qt::CursorShape shape;
    } cases[] = {
        {IDC_MOVE, Qt::SizeAllCursor},   {IDC_SIZE4, Qt::SizeVerCursor},   {IDC_SIZE3, Qt::SizeHorCursor},
        {IDC_SIZE2, Qt::SizeFDiagCursor}, {IDC_SIZE1, Qt::SizeBDiagCursor}, {IDC_CROSS, Qt::CrossCursor},
        {IDC_CLASS_CURSOR, Qt::ArrowCursor}, {6, Qt::ArrowCursor},         {-7, Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        SetWindowCursor(&wnd, IDC_CROSS == c.id ? IDC_MOVE : IDC_CROSS);
        SetWindowCursor(&wnd, c.id);
        EXPECT_EQ(wnd.GetWidget()->cursor().shape(), c.shape) << c.id;
    }
    SetWindowCursor(nullptr, IDC_CROSS);
}
