// The background removal dialog on the generated project: the preview computed without
// migration and removal, the removal switch and its window slider, the profile position
// per direction, the pop-ups, OK and Cancel with what they keep and put back, the keys that
// must not close it, its layout, and the frame's command 145 with its cache road.

#include "AutoContrast.h"
#include "BackgroundRemovalDlg.h"
#include "DialogTestSupport.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include "Cfg.h"
#include "Matrix.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {
// A top-level window that records the tool windows' notices that they went.
class CToolListener : public CWnd
{
public:
    std::vector<WPARAM> m_closed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TOOL_CLOSED)
            m_closed.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class BackgroundRemovalDlgTest : public OpenProjectFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenProjectFixture::SetUp());
        Params().m_iDelMean = 10;
    }
    CProjectSettings& Settings() { return Doc()->m_project.m_settings; }
    CProcessingParams& Params() { return Settings().m_params; }
    C3DMatrix& Matrix() { return Doc()->m_matrix; }

    // The dialog open without its own message loop, a listener among its children.
    void Open(BackgroundRemovalDlg& dialog)
    {
        dialog.SetData(&Doc()->m_project, &Doc()->m_matrix);
        ASSERT_TRUE(dialog.Create(BackgroundRemovalDlg::IDD, Frame()));
        ASSERT_TRUE(m_dialogListener.Create(L"", WS_CHILD, CRect(0, 0, 4, 4), &dialog, 998));
        dialog.ShowWindow(SW_SHOW);
    }
    int ShownLine(BackgroundRemovalDlg& dialog) { return dialog.GetDataView().GetProfileView().GetSectionLine(); }

    CNoticeListener m_dialogListener;
};
} // namespace

TEST_F(BackgroundRemovalDlgTest, PreviewIsComputedWithoutMigrationAndRemoval)
{
    Params().m_bMigration = true;
    Params().m_bDelMeanOn = true;
    Params().m_iAperture = 5;
    Settings().m_fAutoGain = 0.0f;
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    // The switches are as they were; the matrix is the plain one, the slice thickness 1.
    EXPECT_TRUE(Params().m_bMigration);
    EXPECT_TRUE(Params().m_bDelMeanOn);
    EXPECT_EQ(Params().m_iAperture, 1);
    CProject plain;
    ASSERT_TRUE(plain.Open(m_project.rhdPath));
    plain.m_settings.m_params = Params();
    plain.m_settings.m_params.m_bMigration = false;
    plain.m_settings.m_params.m_bDelMeanOn = false;
    C3DMatrix expected;
    ASSERT_TRUE(expected.Init(&plain));
    ASSERT_TRUE(expected.Calculate());
    for (uint32_t t = 0; t < Matrix().m_nNX; ++t)
        for (uint32_t i = 0; i < Matrix().m_nSamples; ++i)
            ASSERT_EQ(Matrix().GetHorzTrace(1, t)[i], expected.GetHorzTrace(1, t)[i]) << t << ", " << i;

    // The migrated preview's gain is the automatic contrast of the plain matrix.
    float factor = 0.0f;
    ASSERT_TRUE(AutoContrastFactorCalc(Doc()->m_project, Matrix(), factor));
    EXPECT_GT(factor, 1.0f);
    EXPECT_EQ(dialog.GetContrastFactor(), factor);
    EXPECT_EQ(dialog.GetDataView().GetProfileView().m_fGainFactor, factor);
    EXPECT_EQ(dialog.GetDataView().GetProfileView().m_nDisplayMode, CProfileDataSideView::DISPLAY_MIGRATION);
    EXPECT_FALSE(dialog.GetDataView().GetDataView().IsCrossHairShown());
    EXPECT_FALSE(dialog.GetDataView().GetDataView().IsPainterEnabled());
}

TEST_F(BackgroundRemovalDlgTest, StoredGainOrSwitchedOffAutomaticContrast)
{
    struct
    {
        float autoGain;
        bool bAutoContrast;
        float factor;    // the dialog's, written back as the auto gain
        float viewGain;  // the preview's
    } cases[] = {
        {2.5f, true, 2.5f, 2.5f},
        {0.0f, false, 0.0f, 1.0f}, // no factor: no gain, as in the matrix
    };
    for (const auto& c : cases) {
        Settings().m_fAutoGain = c.autoGain;
        g_cfg.m_bAutoContrast = c.bAutoContrast;
        BackgroundRemovalDlg dialog(Frame());
        Open(dialog);
        EXPECT_EQ(dialog.GetContrastFactor(), c.factor);
        EXPECT_EQ(dialog.GetDataView().GetProfileView().m_fGainFactor, c.viewGain);
        Press(dialog, IDOK);
        EXPECT_EQ(Settings().m_fAutoGain, c.factor);
    }
}

