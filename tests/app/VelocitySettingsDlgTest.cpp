// The velocity settings dialog run from the main frame's toolbar: the velocity range in the
// project's units, the material rows, the preview's notifications that stay inside the
// dialog, direction switching, the pop-ups, the keys that must not close it, and what OK and
// Cancel leave in the project and the matrix.

#include "DialogTestSupport.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"
#include "SliderCtrl.h"
#include "VelocitySettingsDlg.h"

#include "Cfg.h"
#include "FileIo.h"
#include "Migration.h"
#include "MessageLog.h"
#include "Units.h"
#include "Values.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

namespace {
// The user's drag of a pop-up's trackbar.
void DragPopup(CSliderDialog& popup, int pos)
{
    popup.SendMessage(WM_HSCROLL, MakeScrollParam(TB_THUMBTRACK, pos), 0);
}

void SelectMaterial(CVelocitySettingsDlg& dialog, const CMaterial* pMaterial)
{
    CComboBox* pCombo = dialog.GetMaterialCombo();
    for (int i = 0; i < pCombo->GetCount(); ++i)
        if (pCombo->GetItemDataPtr(i) == pMaterial)
            pCombo->SetCurSel(i);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_VS_MATERIAL, CBN_SELCHANGE), 0);
}

class VelocitySettingsDlgTest : public OpenProjectFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenProjectFixture::SetUp());
        m_pApp->OnIdle(0);
        // A range that holds the survey's velocity, and one that does not.
        g_cfg.m_materials.push_back({L"Sand", 70, 150});
        g_cfg.m_materials.push_back({L"Dry clay", 100, 200});
        m_pSand = &g_cfg.m_materials[g_cfg.m_materials.size() - 2];
        m_pClay = &g_cfg.m_materials.back();
        Settings().m_pMaterial = m_pSand;
    }
    CProjectSettings& Settings() { return Doc()->m_project.m_settings; }
    // The toolbar's velocity command with the dialog answered by script.
    void RunDialog(const std::function<void(CVelocitySettingsDlg&)>& script)
    {
        m_bShown = false;
        CDialog::SetModalHook([&](CDialog& dialog) {
            m_bShown = true;
            auto& velocity = dynamic_cast<CVelocitySettingsDlg&>(dialog);
            m_frameListener.m_notes.clear();
            ASSERT_TRUE(m_dialogListener.Create(L"", WS_CHILD, CRect(0, 0, 4, 4), &dialog, 998));
            script(velocity);
            m_bDataChanged = velocity.m_bDataChanged;
            m_frameChangesWhileOpen = m_frameListener.Changes().size();
        });
        Frame()->SendMessage(WM_COMMAND, ID_TOOLBAR_VELOCITY, 0);
        CDialog::SetModalHook(nullptr);
        ASSERT_TRUE(m_bShown);
    }
    float& MatrixMark() { return Doc()->m_matrix.EditVertTrace(0, 0)[0]; }

    CNoticeListener m_dialogListener;
    const CMaterial* m_pSand = nullptr;
    const CMaterial* m_pClay = nullptr;
    bool m_bShown = false;
    bool m_bDataChanged = false;
    size_t m_frameChangesWhileOpen = 0;
};
} // namespace

