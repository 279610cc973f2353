// The drawing tool window in the program: the frame's command opens one, drawing mode follows
// it, the strip's value becomes the blend alpha, drawing events reach the object list, and
// cut, copy and paste of drawing objects work once the tool has been opened.

#include "AppFixture.h"
#include "DrawObjectListDlg.h"
#include "DrawToolDlg.h"
#include "DrawingToolSupport.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include "DrawingManager.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {
using CNotes = std::vector<CMessageRecorder::CNote>;

class DrawToolFrameTest : public AppFixture
{
protected:
    void OpenProject()
    {
        m_project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
        m_pListener = std::make_unique<CMessageRecorder>(Frame());
        m_pApp->OnIdle(0);
        m_pListener->Take();
    }
    void TearDown() override
    {
        m_pListener.reset();
        AppFixture::TearDown();
    }
    CDrawToolDlg* Tool() { return Frame()->GetDrawToolDlg(); }
    // The project open, the tool window and its object list too.
    void OpenObjectList(CDrawObjectListDlg*& pList)
    {
        ASSERT_NO_FATAL_FAILURE(OpenProject());
        Command(ID_TOOLBAR_DRAWTOOL);
        static_cast<CButton*>(Tool()->GetDlgItem(IDC_DRAW_OBJECTS))->Click();
        pList = Tool()->GetObjectList();
        ASSERT_NE(pList, nullptr);
    }
    void Command(UINT nID) { Frame()->SendMessage(WM_COMMAND, nID, 0); }
    static CMessageRecorder::CNote FrameEvent(WORD code, bool bPosted = false)
    {
        return {WM_DRAWING_EVENT, WPARAM(CMainFrame::FRAME_ID), MakeCodeParam(code, 0), bPosted};
    }

    CGeneratedProject m_project;
    std::unique_ptr<CMessageRecorder> m_pListener;
};
} // namespace

TEST_F(DrawToolFrameTest, CommandOpensOneToolWindowAndDrawingModeFollowsIt)
{
    ASSERT_TRUE(Start({}));
    Command(ID_TOOLBAR_DRAWTOOL);
    EXPECT_EQ(Tool(), nullptr); // no project
    m_pApp.reset();

    OpenProject();
    EXPECT_FALSE(g_drawingManager.IsDrawingMode());
    Command(ID_TOOLBAR_DRAWTOOL);
    CDrawToolDlg* pTool = Tool();
    ASSERT_NE(pTool, nullptr);
    EXPECT_TRUE(pTool->IsWindowVisible());
    EXPECT_TRUE(g_drawingManager.IsDrawingMode());
    Command(ID_TOOLBAR_DRAWTOOL);
    EXPECT_EQ(Tool(), pTool);
    EXPECT_EQ(m_pListener->Take(), CNotes{FrameEvent(DRAW_MODE_ON)});

    pTool->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_pListener->Take(), CNotes{FrameEvent(DRAW_MODE_OFF, true)});
    EXPECT_EQ(Tool(), nullptr);
    // Cut, copy and paste stay available.
    EXPECT_TRUE(g_drawingManager.IsDrawingMode());
    Command(ID_TOOLBAR_DRAWTOOL);
    EXPECT_NE(Tool(), nullptr);
}

TEST_F(DrawToolFrameTest, StripDragsBecomeTheBlendAlpha)
{
    OpenProject();
    Command(ID_TOOLBAR_DRAWTOOL);
    m_pListener->Take();
    const CRect strip = Tool()->GetStrip().GetRect();
    Tool()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(strip.CenterPoint().x, strip.top));
    EXPECT_EQ(g_drawingManager.GetBlendAlpha(), 100); // the value is posted
    // The frame takes the posted value and has the views redraw.
    EXPECT_EQ(m_pListener->Take(), CNotes{FrameEvent(DRAW_REDRAW_STYLE, true)});
    EXPECT_EQ(g_drawingManager.GetBlendAlpha(), 255);
}

TEST_F(DrawToolFrameTest, DrawingEventsReachTheObjectListUnlessTheFrameSentThem)
{
    CDrawObjectListDlg* pList = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenObjectList(pList));
    g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    Frame()->SendMessage(WM_DRAWING_EVENT, CMainFrame::FRAME_ID, MakeCodeParam(DRAW_ADDED, 0));
    EXPECT_EQ(pList->GetList().GetItemCount(), 0);
    Frame()->SendMessage(WM_DRAWING_EVENT, ID_SENDER_X_SECTION, MakeCodeParam(DRAW_ADDED, 0));
    EXPECT_EQ(pList->GetList().GetItemCount(), 1);

    // The list's own events go to the views through the frame.
    m_pListener->Take();
    pList->GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    static_cast<CButton*>(pList->GetDlgItem(IDC_REMOVE_SELECTED))->Click();
    EXPECT_EQ(m_pListener->Take(),
              CNotes{Sent(WM_DRAWING_EVENT, ID_SENDER_OBJECT_LIST, MakeCodeParam(DRAW_REMOVED, 0))});
}