TEST_F(BackgroundRemovalDlgTest, WindowSliderFollowsTheRemovalSwitch)
{
    Params().m_bDelMeanOn = false;
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    CExtSliderCtrl& slider = dialog.GetWindowSlider();
    EXPECT_FALSE(slider.IsWindowEnabled());
    EXPECT_EQ(slider.m_fValue, 10.0f);
    EXPECT_EQ(slider.m_fMin, 3.0f);
    EXPECT_EQ(slider.m_fMax, 80.0f);
    EXPECT_TRUE(slider.GetEdit().IsReadOnly());
    m_dialogListener.m_notes.clear();
    m_frameListener.m_notes.clear();

    // Switched off, its changes are ignored.
    MoveSlider(slider, 20.0f);
    EXPECT_EQ(Params().m_iDelMean, 10);
    EXPECT_TRUE(m_dialogListener.Changes().empty());

    dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_REMOVAL_ON))->Click();
    EXPECT_TRUE(Params().m_bDelMeanOn);
    EXPECT_TRUE(slider.IsWindowEnabled());
    EXPECT_EQ(m_dialogListener.Changes(), (std::vector<LPARAM>{MakeCodeParam(DATA_RECOMPUTED, 20)}));
    m_dialogListener.m_notes.clear();

    // One notice per move, to the dialog's own children only.
    MoveSlider(slider, 33.0f);
    MoveSlider(slider, 7.0f);
    EXPECT_EQ(Params().m_iDelMean, 7);
    EXPECT_EQ(m_dialogListener.Changes(),
              (std::vector<LPARAM>{MakeCodeParam(DATA_RECOMPUTED, 33), MakeCodeParam(DATA_RECOMPUTED, 7)}));
    EXPECT_TRUE(m_frameListener.Changes().empty());
    EXPECT_FALSE(dialog.GetDataView().GetProfileView().IsImageValid());

    m_dialogListener.m_notes.clear();
    dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_REMOVAL_OFF))->Click();
    EXPECT_FALSE(Params().m_bDelMeanOn);
    EXPECT_FALSE(slider.IsWindowEnabled());
    EXPECT_EQ(m_dialogListener.Changes(), (std::vector<LPARAM>{MakeCodeParam(DATA_RECOMPUTED, 0)}));
    EXPECT_TRUE(m_frameListener.Changes().empty());
}

TEST_F(BackgroundRemovalDlgTest, MigrationRadiosSwitchThePreview)
{
    Params().m_bMigration = false;
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    CProfileDataSideView& view = dialog.GetDataView().GetProfileView();
    EXPECT_EQ(view.m_nDisplayMode, CProfileDataSideView::DISPLAY_PLAIN);
    EXPECT_EQ(dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_MIGRATION_OFF))->GetCheck(), BST_CHECKED);
    dialog.UpdateWindow();
    ASSERT_TRUE(view.IsImageValid());

    dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_MIGRATION_ON))->Click();
    EXPECT_TRUE(Params().m_bMigration);
    EXPECT_EQ(view.m_nDisplayMode, CProfileDataSideView::DISPLAY_MIGRATION);
    EXPECT_FALSE(view.IsImageValid());
    dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_MIGRATION_OFF))->Click();
    EXPECT_FALSE(Params().m_bMigration);
    EXPECT_EQ(view.m_nDisplayMode, CProfileDataSideView::DISPLAY_PLAIN);
}