TEST_F(VelocitySettingsDlgTest, VelocitySliderSpansTheRangeInTheProjectsUnits)
{
    struct
    {
        TUnits units;
        float fMin;
        float fMax;
        std::wstring velocityUnit;
        std::wstring depthUnit;
    } cases[] = {
        {UNITS_SI, 33, 300, L"m/\u00b5s", L"m"},
        {UNITS_IMP, 108, 984, L"ft/\u00b5s", L"ft"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.units));
        Settings().m_units = c.units;
        Settings().m_dVelocity = 80.0;
        float fMin = 0, fMax = 0, fValue = 0;
        std::wstring velocityUnit, depthUnit;
        RunDialog([&](CVelocitySettingsDlg& dialog) {
            fMin = dialog.GetVelocitySlider().m_fMin;
            fMax = dialog.GetVelocitySlider().m_fMax;
            fValue = dialog.GetVelocitySlider().m_fValue;
            velocityUnit = dialog.GetDlgItem(IDC_VS_VELOCITY_UNIT)->GetWindowText();
            depthUnit = dialog.GetDlgItem(IDC_VS_DEPTH_UNIT)->GetWindowText();
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(fMin, c.fMin);
        EXPECT_EQ(fMax, c.fMax);
        EXPECT_NEAR(fValue, 80.0 * GetUnitFactor(c.units), 1e-3);
        EXPECT_EQ(velocityUnit, c.velocityUnit);
        EXPECT_EQ(depthUnit, c.depthUnit);
        EXPECT_EQ(Settings().m_dVelocity, 80.0);
    }
}

TEST_F(VelocitySettingsDlgTest, MaterialRowsAlignTheirBoundsAndTheProjectsMaterialIsSelected)
{
    std::vector<std::wstring> rows;
    const CMaterial* pSelected = nullptr;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CComboBox* pCombo = dialog.GetMaterialCombo();
        for (int i = 0; i < pCombo->GetCount(); ++i)
            rows.push_back(pCombo->GetLBText(i));
        pSelected = dialog.GetSelectedMaterial();
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(rows.size(), g_cfg.m_materials.size());
    EXPECT_EQ(pSelected, m_pSand);
    // Sorted; the widest name ("User-defined") is followed by ten blanks.
    EXPECT_EQ(rows[0].rfind(L"Dry clay ", 0), 0u);
    EXPECT_EQ(rows[0].substr(rows[0].find(L'[')), L"[100:200]");
    EXPECT_EQ(rows[1].rfind(L"Sand ", 0), 0u);
    EXPECT_EQ(rows[2], L"User-defined" + std::wstring(10, L' ') + L"[30:300]");
    // The shorter names take more blanks.
    EXPECT_GT(rows[1].find(L'[') - 4, 10u);
}

TEST_F(VelocitySettingsDlgTest, WithoutAMaterialNothingIsSelectedAndOkNeedsNoRange)
{
    Settings().m_pMaterial = nullptr;
    const CMaterial* pSelected = m_pSand;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        pSelected = dialog.GetSelectedMaterial();
        MoveSlider(dialog.GetVelocitySlider(), 250.0f);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(pSelected, nullptr);
    EXPECT_EQ(Settings().m_pMaterial, nullptr);
    EXPECT_EQ(Settings().m_dVelocity, 250.0);
    EXPECT_FALSE(m_boxes.Contains(
        L"Current velocity value is out of range. Change velocity or select another material range."));
}

TEST_F(VelocitySettingsDlgTest, CancelPutsEverythingBackAndReloadsTheMatrix)
{
    CProjectSettings& s = Settings();
    s.m_params.m_iAperture = 5;
    s.m_params.m_bDelMeanOn = true;
    s.m_params.m_iDelMean = 9;
    Doc()->m_project.m_fCursorX = 3.0f;
    Doc()->m_project.m_fCursorY = 2.0f;
    Doc()->m_project.m_fCursorDepth = 30.0f;
    const CProjectSettings before = s;
    MatrixMark() = 12345.0f;
    float previewMark = 0;
    int previewAperture = 0;
    float factor = 0;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        previewMark = MatrixMark();
        previewAperture = s.m_params.m_iAperture;
        MoveSlider(dialog.GetVelocitySlider(), 120.0f);
        SelectMaterial(dialog, m_pClay);
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_MIGRATION))->Click();
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_CONTRAST))->Click();
        DragPopup(*dialog.GetContrastDlg(), 77);
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_TIME_GAIN))->Click();
        DragPopup(*dialog.GetTimeGainDlg(), 200);
        Doc()->m_project.m_fCursorX = 1.0f;
        Doc()->m_project.m_fCursorDepth = 50.0f;
        factor = dialog.m_fContrastFactor;
        Press(dialog, IDCANCEL);
    });
    EXPECT_NE(previewMark, 12345.0f);
    EXPECT_EQ(previewAperture, 1);
    // Changed, and put back all the same.
    EXPECT_TRUE(m_bDataChanged);
    EXPECT_EQ(s.m_dVelocity, before.m_dVelocity);
    EXPECT_EQ(s.m_pMaterial, before.m_pMaterial);
    EXPECT_TRUE(s.m_params == before.m_params);
    EXPECT_EQ(s.m_iContrast, before.m_iContrast);
    EXPECT_EQ(s.m_fAutoGain, factor);
    EXPECT_EQ(Doc()->m_project.m_fCursorX, 3.0f);
    EXPECT_EQ(Doc()->m_project.m_fCursorY, 2.0f);
    EXPECT_EQ(Doc()->m_project.m_fCursorDepth, 30.0f);
    EXPECT_EQ(s.m_iDepthIndex, 30);
    EXPECT_EQ(MatrixMark(), 12345.0f);
    EXPECT_TRUE(m_frameListener.Changes().empty());
}

