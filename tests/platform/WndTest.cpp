// Windows: creation, broadcasts, posted messages, the exception guard, moves, the backing
// image, the keyboard focus and destruction.

#include "DC.h"
#include "FrameWnd.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "View.h"
#include "WinApp.h"
#include "Wnd.h"

#include <QApplication>
#include <QTest>
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
    void OnSize(UINT, int cx, int cy) override
    {
        ++m_nSizes;
        m_lastSize = CSize(cx, cy);
    }
    void OnKeyDown(UINT nChar, UINT, UINT) override { m_keys.push_back(nChar); }
    void OnLButtonDown(UINT, CPoint) override { ++m_nClicks; }
    void OnPaint() override
    {
        CPaintDC dc(this);
        ++m_nPaints;
        dc.FillSolidRect(0, 0, 10, 10, m_crPaint);
    }

    std::string m_name;
    std::vector<std::string>* m_pLog;
    std::function<void()> m_onTest;
    int m_nSizes = 0;
    CSize m_lastSize;
    int m_nPaints = 0;
    int m_nClicks = 0;
    COLORREF m_crPaint = RGB(255, 0, 0);
    std::vector<UINT> m_keys;
};

// The frame's view, which takes the keys it is given.
class CKeyView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnKeyDown(UINT nChar, UINT, UINT) override { m_keys.push_back(nChar); }
    std::vector<UINT> m_keys;
};

bool CreateChild(CWnd& wnd, CWnd& parent, UINT nID)
{
    return wnd.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &parent, nID);
}
} // namespace

TEST(WndTest, CreationFailsWhenOnCreateFailsOrThrows)
{
    struct CCreateWnd : CWnd
    {
        int m_nKind = 0;
        int OnCreate(LPCREATESTRUCT) override
        {
            if (m_nKind == 2)
                throw std::runtime_error("no resources");
            return m_nKind == 1 ? -1 : 0;
        }
    };
    const struct
    {
        int kind;
        bool created;
    } cases[] = {{0, true}, {1, false}, {2, false}};
    for (const auto& c : cases) {
        ClearLog();
        CCreateWnd wnd;
        wnd.m_nKind = c.kind;
        EXPECT_EQ(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1), c.created) << c.kind;
        EXPECT_EQ(wnd.GetSafeHwnd() != nullptr, c.created) << c.kind;
        EXPECT_EQ(ReadLog().find("no resources") != std::string::npos, c.kind == 2) << c.kind;
    }
}

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

TEST(WndTest, MoveWindowTellsTheSizeAtOnceAlsoToAHiddenWindow)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), child("child", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(child.Create(L"", WS_CHILD, CRect(0, 0, 40, 30), &root, 2));
    for (CRecordingWnd* pWnd : {&root, &child}) {
        ASSERT_FALSE(pWnd->IsWindowVisible());
        const int sizes = pWnd->m_nSizes;
        pWnd->MoveWindow(3, 4, 70, 50);
        EXPECT_EQ(pWnd->m_nSizes, sizes + 1) << pWnd->m_name;
        EXPECT_EQ(pWnd->m_lastSize, CSize(70, 50)) << pWnd->m_name;
        EXPECT_EQ(pWnd->GetBackingImage()->size(), QSize(70, 50)) << pWnd->m_name;
    }
    // Showing it later does not tell the same size again.
    root.ShowWindow(SW_SHOW);
    child.ShowWindow(SW_SHOW);
    ProcessEvents();
    EXPECT_EQ(child.m_nSizes, 1);
    EXPECT_EQ(root.m_nSizes, 1);
}

TEST(WndTest, UpdateWindowPaintsTheWindowAndItsChildrenAtOnce)
{
    // A frame paints nothing itself; the windows inside it do.
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(0));
    std::vector<std::string> log;
    CRecordingWnd child("child", &log), grandchild("grandchild", &log), hidden("hidden", &log);
    ASSERT_TRUE(child.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 40), pFrame, 2));
    ASSERT_TRUE(CreateChild(grandchild, child, 3));
    ASSERT_TRUE(hidden.Create(L"", WS_CHILD, CRect(0, 0, 40, 30), &child, 4));
    pFrame->ShowWindow(SW_SHOW);
    ProcessEvents();
    for (CRecordingWnd* pWnd : {&child, &grandchild, &hidden}) {
        pWnd->Invalidate();
        pWnd->m_nPaints = 0;
    }
    pFrame->UpdateWindow();
    EXPECT_EQ(child.m_nPaints, 1);
    EXPECT_EQ(grandchild.m_nPaints, 1);
    EXPECT_EQ(hidden.m_nPaints, 0);
    EXPECT_EQ(grandchild.GetBackingImage()->pixel(5, 5), qRgb(255, 0, 0));
    // Nothing is invalid any more: no second paint.
    pFrame->UpdateWindow();
    ProcessEvents();
    EXPECT_EQ(child.m_nPaints, 1);
    grandchild.DestroyWindow();
    hidden.DestroyWindow();
    child.DestroyWindow();
    pFrame->DestroyWindow();
}