// The rows are the open project's objects: another project's, or none once the project is
// closed, never those of the project before.
TEST_F(DrawToolFrameTest, TheObjectListFollowsTheOpenProject)
{
    CDrawObjectListDlg* pList = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenObjectList(pList));
    // Another project beside it with two objects; three drawn in this one.
    const std::filesystem::path folder = m_project.projectFolder;
    const std::filesystem::path other = m_dir.File("other");
    std::filesystem::copy(folder, other, std::filesystem::copy_options::recursive);
    const auto inOther = [&](const std::wstring& path) {
        return (other / std::filesystem::path(path).filename()).wstring();
    };
    for (int i = 0; i < 2; ++i)
        g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    ASSERT_TRUE(g_drawingManager.SaveObjectList(inOther(Doc()->m_project.GetObjectListPath())));
    g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    Frame()->SendMessage(WM_DRAWING_EVENT, ID_SENDER_X_SECTION, MakeCodeParam(DRAW_ADDED, 2));
    ASSERT_EQ(pList->GetList().GetItemCount(), 3);

    m_boxes.m_answers = {IDNO, IDNO}; // whether to save the project before
    ASSERT_NE(m_pApp->OpenDocumentFile(inOther(m_project.rhdPath)), nullptr);
    EXPECT_EQ(g_drawingManager.GetCount(), 2);
    EXPECT_EQ(pList->GetList().GetItemCount(), 2);

    m_boxes.m_answers = {IDNO, IDNO};
    EXPECT_EQ(m_pApp->OpenDocumentFile(m_project.rhdPath + L".missing"), nullptr);
    EXPECT_FALSE(Doc()->IsProjectLoaded());
    EXPECT_EQ(pList->GetList().GetItemCount(), 0);
}

TEST_F(DrawToolFrameTest, CutCopyAndPasteNeedTheToolOpenedOnceAndAnIdleManager)
{
    OpenProject();
    for (int i = 0; i < 2; ++i)
        g_drawingManager.AddObject(Tovrik::CDrawDataObject());
    g_drawingManager.SelectObject(1);
    const std::wstring moving =
        L"You are currently moving an object.\nEnd this operation before removeing any objects.";
    const std::wstring drawing =
        L"You are currently drawing a new object.\nEnd this operation before removeing any objects.";
    auto edit = [](WORD code, int argument) {
        return Sent(WM_DRAWING_EVENT, ID_SENDER_EDIT_COMMANDS, MakeCodeParam(code, argument));
    };
    const struct
    {
        const char* what;
        std::function<void()> before;
        void (CQuarvelApp::*command)();
        int count;     // objects afterwards
        int selected;  // the manager's selection afterwards
        std::wstring box;
        CNotes events;
    } steps[] = {
        {"cut before the tool", [] {}, &CQuarvelApp::OnEditCut, 2, 1, L"", {}},
        {"copy before the tool", [] {}, &CQuarvelApp::OnEditCopy, 2, 1, L"", {}},
        {"paste before the tool", [] {}, &CQuarvelApp::OnEditPaste, 2, 1, L"", {}},
        {"open the tool", [this] { Command(ID_TOOLBAR_DRAWTOOL); }, nullptr, 2, 1, L"", {FrameEvent(DRAW_MODE_ON)}},
        {"cut while moving",
         [] {
             g_drawingManager.SetTool(Tovrik::CDrawingManager::TOOL_SELECT);
             g_drawingManager.SetBusy(true);
         },
         &CQuarvelApp::OnEditCut, 2, 1, moving, {}},
        {"paste while drawing", [] { g_drawingManager.SetTool(Tovrik::CDrawingManager::TOOL_RECT); },
         &CQuarvelApp::OnEditPaste, 2, 1, drawing, {}},
        {"paste with nothing copied", [] { g_drawingManager.SetBusy(false); }, &CQuarvelApp::OnEditPaste, 2, 1,
         L"No object has been copied.", {}},
        {"copy without a selection", [] { g_drawingManager.ClearSelection(); }, &CQuarvelApp::OnEditCopy, 2, -1,
         L"No object has been selected.", {}},
        {"cut without a selection", [] {}, &CQuarvelApp::OnEditCut, 2, -1, L"No object has been copied.", {}},
        {"cut the last", [] { g_drawingManager.SelectObject(1); }, &CQuarvelApp::OnEditCut, 1, 0, L"",
         {edit(DRAW_REMOVED, 0), edit(DRAW_SELECTION, 0)}},
        {"paste", [] {}, &CQuarvelApp::OnEditPaste, 2, 1, L"", {edit(DRAW_ADDED, 1), edit(DRAW_SELECTION, 1)}},
        {"paste again", [] {}, &CQuarvelApp::OnEditPaste, 3, 2, L"", {edit(DRAW_ADDED, 2), edit(DRAW_SELECTION, 2)}},
        {"copy", [] { g_drawingManager.SelectObject(0); }, &CQuarvelApp::OnEditCopy, 3, 0, L"", {}},
        {"close the tool", [this] { Tool()->SendMessage(WM_CLOSE); }, nullptr, 3, 0, L"",
         {FrameEvent(DRAW_MODE_OFF, true)}},
        {"paste after the tool closed", [] {}, &CQuarvelApp::OnEditPaste, 4, 3, L"",
         {edit(DRAW_ADDED, 3), edit(DRAW_SELECTION, 3)}},
    };
    for (const auto& step : steps) {
        m_boxes.m_texts.clear();
        step.before();
        if (step.command)
            (m_pApp.get()->*step.command)();
        EXPECT_EQ(g_drawingManager.GetCount(), step.count) << step.what;
        EXPECT_EQ(g_drawingManager.GetSelected(), step.selected) << step.what;
        const std::vector<std::wstring> boxes = step.box.empty() ? std::vector<std::wstring>{} : std::vector{step.box};
        EXPECT_EQ(m_boxes.m_texts, boxes) << step.what;
        EXPECT_EQ(m_pListener->Take(), step.events) << step.what;
        if (Tool() && Tool()->GetObjectList()) {
            EXPECT_EQ(Tool()->GetObjectList()->GetList().GetItemCount(), step.count) << step.what;
        }
        if (std::string(step.what) == "open the tool")
            static_cast<CButton*>(Tool()->GetDlgItem(IDC_DRAW_OBJECTS))->Click();
    }
}