TEST_F(VelocitySettingsDlgTest, OkKeepsVelocityMaterialAndMigrationAndRebuildsTheMatrix)
{
    CProjectSettings& s = Settings();
    s.m_params.m_iAperture = 5;
    s.m_params.m_bMigration = false;
    MatrixMark() = 12345.0f;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        MoveSlider(dialog.GetVelocitySlider(), 120.0f);
        SelectMaterial(dialog, m_pClay);
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_MIGRATION))->Click();
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(m_bDataChanged);
    EXPECT_EQ(s.m_dVelocity, 120.0);
    EXPECT_EQ(s.m_pMaterial, m_pClay);
    EXPECT_TRUE(s.m_params.m_bMigration);
    EXPECT_EQ(s.m_params.m_iAperture, 5);
    EXPECT_NE(MatrixMark(), 12345.0f);
    EXPECT_FALSE(FileExists(Doc()->m_matrix.GetVertFileName()));
    EXPECT_EQ(m_frameChangesWhileOpen, 0u);
    ASSERT_EQ(m_frameListener.Changes().size(), 2u);
    EXPECT_EQ(m_frameListener.Changes()[0], MakeCodeParam(DATA_RECOMPUTED, 0));
    EXPECT_EQ(m_frameListener.Changes()[1], MakeCodeParam(DATA_VELOCITY, 120));
}

TEST_F(VelocitySettingsDlgTest, APreviewAloneIsNoChange)
{
    Settings().m_params.m_iAperture = 4;
    MatrixMark() = 12345.0f;
    RunDialog([&](CVelocitySettingsDlg& dialog) { Press(dialog, IDOK); });
    EXPECT_FALSE(m_bDataChanged);
    EXPECT_EQ(Settings().m_params.m_iAperture, 4);
    EXPECT_EQ(MatrixMark(), 12345.0f);
    EXPECT_TRUE(m_frameListener.Changes().empty());
}

// With the automatic contrast switched off a new project has no contrast factor: the migrated
// preview then has no gain, as in the matrix, and the factor stays uncomputed.
TEST_F(VelocitySettingsDlgTest, WithoutAContrastFactorThePreviewHasNoGain)
{
    Settings().m_fAutoGain = 0.0f;
    g_cfg.m_bAutoContrast = false;
    float factor = -1, viewGain = -1;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_MIGRATION))->Click();
        factor = dialog.m_fContrastFactor;
        viewGain = dialog.GetProfileCtrl().GetProfileView().m_fGainFactor;
        Press(dialog, IDOK);
    });
    EXPECT_EQ(factor, 0.0f);
    EXPECT_EQ(viewGain, 1.0f);
    EXPECT_EQ(Settings().m_fAutoGain, 0.0f);
}