// Counts the paint events Qt sends to a widget.
class CPaintEventCounter : public QObject
{
public:
    explicit CPaintEventCounter(QWidget* pWidget) { pWidget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        m_nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
    int m_nPaints = 0;
};

TEST(WndTest, UpdateWindowShowsWhatIsInvalidAndLeavesTheRestOfTheScreen)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), changed("changed", &log), unchanged("unchanged", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(changed, root, 2) && CreateChild(unchanged, root, 3));
    unchanged.MoveWindow(100, 0, 40, 30);
    ProcessEvents();
    root.UpdateWindow();
    CPaintEventCounter rootPaints(root.GetWidget()), changedPaints(changed.GetWidget()),
        unchangedPaints(unchanged.GetWidget());
    changed.m_crPaint = RGB(0, 255, 0);
    changed.m_nPaints = 0;
    changed.Invalidate();
    root.UpdateWindow();
    // Before the event loop runs again.
    EXPECT_EQ(changed.m_nPaints, 1);
    EXPECT_GE(changedPaints.m_nPaints, 1);
    EXPECT_EQ(unchangedPaints.m_nPaints, 0);
    EXPECT_EQ(rootPaints.m_nPaints, 0);
    // Nothing is invalid: nothing is shown again.
    changed.UpdateWindow();
    ProcessEvents();
    EXPECT_EQ(changedPaints.m_nPaints, 1);
    EXPECT_EQ(root.GetWidget()->grab().toImage().pixel(5, 5), qRgb(0, 255, 0));
}

TEST(WndTest, KeysGoToTheActiveViewAndToAClickedChild)
{
    CKeyView* pView = nullptr;
    CCreateContext context;
    context.m_newView = [&pView] { return pView = new CKeyView; };
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(0, WS_OVERLAPPEDWINDOW, nullptr, &context));
    pFrame->GetWidget()->resize(300, 200);
    std::vector<std::string> log;
    CRecordingWnd child("child", &log);
    ASSERT_TRUE(child.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 50), pView, 2));
    pFrame->ActivateFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pFrame->GetWidget()));
    EXPECT_EQ(CWnd::GetFocus(), pView);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(pView->m_keys, std::vector<UINT>{VK_LEFT});

    QTest::mouseClick(child.GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(CWnd::GetFocus(), &child);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(child.m_keys, std::vector<UINT>{VK_DOWN});
    EXPECT_EQ(pView->m_keys.size(), 1u);

    // Activated again, the frame leaves the focus where it is inside it.
    pFrame->ActivateFrame();
    EXPECT_EQ(CWnd::GetFocus(), &child);
    child.DestroyWindow();
    pFrame->DestroyWindow();
}

TEST(WndTest, AWindowObjectDestroyedWithItsWindowCallsNoHandler)
{
    std::vector<std::string> log;
    // Forgets DestroyWindow in its destructor; its handlers would run on a half-gone object.
    class CForgetfulWnd : public CWnd
    {
    public:
        explicit CForgetfulWnd(std::vector<std::string>* pLog) : m_pLog(pLog)
        {
            MapMessage(WM_DESTROY, [pLog](WPARAM, LPARAM) {
                pLog->push_back("mapped WM_DESTROY");
                return LRESULT(0);
            });
            MapMessage(WM_TEST, [pLog](WPARAM, LPARAM) {
                pLog->push_back("mapped WM_TEST");
                return LRESULT(0);
            });
        }
        ~CForgetfulWnd() override { m_pLog->push_back("~derived"); }

    private:
        std::vector<std::string>* m_pLog;
    };
    // A child that still lives tells its parent when it goes.
    class CChildWnd : public CWnd
    {
    public:
        explicit CChildWnd(std::vector<std::string>* pLog) : m_pLog(pLog) {}
        void OnDestroy() override
        {
            m_pLog->push_back("child OnDestroy");
            GetParent()->SendMessage(WM_TEST);
        }

    private:
        std::vector<std::string>* m_pLog;
    };
    auto pParent = std::make_unique<CForgetfulWnd>(&log);
    CChildWnd child(&log);
    ASSERT_TRUE(pParent->Create(L"p", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 80, 60), nullptr, 1));
    ASSERT_TRUE(CreateChild(child, *pParent, 2));
    const HWND hParent = pParent->GetSafeHwnd();
    pParent.reset();
    ProcessEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"~derived", "child OnDestroy"}));
    EXPECT_EQ(CWnd::FromHandle(hParent), nullptr);
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

