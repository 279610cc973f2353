// The cross-hair on its own: lines restored from the owner's image, the owner deciding what a
// move tells the parent.

#include "CrossHair.h"

#include "GuiTestSupport.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

namespace {
constexpr int kWidth = 60;
constexpr int kHeight = 40;
constexpr COLORREF kPaper = RGB(10, 200, 30);

// A view whose picture is one plain colour; it tells the parent only while it may.
class COwnerWnd : public CWnd, public ICrossHairOwner
{
public:
    bool Create(CWnd* pParent)
    {
        if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), pParent, 77))
            return false;
        m_image.Create(kWidth, kHeight);
        CBrush paper(kPaper);
        const CRect all(0, 0, kWidth, kHeight);
        m_image.FillRect(&all, &paper);
        CClientDC dc(this);
        dc.BitBlt(0, 0, kWidth, kHeight, &m_image, 0, 0, SRCCOPY);
        return true;
    }
    const Tovrik::CMemDC& GetComposedImage() override { return m_image; }
    bool TakeCursorPoint(CPoint point, bool bSet) override
    {
        m_taken.push_back({point, bSet});
        return m_bTells;
    }

    struct CTaken
    {
        CPoint point;
        bool bSet;
    };
    std::vector<CTaken> m_taken;
    bool m_bTells = true;
    Tovrik::CMemDC m_image;
};

class CrossHairTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateShown(kWidth, kHeight));
        ASSERT_TRUE(m_owner.Create(&m_parent));
        m_crossHair.Create(&m_owner, &m_owner, kWidth, kHeight, RGB(255, 0, 0), RGB(0, 0, 255));
    }
    // The pixel as the window shows it, 0x00BBGGRR.
    COLORREF Shown(int x, int y)
    {
        const QRgb pixel = m_owner.GetBackingImage()->pixel(x, y);
        return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
    }

    CRecordingWnd m_parent;
    COwnerWnd m_owner;
    CCrossHair m_crossHair;
};
} // namespace

TEST_F(CrossHairTest, MovingRestoresTheStripsUnderTheOldLines)
{
    EXPECT_EQ(m_crossHair.GetPosition(), CPoint(kWidth / 2, kHeight / 2));
    m_crossHair.MoveTo(CPoint(10, 10));
    m_crossHair.MoveTo(CPoint(40, 30));
    // The old lines are gone, the new ones drawn dashed in their colours.
    for (int x = 0; x < kWidth; ++x) {
        if (x != 40) {
            EXPECT_EQ(Shown(x, 10), kPaper) << x;
        }
    }
    for (int y = 0; y < kHeight; ++y) {
        if (y != 30) {
            EXPECT_EQ(Shown(10, y), kPaper) << y;
        }
    }
    int red = 0, blue = 0;
    for (int x = 0; x < kWidth; ++x)
        red += Shown(x, 30) == RGB(255, 0, 0);
    for (int y = 0; y < kHeight; ++y)
        blue += Shown(40, y) == RGB(0, 0, 255);
    EXPECT_GT(red, kWidth / 3);
    EXPECT_GT(blue, kHeight / 3);

    // Hidden lines only move.
    m_crossHair.SetHidden(true);
    m_crossHair.MoveTo(CPoint(5, 5));
    EXPECT_EQ(m_crossHair.GetPosition(), CPoint(5, 5));
    EXPECT_EQ(Shown(5, 20), kPaper);
}

TEST_F(CrossHairTest, TheOwnerDecidesWhetherTheParentHearsOfAMove)
{
    m_crossHair.OnLButtonDown(CPoint(12, 8));
    ASSERT_EQ(m_owner.m_taken.size(), 1u);
    EXPECT_EQ(m_owner.m_taken[0].point, CPoint(12, 8));
    EXPECT_TRUE(m_owner.m_taken[0].bSet);
    auto sent = m_parent.Take(WM_CURSOR_MOVED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wParam, WPARAM(77));
    EXPECT_EQ(sent[0].lParam, MakeCursorParam(77, true));
    // A drag leaving the window keeps the cross-hair on it.
    ASSERT_TRUE(m_crossHair.TrackMouse(CPoint(100, -5)));
    m_crossHair.OnMouseMove(MK_LBUTTON, CPoint(100, -5));
    EXPECT_EQ(m_crossHair.GetPosition(), CPoint(kWidth - 1, 0));
    m_crossHair.OnLButtonUp();
    m_parent.Take(WM_CURSOR_MOVED);

    // Hovering hands the mouse point over; an owner with nothing to tell keeps the parent out.
    m_owner.m_bTells = false;
    ASSERT_TRUE(m_crossHair.TrackMouse(CPoint(3, 4)));
    EXPECT_FALSE(m_crossHair.TrackMouse(CPoint(3, 4)));
    m_crossHair.OnMouseMove(0, CPoint(3, 4));
    EXPECT_EQ(m_owner.m_taken.back().point, CPoint(3, 4));
    EXPECT_FALSE(m_owner.m_taken.back().bSet);
    EXPECT_TRUE(m_parent.Take(WM_CURSOR_MOVED).empty());
}