// Migrated data computed before any contrast factor: the factor that the preview computes and
// OK stores as the auto gain changes the matrix, so the main views are recomputed with it.
TEST_F(VelocitySettingsDlgTest, ANewContrastFactorOfMigratedDataReachesTheMainViews)
{
    Settings().m_params.m_bMigration = true;
    Settings().m_fAutoGain = 0.0f;
    g_cfg.m_bAutoContrast = true;
    ASSERT_TRUE(Doc()->m_matrix.Calculate());
    RunDialog([&](CVelocitySettingsDlg& dialog) { Press(dialog, IDOK); });
    ASSERT_NE(Settings().m_fAutoGain, 0.0f);
    EXPECT_TRUE(m_bDataChanged);
    const std::vector<float> shown(Doc()->m_matrix.GetVertTrace(0, 1),
                                   Doc()->m_matrix.GetVertTrace(0, 1) + Doc()->m_matrix.m_nSamples);
    ASSERT_TRUE(Doc()->m_matrix.Calculate());
    EXPECT_EQ(shown, std::vector<float>(Doc()->m_matrix.GetVertTrace(0, 1),
                                        Doc()->m_matrix.GetVertTrace(0, 1) + Doc()->m_matrix.m_nSamples));

    // The same factor again is no change.
    RunDialog([&](CVelocitySettingsDlg& dialog) { Press(dialog, IDOK); });
    EXPECT_FALSE(m_bDataChanged);
}

// In feet the slider's value is no whole number of metres per microsecond: what is stored is
// the whole velocity that the preview used, so that an untouched dialog changes nothing.
TEST_F(VelocitySettingsDlgTest, ImperialUnitsStoreTheWholeVelocityOfThePreview)
{
    Settings().m_units = UNITS_IMP;
    Settings().m_dVelocity = 74.0;
    Settings().m_pMaterial = nullptr;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        RunDialog([&](CVelocitySettingsDlg& dialog) { Press(dialog, IDOK); });
        EXPECT_FALSE(m_bDataChanged);
        EXPECT_EQ(Settings().m_dVelocity, 74.0);
        EXPECT_TRUE(m_frameListener.Changes().empty());
    }

    // A drag of the trackbar stops between whole numbers of metres per microsecond.
    float fValue = 0;
    std::vector<LPARAM> previews;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CExtSliderCtrl& slider = dialog.GetVelocitySlider();
        m_dialogListener.m_notes.clear();
        slider.SendMessage(WM_VSCROLL, MakeScrollParam(TB_THUMBTRACK, 2000), 0);
        fValue = slider.m_fValue;
        previews = m_dialogListener.Changes();
        Press(dialog, IDOK);
    });
    const int velocity = int(fValue / GetUnitFactor(UNITS_IMP) + 0.5);
    EXPECT_NE(double(fValue / GetUnitFactor(UNITS_IMP)), double(velocity));
    EXPECT_EQ(previews, std::vector<LPARAM>{MakeCodeParam(DATA_RECOMPUTED, velocity)});
    EXPECT_TRUE(m_bDataChanged);
    EXPECT_EQ(Settings().m_dVelocity, double(velocity));
}

// The slider's box shows, in feet, the whole velocity in metres per microsecond that the
// preview uses and OK stores, wherever the drag stops between them.
TEST_F(VelocitySettingsDlgTest, ImperialSliderShowsTheVelocityOfThePreview)
{
    Settings().m_units = UNITS_IMP;
    Settings().m_pMaterial = nullptr;
    const double factor = GetUnitFactor(UNITS_IMP);
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CExtSliderCtrl& slider = dialog.GetVelocitySlider();
        for (int pos : {0, 1234, 5879, 5788, 9999, 10000}) {
            SCOPED_TRACE(pos);
            slider.SendMessage(WM_VSCROLL, MakeScrollParam(TB_THUMBTRACK, pos), 0);
            const int velocity = int(slider.m_fValue / factor + 0.5);
            EXPECT_EQ(Settings().m_dVelocity, double(velocity));
            EXPECT_EQ(slider.GetEdit().GetWindowText(), FromAnsi(FormatReal(velocity * factor, 0)));
        }
        Press(dialog, IDCANCEL);
    });
}