TEST_F(BackgroundRemovalDlgTest, PositionShowsTheNearestLineOfTheDirection)
{
    // Lines every 0.4 m; X-profiles span 51 traces of 0.04 m, Y-profiles 61.
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    CExtSliderCtrl& slider = dialog.GetPositionSlider();
    EXPECT_EQ(slider.m_nPrecision, 2);
    EXPECT_FLOAT_EQ(slider.m_fMax, 2.04f);
    EXPECT_FLOAT_EQ(slider.m_fStep, 0.4f);
    EXPECT_EQ(ShownLine(dialog), 0);
    const struct
    {
        int direction;
        float position;
        int line;
    } cases[] = {
        {IDC_BR_X_PROFILES, 0.19f, 0}, {IDC_BR_X_PROFILES, 0.21f, 1}, {IDC_BR_X_PROFILES, 0.79f, 2},
        {IDC_BR_X_PROFILES, 1.0f, 3},  {IDC_BR_X_PROFILES, 2.04f, 5}, // the last line
        {IDC_BR_Y_PROFILES, 2.44f, 6}, {IDC_BR_Y_PROFILES, 1.41f, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        dynamic_cast<CButton*>(dialog.GetDlgItem(c.direction))->Click();
        MoveSlider(slider, c.position);
        EXPECT_EQ(ShownLine(dialog), c.line);
    }
    EXPECT_FLOAT_EQ(slider.m_fMax, 2.44f);
}

TEST_F(BackgroundRemovalDlgTest, DirectionSwitchingRestoresEachDirectionsPosition)
{
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    CExtSliderCtrl& slider = dialog.GetPositionSlider();
    auto click = [&](int nID) { dynamic_cast<CButton*>(dialog.GetDlgItem(nID))->Click(); };
    MoveSlider(slider, 1.2f);
    click(IDC_BR_Y_PROFILES);
    EXPECT_EQ(dialog.GetProfileDir(), 2);
    EXPECT_EQ(dialog.GetDataView().GetDirection(), 2);
    EXPECT_EQ(slider.m_fValue, 0.0f);
    EXPECT_EQ(ShownLine(dialog), 0);
    MoveSlider(slider, 2.0f);
    click(IDC_BR_X_PROFILES);
    EXPECT_FLOAT_EQ(slider.m_fValue, 1.2f);
    EXPECT_EQ(ShownLine(dialog), 3);
    click(IDC_BR_Y_PROFILES);
    EXPECT_FLOAT_EQ(slider.m_fValue, 2.0f);
    EXPECT_EQ(ShownLine(dialog), 5);
    EXPECT_TRUE(m_frameListener.Changes().empty());
}

TEST_F(BackgroundRemovalDlgTest, PopupsChangeContrastAndTimeGainAndGoWithTheDialog)
{
    Settings().m_iContrast = 40;
    Params().m_iTimeGain = 60;
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    Press(dialog, IDC_BR_CONTRAST);
    CSliderDialog* pContrast = dialog.GetContrastDlg();
    ASSERT_NE(pContrast, nullptr);
    EXPECT_EQ(pContrast->GetWindowText(), L"Contrast:");
    EXPECT_EQ(pContrast->GetSlider()->GetRangeMax(), 100);
    EXPECT_EQ(pContrast->m_nPos, 40);
    Press(dialog, IDC_BR_CONTRAST);
    EXPECT_EQ(dialog.GetContrastDlg(), pContrast);
    Press(dialog, IDC_BR_TIME_GAIN);
    CSliderDialog* pTimeGain = dialog.GetTimeGainDlg();
    ASSERT_NE(pTimeGain, nullptr);
    EXPECT_EQ(pTimeGain->GetWindowText(), L"Time gain:");
    EXPECT_EQ(pTimeGain->GetSlider()->GetRangeMax(), 255);
    EXPECT_EQ(pTimeGain->m_nPos, 60);

    m_dialogListener.m_notes.clear();
    pContrast->m_nPos = 55;
    dialog.SendMessage(WM_VALUE_CHANGED, ID_SENDER_CONTRAST, 0);
    pTimeGain->m_nPos = 90;
    dialog.SendMessage(WM_VALUE_CHANGED, ID_SENDER_TIME_GAIN, 0);
    EXPECT_EQ(Settings().m_iContrast, 55);
    EXPECT_EQ(Params().m_iTimeGain, 90);
    EXPECT_EQ(m_dialogListener.Changes(),
              (std::vector<LPARAM>{MakeCodeParam(DATA_CONTRAST, 55), MakeCodeParam(DATA_TIME_GAIN, 90)}));
    EXPECT_TRUE(m_frameListener.Changes().empty());

    // The user closes the contrast pop-up: it goes once its notice arrives.
    pContrast->SendMessage(WM_CLOSE);
    ProcessEvents();
    EXPECT_EQ(dialog.GetContrastDlg(), nullptr);
    // Closing the dialog deletes the other at once.
    Press(dialog, IDOK);
    EXPECT_EQ(dialog.GetTimeGainDlg(), nullptr);
    ProcessEvents();
}

TEST_F(BackgroundRemovalDlgTest, AnOpenPopupIsBroughtToTheFrontByItsButton)
{
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    for (int nButton : {IDC_BR_CONTRAST, IDC_BR_TIME_GAIN}) {
        Press(dialog, nButton);
        CSliderDialog* pPopup = nButton == IDC_BR_CONTRAST ? dialog.GetContrastDlg() : dialog.GetTimeGainDlg();
        ASSERT_NE(pPopup, nullptr);
        dialog.SetActiveWindow();
        ProcessEvents();
        ASSERT_FALSE(pPopup->GetWidget()->isActiveWindow()) << nButton;
        Press(dialog, nButton);
        ProcessEvents();
        EXPECT_TRUE(pPopup->GetWidget()->isActiveWindow()) << nButton;
    }
    Press(dialog, IDCANCEL);
    ProcessEvents();
}

TEST_F(BackgroundRemovalDlgTest, CancelPutsEverythingBack)
{
    Params().m_bMigration = false;
    Params().m_bDelMeanOn = false;
    Params().m_iAperture = 4;
    Settings().m_iContrast = 40;
    Doc()->m_project.m_fCursorX = 12.0f;
    Doc()->m_project.m_fCursorY = 8.0f;
    const CProjectSettings before = Settings();
    for (int close : {int(IDCANCEL), 0 /* the close box */}) {
        SCOPED_TRACE(close);
        BackgroundRemovalDlg dialog(Frame());
        Open(dialog);
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_MIGRATION_ON))->Click();
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_BR_REMOVAL_ON))->Click();
        MoveSlider(dialog.GetWindowSlider(), 25.0f);
        Press(dialog, IDC_BR_CONTRAST);
        dialog.GetContrastDlg()->m_nPos = 70;
        dialog.SendMessage(WM_VALUE_CHANGED, ID_SENDER_CONTRAST, 0);
        Press(dialog, IDC_BR_TIME_GAIN);
        dialog.GetTimeGainDlg()->m_nPos = 99;
        dialog.SendMessage(WM_VALUE_CHANGED, ID_SENDER_TIME_GAIN, 0);
        Doc()->m_project.m_fCursorX = 30.0f;
        Doc()->m_project.m_fCursorY = 2.0f;
        if (close == IDCANCEL) {
            Press(dialog, IDCANCEL);
        } else {
            QCloseEvent event;
            QCoreApplication::sendEvent(dialog.GetWidget(), &event);
        }
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_TRUE(dialog.m_bDataChanged);
        EXPECT_TRUE(Params() == before.m_params);
        EXPECT_EQ(Params().m_iAperture, 4);
        EXPECT_EQ(Settings().m_iContrast, 40);
        EXPECT_EQ(Doc()->m_project.m_fCursorX, 12.0f);
        EXPECT_EQ(Doc()->m_project.m_fCursorY, 8.0f);
        EXPECT_EQ(Settings().m_fAutoGain, dialog.GetContrastFactor());
        EXPECT_EQ(dialog.GetContrastDlg(), nullptr);
        EXPECT_EQ(dialog.GetTimeGainDlg(), nullptr);
        Settings().m_fAutoGain = before.m_fAutoGain;
    }
}