TEST(WndTest, RedrawWindowInvalidatesErasesAndReachesTheChildrenAsAsked)
{
    const struct
    {
        UINT flags;
        bool rootPainted, childrenPainted, erased;
    } cases[] = {
        {RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN, true, true, true},
        {RDW_INVALIDATE | RDW_ALLCHILDREN, true, true, false},
        {RDW_INVALIDATE | RDW_ERASE, true, false, true},
        {RDW_ERASE | RDW_ALLCHILDREN, false, false, false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        CRecordingWnd root("root", &log), child("child", &log), grandchild("grandchild", &log);
        ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
        ASSERT_TRUE(CreateChild(child, root, 2) && CreateChild(grandchild, child, 3));
        ProcessEvents();
        root.UpdateWindow();
        std::vector<CRecordingWnd*> windows{&root, &child, &grandchild};
        for (CRecordingWnd* pWnd : windows) {
            CClientDC dc(pWnd);
            dc.FillSolidRect(20, 20, 5, 5, RGB(0, 0, 255));
            pWnd->m_nPaints = 0;
        }
        EXPECT_TRUE(root.RedrawWindow(nullptr, c.flags));
        root.UpdateWindow();
        for (CRecordingWnd* pWnd : windows) {
            const bool painted = pWnd == &root ? c.rootPainted : c.childrenPainted;
            EXPECT_EQ(pWnd->m_nPaints, painted ? 1 : 0) << c.flags << ' ' << pWnd->m_name;
            const QRgb expected = painted && c.erased ? qRgb(0xF0, 0xF0, 0xF0) : qRgb(0, 0, 255);
            EXPECT_EQ(pWnd->GetBackingImage()->pixel(22, 22), expected) << c.flags << ' ' << pWnd->m_name;
        }
    }
}

TEST(WndTest, RedrawWindowUpdateNowPaintsBeforeItReturns)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), child("child", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(child, root, 2));
    ProcessEvents();
    root.m_nPaints = child.m_nPaints = 0;
    root.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(root.m_nPaints, 1);
    EXPECT_EQ(child.m_nPaints, 1);
    EXPECT_FALSE(CWnd().RedrawWindow());
}

TEST(WndTest, MoveWithoutRepaintShowsTheLastPictureAtTheNewPlace)
{
    const struct
    {
        bool repaint;
        int width;
        int paints;
    } cases[] = {{false, 40, 0}, {true, 40, 1}, {false, 50, 1}};
    for (const auto& c : cases) {
        std::vector<std::string> log;
        CRecordingWnd root("root", &log), child("child", &log);
        ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
        ASSERT_TRUE(CreateChild(child, root, 2));
        ProcessEvents();
        root.UpdateWindow();
        root.m_nPaints = child.m_nPaints = 0;
        child.MoveWindow(70, 20, c.width, 30, c.repaint);
        ProcessEvents();
        root.UpdateWindow();
        EXPECT_EQ(child.m_nPaints, c.paints) << c.repaint << ' ' << c.width;
        EXPECT_EQ(root.m_nPaints, 0) << c.repaint << ' ' << c.width;
        EXPECT_EQ(root.GetWidget()->grab().toImage().pixel(75, 25), qRgb(255, 0, 0)) << c.repaint << ' ' << c.width;
    }
}

TEST(WndTest, APrintOnlyWindowNeverShowsAndLetsTheMouseThrough)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), child("child", &log), grandchild("grandchild", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(child.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 10, 120, 90), &root, 2));
    ASSERT_TRUE(CreateChild(grandchild, child, 3));
    child.m_crPaint = RGB(0, 255, 0);
    grandchild.m_crPaint = RGB(0, 0, 255);
    child.SetPrintOnly();
    ProcessEvents();
    child.m_nPaints = grandchild.m_nPaints = 0;
    child.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ProcessEvents();
    const QImage shown = root.GetWidget()->grab().toImage();
    EXPECT_EQ(child.m_nPaints, 0);
    EXPECT_EQ(grandchild.m_nPaints, 0);
    // The parent's erased background where the child and the grandchild lie, never black.
    for (const QPoint p : {QPoint(22, 12), QPoint(25, 15), QPoint(100, 80)})
        EXPECT_EQ(shown.pixel(p), qRgb(0xF0, 0xF0, 0xF0)) << p.x() << ',' << p.y();
    EXPECT_EQ(shown.pixel(5, 5), qRgb(255, 0, 0));

    // Through the window system, which finds the widget under the point.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(root.GetWidget()));
    QTest::mouseClick(root.GetWidget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(25, 15));
    EXPECT_EQ(root.m_nClicks, 1);
    EXPECT_EQ(child.m_nClicks, 0);
    EXPECT_EQ(grandchild.m_nClicks, 0);
}