TEST_F(VelocitySettingsDlgTest, AVelocityOutsideTheMaterialsRangeKeepsTheDialogOpen)
{
    Settings().m_dVelocity = 80.0;
    bool bRefused = false;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        SelectMaterial(dialog, m_pClay);
        m_boxes.m_texts.clear();
        Press(dialog, IDOK);
        bRefused = m_boxes.Contains(
            L"Current velocity value is out of range. Change velocity or select another material range.");
        // Still open: a velocity inside the range is taken.
        MoveSlider(dialog.GetVelocitySlider(), 150.0f);
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(Settings().m_dVelocity, 150.0);
    EXPECT_EQ(Settings().m_pMaterial, m_pClay);
}

TEST_F(VelocitySettingsDlgTest, EachPreviewChangeReachesTheDialogOnceAndTheMainWindowNever)
{
    struct
    {
        const char* name;
        std::function<void(CVelocitySettingsDlg&)> change;
        LPARAM expected;
    } cases[] = {
        {"velocity", [](CVelocitySettingsDlg& d) { MoveSlider(d.GetVelocitySlider(), 95.0f); },
         MakeCodeParam(DATA_RECOMPUTED, 95)},
        {"contrast", [](CVelocitySettingsDlg& d) { DragPopup(*d.GetContrastDlg(), 40); }, MakeCodeParam(DATA_CONTRAST, 40)},
        {"time gain", [](CVelocitySettingsDlg& d) { DragPopup(*d.GetTimeGainDlg(), 90); },
         MakeCodeParam(DATA_TIME_GAIN, 90)},
    };
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_CONTRAST))->Click();
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_TIME_GAIN))->Click();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            m_dialogListener.m_notes.clear();
            c.change(dialog);
            EXPECT_EQ(m_dialogListener.Changes(), std::vector<LPARAM>{c.expected});
        }
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(m_frameChangesWhileOpen, 0u);
}

TEST_F(VelocitySettingsDlgTest, EachDirectionKeepsItsPosition)
{
    const CProjectSettings& s = Settings();
    const float step = float(s.m_iProfileSpacing * s.m_dResolution);
    std::vector<float> values;
    std::vector<int> lines;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CExtSliderCtrl& slider = dialog.GetPositionSlider();
        CProfileDataSideView& view = dialog.GetProfileCtrl().GetProfileView();
        MoveSlider(slider, 2.0f * step);
        lines.push_back(view.GetSectionLine());
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_Y_PROFILES))->Click();
        values.push_back(slider.m_fValue);
        MoveSlider(slider, 1.0f * step);
        lines.push_back(view.GetSectionLine());
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_X_PROFILES))->Click();
        values.push_back(slider.m_fValue);
        lines.push_back(view.GetSectionLine());
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_Y_PROFILES))->Click();
        values.push_back(slider.m_fValue);
        lines.push_back(view.GetSectionLine());
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(values.size(), 3u);
    EXPECT_FLOAT_EQ(values[0], 0.0f);
    EXPECT_FLOAT_EQ(values[1], 2.0f * step);
    EXPECT_FLOAT_EQ(values[2], 1.0f * step);
    EXPECT_EQ(lines, (std::vector<int>{2, 1, 2, 1}));
}

TEST_F(VelocitySettingsDlgTest, APositionBeyondTheLastLineShowsTheLastLine)
{
    const CProjectSettings& s = Settings();
    int line = -1, lines = 0;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CExtSliderCtrl& slider = dialog.GetPositionSlider();
        MoveSlider(slider, slider.m_fMax);
        line = dialog.GetProfileCtrl().GetProfileView().GetSectionLine();
        lines = dialog.GetProfileCtrl().GetProfileView().GetLineCount();
        Press(dialog, IDCANCEL);
    });
    EXPECT_GT(lines, 0);
    EXPECT_EQ(line, lines - 1);
    EXPECT_GT(float(s.m_iSizeY * s.m_dResolution) / float(s.m_iProfileSpacing * s.m_dResolution) + 0.5f,
              float(lines - 1));
}