TEST_F(BackgroundRemovalDlgTest, OkKeepsTheChangesAndSaysWhichNeedANewMatrix)
{
    const struct
    {
        const char* name;
        int nRadio;  // 0: none
        float window; // 0: not moved
        bool bChanged;
    } cases[] = {
        {"nothing", 0, 0.0f, false},
        {"migration", IDC_BR_MIGRATION_ON, 0.0f, true},
        {"removal", IDC_BR_REMOVAL_ON, 0.0f, true},
        {"window while off", 0, 30.0f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Params().m_bMigration = false;
        Params().m_bDelMeanOn = false;
        Params().m_iDelMean = 10;
        Params().m_iAperture = 4;
        BackgroundRemovalDlg dialog(Frame());
        Open(dialog);
        if (c.nRadio)
            dynamic_cast<CButton*>(dialog.GetDlgItem(c.nRadio))->Click();
        if (c.window > 0)
            MoveSlider(dialog.GetWindowSlider(), c.window);
        Press(dialog, IDOK);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(dialog.m_bDataChanged, c.bChanged);
        EXPECT_EQ(Params().m_bMigration, c.nRadio == IDC_BR_MIGRATION_ON);
        EXPECT_EQ(Params().m_bDelMeanOn, c.nRadio == IDC_BR_REMOVAL_ON);
        EXPECT_EQ(Params().m_iDelMean, 10);
        // The preview's slice thickness stays.
        EXPECT_EQ(Params().m_iAperture, 1);
    }
}

// Migrated data computed without a contrast factor: the one the preview computes and OK
// stores as the auto gain scales the matrix, which must be computed again; once stored, no more.
TEST_F(BackgroundRemovalDlgTest, ANewContrastFactorOfMigratedDataNeedsANewMatrix)
{
    Params().m_bMigration = true;
    Settings().m_fAutoGain = 0.0f;
    g_cfg.m_bAutoContrast = true;
    for (bool bChanged : {true, false}) {
        SCOPED_TRACE(bChanged);
        BackgroundRemovalDlg dialog(Frame());
        Open(dialog);
        Press(dialog, IDOK);
        EXPECT_NE(Settings().m_fAutoGain, 0.0f);
        EXPECT_EQ(dialog.m_bDataChanged, bChanged);
    }
}

// The preview's cross-hair is the project's: a wheel in it moves the depth, which the main
// views are not told of, so both OK and Cancel put it back.
TEST_F(BackgroundRemovalDlgTest, ThePreviewsDepthIsPutBackOnOkAndCancel)
{
    CProject& project = Doc()->m_project;
    const float depth = float(Settings().m_iZeroLevel + 5);
    g_cfg.m_bUseMouseWheel = true;
    for (int nButton : {int(IDOK), int(IDCANCEL)}) {
        SCOPED_TRACE(nButton);
        project.m_fCursorDepth = depth;
        Settings().m_iDepthIndex = int(depth);
        BackgroundRemovalDlg dialog(Frame());
        Open(dialog);
        dialog.GetDataView().GetProfileView().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -1200), 0);
        ASSERT_NE(project.m_fCursorDepth, depth);
        ASSERT_NE(Settings().m_iDepthIndex, int(depth));
        m_frameListener.m_notes.clear();
        Press(dialog, nButton);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(project.m_fCursorDepth, depth);
        EXPECT_EQ(Settings().m_iDepthIndex, int(depth));
        EXPECT_TRUE(m_frameListener.m_notes.empty());
    }
}