TEST(WndTest, SetWindowPosPlacesTheWindowInTheZOrderOfItsSiblings)
{
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), a("a", &log), b("b", &log), c("c", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(CreateChild(a, root, 2) && CreateChild(b, root, 3) && CreateChild(c, root, 4));
    // The siblings from the bottom to the top, as Qt stacks them.
    auto order = [&root] {
        std::string names;
        for (QObject* object : root.GetWidget()->children())
            if (auto* pWnd = dynamic_cast<CRecordingWnd*>(CWnd::FromWidget(qobject_cast<QWidget*>(object))))
                if (pWnd != &root)
                    names += pWnd->m_name;
        return names;
    };
    EXPECT_EQ(order(), "abc");

    const struct
    {
        CWnd* moved;
        const CWnd* insertAfter;
        UINT flags;
        const char* expected;
    } cases[] = {
        {&a, &CWnd::wndTop, 0, "bca"},
        {&a, &CWnd::wndBottom, SWP_NOZORDER, "bca"},
        {&a, &CWnd::wndBottom, 0, "abc"},
        {&c, &b, 0, "acb"}, // just below b
        {&b, &a, 0, "bac"},
        {&c, &c, 0, "bac"}, // below itself: stays
        {&b, &CWnd::wndTop, SWP_NOMOVE | SWP_NOSIZE, "acb"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.moved->SetWindowPos(c.insertAfter, 0, 0, 40, 30, c.flags));
        EXPECT_EQ(order(), c.expected) << static_cast<CRecordingWnd*>(c.moved)->m_name;
    }
    // The window on top is the one found where all three lie.
    EXPECT_EQ(CWnd::FromWidget(root.GetWidget()->childAt(10, 10)), &b);
}

TEST(WndTest, SetWindowPosKeepsWhatItsFlagsKeepAndShowsOrHides)
{
    const struct
    {
        UINT flags;
        CRect expected;
        bool visible;
    } cases[] = {
        {0, CRect(5, 6, 55, 66), true},
        {SWP_NOMOVE, CRect(20, 10, 70, 70), true},
        {SWP_NOSIZE, CRect(5, 6, 45, 36), true},
        {SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW, CRect(20, 10, 60, 40), false},
        {SWP_NOZORDER | SWP_HIDEWINDOW, CRect(5, 6, 55, 66), false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        CRecordingWnd root("root", &log), child("child", &log);
        ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
        ASSERT_TRUE(child.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 10, 60, 40), &root, 2));
        EXPECT_TRUE(child.SetWindowPos(&CWnd::wndTop, 5, 6, 50, 60, c.flags));
        CRect rect;
        child.GetWindowRect(&rect);
        CPoint topLeft = rect.TopLeft();
        root.ScreenToClient(&topLeft);
        EXPECT_EQ(CRect(topLeft.x, topLeft.y, topLeft.x + rect.Width(), topLeft.y + rect.Height()), c.expected)
            << c.flags;
        EXPECT_EQ(child.IsWindowVisible(), c.visible) << c.flags;
        if (c.flags & SWP_NOSIZE) {
            EXPECT_EQ(child.m_nSizes, 1) << c.flags; // only the one of its creation
        }
    }

    // A hidden page placed and shown in one call.
    std::vector<std::string> log;
    CRecordingWnd root("root", &log), page("page", &log);
    ASSERT_TRUE(root.Create(L"root", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    ASSERT_TRUE(page.Create(L"", WS_CHILD, CRect(0, 0, 10, 10), &root, 2));
    EXPECT_FALSE(page.IsWindowVisible());
    EXPECT_TRUE(page.SetWindowPos(&CWnd::wndTop, 4, 4, 80, 50, SWP_SHOWWINDOW));
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(page.m_lastSize, CSize(80, 50));

    CWnd never;
    EXPECT_FALSE(never.SetWindowPos(&CWnd::wndTop, 0, 0, 1, 1, 0));
}

TEST(WndTest, MessageBoxOfAWindowHasItsOwnCaptionOrTheApplicationsName)
{
    CWinApp app(L"Quarvel");
    CScriptedMessageBoxes boxes;
    boxes.m_answers = {IDYES};
    std::vector<std::string> log;
    CRecordingWnd wnd("wnd", &log);
    ASSERT_TRUE(wnd.Create(L"w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 1));
    EXPECT_EQ(wnd.MessageBox(L"F/N exist.", L"Warning", MB_YESNO | MB_ICONEXCLAMATION), IDYES);
    EXPECT_EQ(wnd.MessageBox(L"Done."), IDOK);
    ASSERT_EQ(boxes.m_texts.size(), 2u);
    EXPECT_EQ(boxes.m_captions[0], L"Warning");
    EXPECT_EQ(boxes.m_types[0], UINT(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.m_owners[0], &wnd);
    EXPECT_EQ(boxes.m_captions[1], L"Quarvel");
    EXPECT_EQ(boxes.m_types[1], UINT(MB_OK));
}