TEST_F(VelocitySettingsDlgTest, OperationsSwitchMigrationViewModeAndCrossHair)
{
    struct
    {
        int nID;
        bool bMigration;
        int32_t mode;
        bool bCrossHair;
    } cases[] = {
        {IDC_VS_HYPERBOLAS, false, 3, true},
        {IDC_VS_MIGRATION, true, 2, false},
        {IDC_VS_NO_OPERATION, false, 1, false},
    };
    bool bMovable = false, bPainter = true;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        CProfileDataSideView& view = dialog.GetProfileCtrl().GetProfileView();
        bMovable = view.IsPositionLineMovable();
        bPainter = view.IsPainterEnabled();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.nID);
            dynamic_cast<CButton*>(dialog.GetDlgItem(c.nID))->Click();
            EXPECT_EQ(Settings().m_params.m_bMigration, c.bMigration);
            EXPECT_EQ(view.m_nDisplayMode, c.mode);
            EXPECT_EQ(view.IsCrossHairShown(), c.bCrossHair);
            EXPECT_EQ(dialog.m_iOperation, c.mode);
        }
        Press(dialog, IDCANCEL);
    });
    EXPECT_TRUE(bMovable);
    EXPECT_FALSE(bPainter);
}

TEST_F(VelocitySettingsDlgTest, PopupsOpenOnceAndCloseWithTheDialog)
{
    CSliderDialog* pFirst = nullptr;
    CSliderDialog* pSecond = nullptr;
    bool bForgotten = false;
    std::wstring caption;
    int pos = -1;
    Settings().m_iContrast = 33;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_CONTRAST));
        EXPECT_NE(pButton->GetIcon(), nullptr);
        pButton->Click();
        pFirst = dialog.GetContrastDlg();
        pButton->Click();
        pSecond = dialog.GetContrastDlg();
        caption = pFirst->GetWindowText();
        pos = pFirst->m_nPos;
        pFirst->SendMessage(WM_CLOSE);
        ProcessEvents();
        bForgotten = dialog.GetContrastDlg() == nullptr;
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_TIME_GAIN))->Click();
        Press(dialog, IDCANCEL);
        EXPECT_EQ(dialog.GetTimeGainDlg(), nullptr);
    });
    ProcessEvents();
    EXPECT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(caption, L"Contrast:");
    EXPECT_EQ(pos, 33);
    EXPECT_TRUE(bForgotten);
}

TEST_F(VelocitySettingsDlgTest, KeysOutsideTheFocusedButtonsDoNotEndTheDialog)
{
    std::vector<bool> open;
    INT_PTR result = 0;
    CDialog::SetModalHook([&](CDialog& dialog) {
        QTimer::singleShot(0, [&] {
            auto& velocity = dynamic_cast<CVelocitySettingsDlg&>(dialog);
            CWnd* pCombo = velocity.GetMaterialCombo();
            pCombo->SetFocus();
            PressKey(*pCombo, Qt::Key_Return);
            open.push_back(dialog.GetWidget()->isVisible());
            CWnd& edit = velocity.GetVelocitySlider().GetEdit();
            edit.SetFocus();
            PressKey(edit, Qt::Key_Return);
            open.push_back(dialog.GetWidget()->isVisible());
            CWnd& view = velocity.GetProfileCtrl().GetProfileView();
            view.SetFocus();
            PressKey(view, Qt::Key_Escape);
            open.push_back(dialog.GetWidget()->isVisible());
            // The close box cancels wherever the focus is.
            dialog.SendMessage(WM_CLOSE);
            open.push_back(dialog.GetWidget()->isVisible());
        });
    });
    CVelocitySettingsDlg dialog(Frame());
    dialog.SetData(&Doc()->m_project, &Doc()->m_matrix);
    result = dialog.DoModal();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(open, (std::vector<bool>{true, true, true, false}));
}