TEST_F(BackgroundRemovalDlgTest, AModelessDialogTellsItsParentThatItWent)
{
    CToolListener parent;
    ASSERT_TRUE(parent.Create(L"parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 1));
    BackgroundRemovalDlg dialog(&parent);
    dialog.SetData(&Doc()->m_project, &Doc()->m_matrix);
    ASSERT_TRUE(dialog.Create(BackgroundRemovalDlg::IDD, &parent));
    Press(dialog, IDCANCEL);
    ProcessEvents();
    EXPECT_EQ(parent.m_closed, (std::vector<WPARAM>{WPARAM(ID_SENDER_BKGR_REMOVAL)}));
}

TEST_F(BackgroundRemovalDlgTest, OkAndCancelActOnlyFromTheirFocusedButtons)
{
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    // Enter in a slider's box, Return and Escape elsewhere, and a click on OK or Cancel
    // without the focus leave it open.
    dialog.GetWindowSlider().GetEdit().SetFocus();
    PressKey(dialog.GetWindowSlider().GetEdit(), Qt::Key_Return);
    dialog.GetPositionSlider().GetEdit().SetFocus();
    PressKey(dialog.GetPositionSlider().GetEdit(), Qt::Key_Return);
    dialog.GetDataView().GetDataView().SetFocus();
    PressKey(dialog, Qt::Key_Return);
    PressKey(dialog, Qt::Key_Escape);
    dynamic_cast<CButton*>(dialog.GetDlgItem(IDOK))->Click();
    dynamic_cast<CButton*>(dialog.GetDlgItem(IDCANCEL))->Click();
    EXPECT_NE(dialog.GetSafeHwnd(), nullptr);
    // Return on the focused OK button closes it.
    dialog.GetDlgItem(IDOK)->SetFocus();
    PressKey(dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(BackgroundRemovalDlgTest, LayoutFollowsTheDialogsSize)
{
    BackgroundRemovalDlg dialog(Frame());
    Open(dialog);
    MINMAXINFO info;
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 360);
    for (const CSize size : {CSize(700, 600), CSize(900, 700)}) {
        SCOPED_TRACE(size.cx);
        dialog.GetWidget()->resize(size.cx, size.cy);
        ProcessEvents();
        CRect client, ok, cancel, view, window, position;
        dialog.GetClientRect(&client);
        const auto place = [&](CWnd* pWnd, CRect& rect) {
            pWnd->GetWindowRect(&rect);
            CPoint corner = rect.TopLeft();
            dialog.ScreenToClient(&corner);
            rect = CRect(corner, rect.Size());
        };
        place(dialog.GetDlgItem(IDOK), ok);
        place(dialog.GetDlgItem(IDCANCEL), cancel);
        place(&dialog.GetDataView(), view);
        place(&dialog.GetWindowSlider(), window);
        place(&dialog.GetPositionSlider(), position);
        // OK and Cancel at the bottom right, the profile view taking what is left above the
        // position slider, right of the column with the window slider.
        EXPECT_EQ(cancel.right, client.right - 5);
        EXPECT_EQ(cancel.bottom, client.bottom - 5);
        EXPECT_LT(ok.right, cancel.left);
        EXPECT_EQ(view.top, 5 + 30 + 5 + 5);
        EXPECT_EQ(view.right, client.right - 5);
        EXPECT_LT(view.bottom, position.top);
        EXPECT_LT(position.bottom, cancel.top);
        EXPECT_LT(window.right, view.left);
        EXPECT_GT(window.Height(), 200);
        EXPECT_EQ(position.Width(), view.Width());
    }
}

TEST_F(BackgroundRemovalDlgTest, CommandRecomputesAfterAConfirmedChangeElseReadsTheCache)
{
    m_pApp->OnIdle(0);
    EXPECT_TRUE(Frame()->GetToolBar().IsButtonEnabled(ID_TOOLBAR_BKGR));
    Params().m_bMigration = false;
    Params().m_bDelMeanOn = false;
    float& mark = Matrix().EditHorzTrace(1, 3)[20];
    const float computed = mark;
    const std::string cache = m_project.File("_1.precalc");

    struct
    {
        const char* name;
        int nRadio;
        int nButton;
        bool bRecomputed;
    } cases[] = {
        {"cancel after a change", IDC_BR_REMOVAL_ON, IDCANCEL, false},
        {"OK without a change", 0, IDOK, false},
        {"OK after a change", IDC_BR_REMOVAL_ON, IDOK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mark = 1234.0f; // what the cache will hold
        m_frameListener.m_notes.clear();
        bool bShown = false;
        CDialog::SetModalHook([&](CDialog& dialog) {
            bShown = true;
            // The preview works on the matrix computed afresh.
            EXPECT_EQ(mark, computed);
            EXPECT_TRUE(std::filesystem::exists(cache));
            if (c.nRadio)
                dynamic_cast<CButton*>(dialog.GetDlgItem(c.nRadio))->Click();
            Press(dialog, c.nButton);
        });
        Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_BKGR, 0);
        CDialog::SetModalHook(nullptr);
        ASSERT_TRUE(bShown);
        if (c.bRecomputed) {
            EXPECT_TRUE(Params().m_bDelMeanOn);
            EXPECT_NE(mark, 1234.0f);
            EXPECT_FALSE(std::filesystem::exists(cache));
            const int velocity = int(Settings().m_dVelocity);
            EXPECT_EQ(m_frameListener.Changes(), (std::vector<LPARAM>{MakeCodeParam(DATA_RECOMPUTED, 0),
                                                                      MakeCodeParam(DATA_VELOCITY, velocity)}));
        } else {
            EXPECT_FALSE(Params().m_bDelMeanOn);
            EXPECT_EQ(mark, 1234.0f);
            EXPECT_TRUE(m_frameListener.Changes().empty());
        }
    }
}
