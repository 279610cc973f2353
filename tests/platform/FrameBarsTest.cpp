// The frame's toolbar and status bar: buttons, images, tool tips and prompts from the
// resources, panes sized by their strings, the idle update pass that keeps both in step with
// the update handlers, and View > Toolbar / Status Bar.

#include "FrameWnd.h"
#include "GuiTestSupport.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "WinApp.h"

#include "TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {
constexpr UINT IDR_TEST = 600;
constexpr UINT ID_CMD_PLAIN = 601;   // enabled by its update handler's flag
constexpr UINT ID_CMD_CHECK = 602;   // checked by its update handler
constexpr UINT ID_CMD_ORPHAN = 603;  // no handler at all
constexpr UINT IDI_OTHER = 610;
constexpr UINT ID_PANE_WIDE = 620;
constexpr UINT ID_PANE_STRETCH = 621;
constexpr UINT ID_PANE_HANDLED = 622;
constexpr UINT ID_PANE_MISSING = 623; // no string

// A strip of three tiles of one colour each and a single tile of another.
const std::string& ImagePath(const char* name, std::vector<QRgb> colours)
{
    static CTempDir s_dir;
    static std::map<std::string, std::string> s_paths;
    std::string& path = s_paths[name];
    if (path.empty()) {
        QImage strip(int(colours.size()) * 16, 15, QImage::Format_ARGB32);
        for (size_t i = 0; i < colours.size(); ++i)
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 16; ++x)
                    strip.setPixel(int(i) * 16 + x, y, colours[i]);
        path = s_dir.File(name);
        strip.save(QString::fromStdString(path), "PNG");
    }
    return path;
}

const CResourceSet& TestResources()
{
    static const std::string strip = ImagePath("strip.png", {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
    static const std::string other = ImagePath("other.png", {0xFF808080});
    static const CResourceSet s_set{
        {{IDR_TEST, {{CMenuItem::ITEM_POPUP, L"&View", 0,
                      {{CMenuItem::ITEM_COMMAND, L"&Toolbar", ID_VIEW_TOOLBAR, {}},
                       {CMenuItem::ITEM_COMMAND, L"&Status Bar", ID_VIEW_STATUS_BAR, {}}}}}}},
        {},
        {},
        {{ID_CMD_PLAIN, L"Run the plain command\nPlain"},
         {ID_CMD_CHECK, L"Check it"},
         {ID_VIEW_TOOLBAR, L"Show or hide the toolbar\nToggle ToolBar"},
         {ID_PANE_WIDE, L"a rather long pane text"},
         {ID_PANE_STRETCH, L" "},
         {ID_PANE_HANDLED, L"ab"}},
        {},
        {{IDI_OTHER, other.c_str()}},
        {{IDR_TEST, 16, 15, strip.c_str(), {ID_CMD_PLAIN, 0, ID_CMD_CHECK, ID_CMD_ORPHAN}}}};
    return s_set;
}

class CBarFrame : public CFrameWnd
{
public:
    CBarFrame()
    {
        MapCommand(ID_CMD_PLAIN, [this] { ++m_nPlainRuns; });
        MapUpdate(ID_CMD_PLAIN, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_bPlainEnabled); });
        MapCommand(ID_CMD_CHECK, [this] { m_bChecked = !m_bChecked; });
        MapUpdate(ID_CMD_CHECK, [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked ? 1 : 0); });
        MapUpdate(ID_PANE_HANDLED, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_bPaneOn); });
    }

    CToolBar m_toolBar;
    CStatusBar m_statusBar;
    bool m_bPlainEnabled = true;
    bool m_bChecked = false;
    bool m_bPaneOn = true;
    int m_nPlainRuns = 0;

protected:
    int OnCreate(LPCREATESTRUCT pCreate) override
    {
        static const UINT kPanes[] = {ID_PANE_WIDE, ID_PANE_STRETCH, ID_PANE_HANDLED};
        if (CFrameWnd::OnCreate(pCreate) == -1 || !m_toolBar.Create(this) || !m_toolBar.LoadToolBar(IDR_TEST) ||
            !m_statusBar.Create(this) || !m_statusBar.SetIndicators(kPanes, 3))
            return -1;
        m_toolBar.SetButtonStyle(m_toolBar.CommandToIndex(ID_CMD_CHECK), TBBS_CHECKBOX);
        m_statusBar.SetPaneInfo(1, ID_PANE_STRETCH, SBPS_STRETCH, 0);
        return 0;
    }
};

class FrameBarsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetResourceSet(&TestResources());
        m_pFrame = new CBarFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TEST, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
        m_pFrame->MoveWindow(0, 0, 600, 300);
        m_app.m_pMainWnd = m_pFrame;
        ProcessEvents();
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        AfxFlushDeletedWindows();
        AfxSetResourceSet(nullptr);
    }

    CWinApp m_app{L"bars"};
    CBarFrame* m_pFrame = nullptr;
};

QRgb Centre(const QImage& image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}
} // namespace

TEST_F(FrameBarsTest, ToolbarTakesButtonsImagesTipsAndPromptsFromItsResource)
{
    CToolBar& bar = m_pFrame->m_toolBar;
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetButtonStyle(1), UINT(TBBS_SEPARATOR));
    EXPECT_EQ(bar.CommandToIndex(ID_CMD_ORPHAN), 3);
    EXPECT_EQ(bar.CommandToIndex(0), -1);
    // Images in button order; the separator takes none.
    EXPECT_EQ(Centre(bar.GetButtonImage(0)), 0xFFFF0000u);
    EXPECT_EQ(Centre(bar.GetButtonImage(2)), 0xFF00FF00u);
    EXPECT_EQ(Centre(bar.GetButtonImage(3)), 0xFF0000FFu);
    EXPECT_EQ(bar.GetButtonToolTip(ID_CMD_PLAIN), L"Plain");
    EXPECT_EQ(bar.GetButtonStatusPrompt(ID_CMD_PLAIN), L"Run the plain command");
    EXPECT_EQ(bar.GetButtonToolTip(ID_CMD_CHECK), L"");
    EXPECT_EQ(bar.GetButtonStatusPrompt(ID_CMD_CHECK), L"Check it");
    EXPECT_EQ(bar.GetButtonStatusPrompt(ID_CMD_ORPHAN), L"");

    EXPECT_TRUE(bar.SetButtonImage(3, AfxFindIcon(IDI_OTHER)));
    EXPECT_EQ(Centre(bar.GetButtonImage(3)), 0xFF808080u);
    EXPECT_FALSE(bar.SetButtonImage(1, AfxFindIcon(IDI_OTHER)));
    EXPECT_FALSE(bar.SetButtonImage(3, nullptr));
    EXPECT_FALSE(bar.LoadToolBar(IDR_TEST + 1));
}

TEST_F(FrameBarsTest, IdlePassAfterAPostedCommandBringsTheBarsInStep)
{
    CToolBar& bar = m_pFrame->m_toolBar;
    EXPECT_TRUE(bar.IsButtonEnabled(ID_CMD_PLAIN));
    EXPECT_FALSE(bar.IsButtonEnabled(ID_CMD_ORPHAN)); // no handler takes it
    EXPECT_FALSE(bar.IsButtonChecked(ID_CMD_CHECK));

    m_pFrame->m_bPlainEnabled = false;
    m_pFrame->m_bPaneOn = false;
    m_pFrame->PostMessage(WM_COMMAND, ID_CMD_CHECK, 0);
    ProcessEvents();
    EXPECT_TRUE(m_pFrame->m_bChecked);
    EXPECT_FALSE(bar.IsButtonEnabled(ID_CMD_PLAIN));
    EXPECT_TRUE(bar.IsButtonChecked(ID_CMD_CHECK));
    // A disabled pane shows nothing and keeps its text for when it is enabled again.
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneStyle(2) & SBPS_DISABLED, UINT(SBPS_DISABLED));
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneText(2), L"ab");

    m_pFrame->m_bPaneOn = true;
    m_pFrame->m_bPlainEnabled = true;
    m_app.OnIdle(0);
    EXPECT_TRUE(bar.IsButtonEnabled(ID_CMD_PLAIN));
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneStyle(2) & SBPS_DISABLED, 0u);
}