TEST_F(VelocitySettingsDlgTest, TheLayoutFillsTheDialogAndFollowsItsSize)
{
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        MINMAXINFO info;
        dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, 300);
        EXPECT_EQ(info.ptMinTrackSize.y, 360);
        for (CSize size : {CSize(645, 530), CSize(900, 700)}) {
            SCOPED_TRACE(size.cx);
            dialog.MoveWindow(0, 0, size.cx, size.cy);
            CRect client, view, cancel, velocity;
            dialog.GetClientRect(&client);
            dialog.GetProfileCtrl().GetWindowRect(&view);
            dialog.GetDlgItem(IDCANCEL)->GetWindowRect(&cancel);
            dialog.GetVelocitySlider().GetWindowRect(&velocity);
            EXPECT_EQ(client.Size(), size);
            // The view takes the free room right of the left column and above the bottom rows.
            EXPECT_GT(view.Width(), size.cx / 2);
            EXPECT_GT(view.Height(), size.cy / 2);
            EXPECT_GT(velocity.Height(), size.cy / 3);
            // The buttons keep to the bottom right corner.
            CPoint corner = cancel.BottomRight();
            dialog.ScreenToClient(&corner);
            EXPECT_LE(corner.x, size.cx);
            EXPECT_GT(corner.x, size.cx - 20);
            EXPECT_LE(corner.y, size.cy);
            EXPECT_GT(corner.y, size.cy - 20);
        }
        Press(dialog, IDCANCEL);
    });
}

TEST_F(VelocitySettingsDlgTest, OkAndCancelAreLoggedWithTheirDecision)
{
    struct
    {
        int nButton;
        const char* lines[2];
    } cases[] = {
        {IDOK, {"CVelocitySettingsDlg::RestoreSettings(): data changed: true", "RestoreSettings(): OK button"}},
        {IDCANCEL, {"CVelocitySettingsDlg::RestoreSettings(): data changed: true", "RestoreSettings(): CANCEL button"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nButton);
        RunDialog([&](CVelocitySettingsDlg& dialog) {
            MoveSlider(dialog.GetVelocitySlider(), 110.0f);
            Press(dialog, c.nButton);
        });
        g_messageLog.Flush();
        const std::string log = ReadFileBytes(ToFileName(g_messageLog.GetPath()));
        for (const char* line : c.lines)
            EXPECT_NE(log.find(line), std::string::npos) << line;
    }
}

TEST_F(VelocitySettingsDlgTest, ASetCrossHairRefreshesTheDepthAndRedrawsOnlyTheHyperbolas)
{
    struct
    {
        int nOperation;
        std::vector<WORD> codes;
    } cases[] = {{IDC_VS_NO_OPERATION, {}}, {IDC_VS_HYPERBOLAS, {DATA_RECOMPUTED}}};
    Settings().m_units = UNITS_IMP;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nOperation);
        std::wstring depth;
        std::vector<WORD> codes;
        RunDialog([&](CVelocitySettingsDlg& dialog) {
            dynamic_cast<CButton*>(dialog.GetDlgItem(c.nOperation))->Click();
            Doc()->m_project.m_fCursorDepth = float(Settings().m_iZeroLevel + 10);
            m_dialogListener.m_notes.clear();
            dialog.SendMessage(WM_CURSOR_MOVED, IDC_VS_PROFILE_VIEW, MakeCursorParam(IDC_VS_PROFILE_VIEW + 1, true));
            codes = m_dialogListener.Codes();
            depth = dialog.GetDlgItem(IDC_VS_DEPTH)->GetWindowText();
            Press(dialog, IDCANCEL);
        });
        const double feet = Settings().SampleToDepth(float(Settings().m_iZeroLevel + 10)) * GetUnitFactor(UNITS_IMP);
        EXPECT_EQ(depth, FromAnsi(FormatReal(feet, 3)));
        EXPECT_EQ(codes, c.codes);
    }
}

