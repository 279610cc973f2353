// Every text of the program fits its control in the substitute fonts: the dialog templates as
// they stand, the main view's panels and the main frame.

#include "AppFixture.h"
#include "CutTexts.h"
#include "DialogTestSupport.h"
#include "DrawObjectListDlg.h"
#include "DrawToolDlg.h"
#include "MainFrame.h"
#include "QuarvelApp.h"
#include "QuarvelResources.h"
#include "QuarvelView.h"

#include "ResourceIds.h"

#include "Cfg.h"
#include "Dialog.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

using TextFitTest = DocumentFixture;
using MainWindowTextFitTest = AppFixture;
using OpenProjectTextFitTest = OpenProjectFixture;
} // namespace

TEST_F(TextFitTest, EveryDialogTemplateFitsItsTexts)
{
    for (const CDialogTemplate& dialogTemplate : GetQuarvelResources().dialogs) {
        CDialog host(IDD_ABOUTBOX);
        CDialog dialog(dialogTemplate.nID);
        const bool bPage = (dialogTemplate.style & WS_CHILD) != 0;
        if (bPage) {
            ASSERT_TRUE(host.Create(IDD_ABOUTBOX));
        }
        ASSERT_TRUE(dialog.Create(dialogTemplate.nID, bPage ? &host : nullptr)) << dialogTemplate.nID;
        EXPECT_EQ(Lines(CutTexts(dialog)), "") << "template " << dialogTemplate.nID;
        dialog.DestroyWindow();
    }
}

TEST_F(MainWindowTextFitTest, PanelsAndFrameFitTheirTexts)
{
    for (int nLayout = 0; nLayout < 2; ++nLayout) {
        g_cfg.m_nLayout = nLayout;
        const CGeneratedProject project = CreateGeneratedProject(m_dir);
        ASSERT_TRUE(Start({}));
        Frame()->MoveWindow(0, 0, 1200, 800);
        ASSERT_NE(m_pApp->OpenDocumentFile(project.rhdPath), nullptr);
        ProcessEvents();
        EXPECT_EQ(Lines(CutTexts(*Frame())), "") << "layout " << nLayout;
        TearDown();
        SetUp();
    }
}

// The dialogs as the menus and the toolbar open them on an open project, with the texts and
// places they take at run time.
TEST_F(OpenProjectTextFitTest, EveryDialogFitsItsTextsAsTheProgramOpensIt)
{
    std::string cut; // "template: what is cut", a line each
    auto check = [&cut](const CDialog& dialog) {
        for (const std::string& line : CutTexts(dialog))
            cut += std::to_string(dialog.GetTemplateID()) + ": " + line + "\n";
    };
    std::vector<UINT> shown;
    CDialog::SetModalHook([&](CDialog& dialog) {
        shown.push_back(dialog.GetTemplateID());
        check(dialog);
        dialog.EndDialog(IDCANCEL);
    });
    for (UINT nID : {UINT(ID_OPTIONS), UINT(ID_FILTER_OPTIONS), UINT(ID_ZERO_LEVEL_OPTIONS), UINT(ID_FILE_IMPORT),
                     UINT(ID_APP_ABOUT), UINT(ID_TOOLBAR_VELOCITY), UINT(ID_TOOLBAR_BKGR)})
        Frame()->SendMessage(WM_COMMAND, nID, 0);
    CDialog::SetModalHook(nullptr);
    EXPECT_EQ(shown, (std::vector<UINT>{IDD_CONFIG, IDD_FILTER_OPTIONS, IDD_ZERO_LEVEL, IDD_IMPORT, IDD_ABOUTBOX,
                                        IDD_VELOCITY_SETTINGS, IDD_BKGR_REMOVAL}));

    for (UINT nID : {UINT(ID_TOOLBAR_CONTRAST), UINT(ID_TOOLBAR_TIMEGAIN), UINT(ID_TOOLBAR_TRACEVIEW),
                     UINT(ID_TOOLBAR_DRAWTOOL)})
        Frame()->SendMessage(WM_COMMAND, nID, 0);
    ProcessEvents();
    CMainFrame* pFrame = Frame();
    ASSERT_NE(pFrame->GetDrawToolDlg(), nullptr);
    Press(*pFrame->GetDrawToolDlg(), IDC_DRAW_OBJECTS);
    const CDialog* const modeless[] = {pFrame->GetContrastDlg(), pFrame->GetTimeGainDlg(), pFrame->GetTraceViewDlg(),
                                       pFrame->GetDrawToolDlg(), pFrame->GetDrawToolDlg()->GetObjectList()};
    for (const CDialog* pDialog : modeless) {
        ASSERT_NE(pDialog, nullptr);
        check(*pDialog);
    }
    EXPECT_EQ(cut, "");
}
