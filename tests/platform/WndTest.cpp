// Windows: broadcasts, posted messages, the exception guard, moves and the backing image.

#include "DC.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "Wnd.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr UINT WM_TEST = WM_APP + 50;

// Records the test message and what else it is told to do on it.
class CRecordingWnd : public CWnd
{
public:
    CRecordingWnd(std::string name, std::vector<std::string>* pLog) : m_name(std::move(name)), m_pLog(pLog)
    {
        MapMessage(WM_TEST, [this](WPARAM wParam, LPARAM) {
            m_pLog->push_back(m_name);
            if (m_onTest)
                m_onTest();
            if (wParam == 1)
                throw std::runtime_error("handler failed");
            return LRESULT(0);
        });
    }
    void OnSize(UINT, int, int) override { ++m_nSizes; }
    void OnPaint() override
    {
        CPaintDC dc(this);
        ++m_nPaints;
        dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    }

    std::string m_name;
    std::vector<std::string>* m_pLog;
    std::function<void()> m_onTest;
    int m_nSizes = 0;
    int m_nPaints = 0;
};

bool CreateChild(CWnd& wnd, CWnd& parent, UINT nID)
{
    return wnd.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &parent, nID);
}
} // namespace

TEST(WndTest, BroadcastReachesEveryDescendantInOrderButNotSenderOrOwnedWindows)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), a("a", &log), a1("a1", &log), a2("a2", &log), b("b", &log), b1("b1", &log);
    CRecordingWnd tool("tool", &log), toolChild("toolChild", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(a, root, 2) && CreateChild(a1, a, 3) && CreateChild(a2, a, 4));
    ASSERT_TRUE(CreateChild(b, root, 5) && CreateChild(b1, b, 6));
    ASSERT_TRUE(tool.Create(L"tool", WS_POPUP | WS_CAPTION, CRect(0, 0, 50, 50), &root, 7));
    ASSERT_TRUE(CreateChild(toolChild, tool, 8));
    // Qt keeps the tool window as a child object of its owner; it is still no descendant.
    EXPECT_EQ(tool.GetWidget()->parentWidget(), root.GetWidget());
    EXPECT_EQ(tool.GetParent(), &root);

    root.SendMessageToDescendants(WM_TEST, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a1", "a2", "b", "b1"}));

    log.clear();
    a.SendMessageToDescendants(WM_TEST, 0, 0, false);
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "a2"}));
}

TEST(WndTest, BroadcastSurvivesAWindowDestroyedOnTheWay)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), a("a", &log), b("b", &log), b1("b1", &log), c("c", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(a, root, 2) && CreateChild(b, root, 3) && CreateChild(b1, b, 4) && CreateChild(c, root, 5));
    a.m_onTest = [&b] { b.DestroyWindow(); };
    root.SendMessageToDescendants(WM_TEST, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(root.GetChildren().size(), 2u);
}

TEST(WndTest, PostedMessageArrivesLaterAndNeverAtADestroyedWindow)
{
    std::vector<std::string> log;
    CRecordingWnd wnd("wnd", &log);
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1));
    ASSERT_TRUE(wnd.PostMessage(WM_TEST));
    EXPECT_TRUE(log.empty());
    ProcessEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"wnd"}));

    log.clear();
    ASSERT_TRUE(wnd.PostMessage(WM_TEST));
    const HWND hOld = wnd.GetSafeHwnd();
    wnd.DestroyWindow();
    // A new window in the same object has a new handle: the old post is not for it.
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1));
    EXPECT_NE(wnd.GetSafeHwnd(), hOld);
    ProcessEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(CWnd::FromHandle(hOld), nullptr);
    EXPECT_FALSE(CWnd().PostMessage(WM_TEST));
}

TEST(WndTest, ExceptionInAHandlerIsLoggedAndTheWindowGoesOn)
{
    std::vector<std::string> log;
    CRecordingWnd wnd("wnd", &log);
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1));
    ClearLog();
    ASSERT_TRUE(wnd.PostMessage(WM_TEST, 1));
    ASSERT_TRUE(wnd.PostMessage(WM_TEST, 0));
    ProcessEvents();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_NE(ReadLog().find("ended by an exception: handler failed"), std::string::npos);
}

TEST(WndTest, MoveToTheSameGeometryDoesNothing)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), child("child", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(child, root, 2));
    child.MoveWindow(5, 6, 40, 30);
    const int sizes = child.m_nSizes;
    child.MoveWindow(5, 6, 40, 30);
    EXPECT_EQ(child.m_nSizes, sizes);
    child.MoveWindow(5, 6, 41, 30);
    EXPECT_EQ(child.m_nSizes, sizes + 1);
    EXPECT_EQ(child.GetDlgCtrlID(), 2);
    EXPECT_EQ(root.GetDlgItem(2), &child);
}

TEST(WndTest, PaintErasesAndPaintsIntoTheBackingImageAndClientDrawingNeedsNoPaint)
{
    std::vector<std::string> log;
    CRecordingWnd wnd("wnd", &log);
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 60, 40), nullptr, 1));
    ProcessEvents();
    wnd.Invalidate();
    wnd.UpdateWindow();
    ASSERT_GE(wnd.m_nPaints, 1);
    const QImage shown = wnd.GetWidget()->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(30, 30), qRgb(0xF0, 0xF0, 0xF0)); // erased with the button face

    const int paints = wnd.m_nPaints;
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(20, 20, 5, 5, RGB(0, 0, 255));
    }
    ProcessEvents();
    EXPECT_EQ(wnd.m_nPaints, paints);
    EXPECT_EQ(wnd.GetWidget()->grab().toImage().pixel(22, 22), qRgb(0, 0, 255));
}