TEST_F(FrameBarsTest, ButtonsRunTheirCommandsOnlyWhenPressedWhileEnabled)
{
    CToolBar& bar = m_pFrame->m_toolBar;
    // What the program sets runs nothing.
    bar.CheckButton(ID_CMD_CHECK, true);
    bar.EnableButton(ID_CMD_PLAIN, false);
    EXPECT_FALSE(m_pFrame->m_bChecked);
    EXPECT_TRUE(bar.IsButtonChecked(ID_CMD_CHECK));

    bar.PressButton(ID_CMD_PLAIN);
    EXPECT_EQ(m_pFrame->m_nPlainRuns, 0);
    bar.EnableButton(ID_CMD_PLAIN, true);
    // A button whose update handler says no meanwhile does nothing either.
    m_pFrame->m_bPlainEnabled = false;
    bar.PressButton(ID_CMD_PLAIN);
    EXPECT_EQ(m_pFrame->m_nPlainRuns, 0);
    m_pFrame->m_bPlainEnabled = true;
    auto* toolbar = static_cast<QToolBar*>(bar.GetWidget());
    toolbar->actions().at(0)->trigger();
    EXPECT_EQ(m_pFrame->m_nPlainRuns, 1);
}

TEST_F(FrameBarsTest, PanesAreSizedByTheirStringsAndTheStretchingOneTakesTheRest)
{
    CStatusBar& bar = m_pFrame->m_statusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetPaneText(0), L"a rather long pane text");
    EXPECT_EQ(bar.CommandToIndex(ID_PANE_HANDLED), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(bar.IsPaneShown(i)) << i;
    const int wide = bar.GetPaneWidth(0), narrow = bar.GetPaneWidth(2), stretch = bar.GetPaneWidth(1);
    EXPECT_GT(wide, 2 * narrow);
    m_pFrame->MoveWindow(0, 0, 800, 300);
    ProcessEvents();
    EXPECT_EQ(bar.GetPaneWidth(0), wide);
    EXPECT_EQ(bar.GetPaneWidth(2), narrow);
    EXPECT_EQ(bar.GetPaneWidth(1), stretch + 200);

    EXPECT_TRUE(bar.SetPaneText(0, L"x= 1"));
    EXPECT_EQ(bar.GetPaneText(0), L"x= 1");
    EXPECT_EQ(bar.GetPaneWidth(0), wide);
    EXPECT_FALSE(bar.SetPaneText(3, L"none"));
    const UINT missing[] = {ID_PANE_WIDE, ID_PANE_MISSING};
    EXPECT_FALSE(bar.SetIndicators(missing, 2));
}

TEST_F(FrameBarsTest, PromptsShowOverThePanesWhileHoveredAndThePanesComeBack)
{
    CStatusBar& bar = m_pFrame->m_statusBar;
    bar.SetPaneText(0, L"kept");
    auto* toolbar = static_cast<QToolBar*>(m_pFrame->m_toolBar.GetWidget());
    toolbar->actions().at(0)->showStatusText(toolbar);
    EXPECT_EQ(bar.GetMessageText(), L"Run the plain command");
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(toolbar, &leave);
    EXPECT_EQ(bar.GetMessageText(), L"");
    EXPECT_EQ(bar.GetPaneText(0), L"kept");

    // Menu items carry their prompts too.
    QAction* item = m_pFrame->FindMenuItem(ID_VIEW_TOOLBAR);
    ASSERT_NE(item, nullptr);
    item->showStatusText(static_cast<QMainWindow*>(m_pFrame->GetWidget())->menuBar());
    EXPECT_EQ(bar.GetMessageText(), L"Show or hide the toolbar");
}

TEST_F(FrameBarsTest, ViewMenuShowsAndHidesTheBars)
{
    for (UINT nID : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        CControlBar* pBar = m_pFrame->GetControlBar(nID);
        ASSERT_NE(pBar, nullptr) << nID;
        EXPECT_TRUE(pBar->IsVisible());
        CCmdUI state(nID);
        m_pFrame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state);
        EXPECT_EQ(state.m_nCheck, 1);
        m_pFrame->SendMessage(WM_COMMAND, nID, 0);
        EXPECT_FALSE(pBar->IsVisible());
        m_pFrame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state);
        EXPECT_EQ(state.m_nCheck, 0);
        m_pFrame->SendMessage(WM_COMMAND, nID, 0);
        EXPECT_TRUE(pBar->IsVisible());
    }
}