// On the generated survey, the hyperbola drawn at the scatterer's apex fits the data best at
// the generator's soil velocity, and migration at that velocity gathers the scatterer's energy
// at its place better than at half or double of it.
TEST_F(VelocitySettingsDlgTest, TheFittedHyperbolaGivesTheSurveysVelocityAndFocusesTheMigration)
{
    const SurveyGen::CSurveyParams& survey = m_project.params;
    ASSERT_EQ(survey.scatterers.size(), 1u);
    const SurveyGen::CScatterer scatterer = survey.scatterers[0];
    CProject& project = Doc()->m_project;
    const double resolution = project.m_settings.m_dResolution;
    const int apexTrace = int(std::lround(scatterer.x / resolution));
    const uint32_t line = uint32_t(std::lround(scatterer.y / survey.lineSpacing));
    // The user has set the zero level onto the direct wave; any velocity may be fitted.
    project.m_settings.m_iZeroLevel = survey.zeroLevel;
    project.m_settings.m_bUseZeroLevel = true;
    project.m_settings.m_pMaterial = nullptr;
    const float apexSample = float(SurveyGen::ArrivalSample(survey, scatterer.depth));
    // The data stacked along the hyperbola of each velocity, within the flanks where the
    // scatterer's echo stands out of the noise: the echoes add up only on the right curve.
    const int flank = int(std::lround(survey.lineSpacing / resolution));
    int fitted = 0;
    RunDialog([&](CVelocitySettingsDlg& dialog) {
        const C3DMatrix& matrix = Doc()->m_matrix;
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_VS_HYPERBOLAS))->Click();
        MoveSlider(dialog.GetPositionSlider(), float(scatterer.y));
        CProfileDataSideView& view = dialog.GetProfileCtrl().GetProfileView();
        EXPECT_EQ(view.GetSectionLine(), int(line));
        project.m_fCursorX = float(apexTrace);
        project.m_fCursorDepth = apexSample;
        CRect rect;
        view.GetClientRect(&rect);
        const float rowStep = view.GetDepthMap().m_fStep;
        double best = -1;
        for (int velocity = 40; velocity <= 200; velocity += 2) {
            MoveSlider(dialog.GetVelocitySlider(), float(velocity));
            double sum = 0;
            for (const CPoint& point : view.HyperbolaPoints(rect, 0)) {
                const uint32_t trace = view.GetColumnMap().m_index[size_t(point.x)];
                const int sample = int(std::lround(point.y * rowStep));
                if (std::abs(int(trace) - apexTrace) <= flank && sample >= 0 && sample < int(matrix.m_nSamples))
                    sum += matrix.GetHorzTrace(line, trace)[sample];
            }
            if (std::fabs(sum) > best) {
                best = std::fabs(sum);
                fitted = velocity;
            }
        }
        MoveSlider(dialog.GetVelocitySlider(), float(fitted));
        Press(dialog, IDOK);
    });
    EXPECT_NEAR(fitted, survey.velocity, 4.0);
    EXPECT_EQ(project.m_settings.m_dVelocity, double(fitted));

    // The profile migrated as the preview does it, at the fitted velocity and at half and double.
    const C3DMatrix& matrix = Doc()->m_matrix;
    const int traces = int(matrix.m_nNX), samples = int(matrix.m_nSamples);
    const auto migratedPeak = [&](double velocity, int& peakTrace, int& peakSample) {
        project.m_settings.m_dVelocity = velocity;
        project.m_settings.m_params.m_bMigration = true;
        std::vector<float> data(size_t(traces) * size_t(samples));
        for (int t = 0; t < traces; ++t)
            std::copy_n(matrix.GetHorzTrace(line, uint32_t(t)), samples, data.begin() + ptrdiff_t(t) * samples);
        CMigration migration(&project, traces);
        migration.BuildTable();
        migration.Migrate(data.data());
        // Below the direct wave at the zero level.
        const int first = project.m_settings.m_iZeroLevel + 8;
        float peak = 0;
        for (int t = 0; t < traces; ++t)
            for (int s = first; s < samples; ++s)
                if (std::fabs(data[size_t(t) * size_t(samples) + size_t(s)]) > peak) {
                    peak = std::fabs(data[size_t(t) * size_t(samples) + size_t(s)]);
                    peakTrace = t;
                    peakSample = s;
                }
        return peak;
    };
    int trace = -1, sample = -1, other = 0;
    const float focused = migratedPeak(fitted, trace, sample);
    EXPECT_LE(std::abs(trace - apexTrace), 1);
    EXPECT_LE(std::fabs(sample - apexSample), 2.0f);
    EXPECT_GT(focused, migratedPeak(fitted / 2.0, other, other));
    EXPECT_GT(focused, migratedPeak(fitted * 2.0, other, other));
}
