// The filter options dialog: which changes need the matrix computed again and which only a
// new rendering, the range checks with their messages, Cancel, and the keys that must not
// close it.

#include "DialogTestSupport.h"
#include "FilterOptionDlg.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include "Project.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <map>

namespace {
std::wstring EditText(CFilterOptionDlg& dialog, UINT nID)
{
    return dialog.GetValueEdit(nID)->GetEdit().GetWindowText();
}

void Type(CFilterOptionDlg& dialog, UINT nID, const std::wstring& text)
{
    dialog.GetValueEdit(nID)->GetEdit().SetWindowText(text);
}

class FilterOptionDlgTest : public OpenProjectFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenProjectFixture::SetUp());
    }
    CProcessingParams& Params() { return Doc()->m_project.m_settings.m_params; }
    // The dialog of the menu command, answered by script; whether it was shown.
    bool RunCommand(const std::function<void(CFilterOptionDlg&)>& script)
    {
        bool bShown = false;
        CDialog::SetModalHook([&](CDialog& dialog) {
            bShown = true;
            script(dynamic_cast<CFilterOptionDlg&>(dialog));
        });
        Frame()->SendMessage(WM_COMMAND, ID_FILTER_OPTIONS, 0);
        CDialog::SetModalHook(nullptr);
        return bShown;
    }
    // The first sample of the matrix, overwritten only by a new computation.
    float& MatrixMark() { return Doc()->m_matrix.EditVertTrace(0, 0)[0]; }

};
} // namespace

TEST_F(FilterOptionDlgTest, ChangesDecideBetweenRecomputationAndRendering)
{
    struct
    {
        const char* name;
        bool bFirOnBefore;
        bool bClickFir;
        std::map<UINT, std::wstring> typed;
        bool bFirChanged;
        bool bTimeGainChanged;
        std::vector<WORD> codes;
    } cases[] = {
        {"nothing changed", true, false, {}, false, false, {}},
        {"FIR switched off", true, true, {}, true, false, {DATA_RECOMPUTED}},
        {"FIR switched on", false, true, {}, true, false, {DATA_RECOMPUTED}},
        {"FIR low while on", true, false, {{IDC_FO_FIR_LOW, L"7"}}, true, false, {DATA_RECOMPUTED}},
        {"FIR high while on", true, false, {{IDC_FO_FIR_HIGH, L"30"}}, true, false, {DATA_RECOMPUTED}},
        {"FIR high while off", false, false, {{IDC_FO_FIR_HIGH, L"30"}}, false, false, {}},
        {"time gain start", true, false, {{IDC_FO_TG_START, L"12"}}, false, true, {DATA_TIME_GAIN}},
        {"linear gain", true, false, {{IDC_FO_TG_LINEAR, L"1500"}}, false, true, {DATA_TIME_GAIN}},
        {"exponential gain", false, false, {{IDC_FO_TG_EXPONENT, L"9"}}, false, true, {DATA_TIME_GAIN}},
        {"both groups", true, false, {{IDC_FO_FIR_LOW, L"3"}, {IDC_FO_TG_LINEAR, L"900"}}, true, true,
         {DATA_RECOMPUTED}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Params().m_bFirOn = c.bFirOnBefore;
        Params().m_iFirHigh = 25;
        Params().m_iFirLow = 5;
        Params().m_iTgStart = 30;
        Params().m_iTgLinear = 1000;
        Params().m_iTgExponent = 7;
        MatrixMark() = 12345.0f;
        m_frameListener.m_notes.clear();
        bool bFirChanged = false, bTimeGainChanged = false;
        ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
            if (c.bClickFir)
                dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_FO_FIR_ON))->Click();
            for (const auto& [nID, text] : c.typed)
                Type(dialog, nID, text);
            Press(dialog, IDOK);
            bFirChanged = dialog.m_bFirChanged;
            bTimeGainChanged = dialog.m_bTimeGainChanged;
        }));
        EXPECT_EQ(bFirChanged, c.bFirChanged);
        EXPECT_EQ(bTimeGainChanged, c.bTimeGainChanged);
        EXPECT_EQ(m_frameListener.Codes(), c.codes);
        EXPECT_EQ(MatrixMark() != 12345.0f, c.bFirChanged);
        EXPECT_EQ(Params().m_bFirOn, c.bFirOnBefore != c.bClickFir);
        for (const auto& [nID, text] : c.typed) {
            const int stored = nID == IDC_FO_FIR_LOW    ? int(Params().m_iFirLow)
                               : nID == IDC_FO_FIR_HIGH ? int(Params().m_iFirHigh)
                               : nID == IDC_FO_TG_START ? Params().m_iTgStart
                               : nID == IDC_FO_TG_LINEAR ? Params().m_iTgLinear
                                                         : Params().m_iTgExponent;
            EXPECT_EQ(std::to_wstring(stored), text);
        }
    }
}

TEST_F(FilterOptionDlgTest, ValuesOutOfRangeAreLimitedWithAMessageAndOkWaits)
{
    const int samples = Doc()->m_project.m_settings.m_iSamples;
    struct
    {
        UINT nID;
        std::wstring typed;
        std::wstring message;
        std::wstring limited;
    } cases[] = {
        {IDC_FO_TG_START, std::to_wstring(samples + 1),
         L"Time gain start value is above maximum value. Limit value is " + std::to_wstring(samples) + L".",
         std::to_wstring(samples)},
        // No number at all, empty or pasted, is below every range.
        {IDC_FO_TG_START, L"", L"Time gain start value is below minimum value. Limit value is 0.", L"0"},
        {IDC_FO_TG_START, L"abc", L"Time gain start value is below minimum value. Limit value is 0.", L"0"},
        {IDC_FO_TG_LINEAR, L"1500x", L"Linear time gain value is below minimum value. Limit value is 100.", L"100"},
        {IDC_FO_TG_LINEAR, L"50", L"Linear time gain value is below minimum value. Limit value is 100.", L"100"},
        {IDC_FO_TG_LINEAR, L"99999", L"Linear time gain value is above maximum value. Limit value is 3000.", L"3000"},
        {IDC_FO_TG_EXPONENT, L"0", L"Exp. time gain value is below minimum value. Limit value is 1.", L"1"},
        {IDC_FO_TG_EXPONENT, L"5000", L"Exp. time gain value is above maximum value. Limit value is 1000.", L"1000"},
        {IDC_FO_FIR_LOW, L"0", L"FIR Low pass value is below minimum value. Limit value is 1.", L"1"},
        {IDC_FO_FIR_LOW, L"21", L"FIR Low pass value is above maximum value. Limit value is 20.", L"20"},
        {IDC_FO_FIR_HIGH, L"9", L"FIR Hight pass value is below minimum value. Limit value is 10.", L"10"},
        {IDC_FO_FIR_HIGH, L"51", L"FIR Hight pass value is above maximum value. Limit value is 50.", L"50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const CProcessingParams before = Params();
        m_boxes.m_texts.clear();
        m_boxes.m_types.clear();
        bool bRecordKept = false;
        std::wstring shown;
        ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
            Type(dialog, c.nID, c.typed);
            Press(dialog, IDOK);
            bRecordKept = Params() == before;
            shown = EditText(dialog, c.nID);
            // Still open: a second OK takes the limited value.
            Press(dialog, IDOK);
        }));
        ASSERT_EQ(m_boxes.m_texts.size(), 1u);
        EXPECT_EQ(m_boxes.m_texts[0], c.message);
        EXPECT_EQ(m_boxes.m_types[0], UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_TRUE(bRecordKept);
        EXPECT_EQ(shown, c.limited);
        Params() = before;
    }
}

// Beyond 16 bits: a long record keeps its start sample, and one beyond the samples is limited
// to their count.
TEST_F(FilterOptionDlgTest, TheStartSampleOfALongRecordIsKept)
{
    CProject project;
    project.m_settings = Doc()->m_project.m_settings;
    project.m_settings.m_iSamples = 40000;
    struct
    {
        const wchar_t* typed; // nothing: the value as shown
        int stored;
        size_t messages;
    } cases[] = {{nullptr, 35000, 0}, {L"39000", 39000, 0}, {L"40001", 40000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        project.m_settings.m_params.m_iTgStart = 35000;
        m_boxes.m_texts.clear();
        std::wstring shown;
        CDialog::SetModalHook([&](CDialog& dialog) {
            auto& options = dynamic_cast<CFilterOptionDlg&>(dialog);
            shown = EditText(options, IDC_FO_TG_START);
            if (c.typed)
                Type(options, IDC_FO_TG_START, c.typed);
            Press(dialog, IDOK);
            if (!m_boxes.m_texts.empty())
                Press(dialog, IDOK);
        });
        CFilterOptionDlg dialog;
        dialog.LoadSettings(&project);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        CDialog::SetModalHook(nullptr);
        EXPECT_EQ(shown, L"35000");
        EXPECT_EQ(project.m_settings.m_params.m_iTgStart, c.stored);
        EXPECT_EQ(m_boxes.m_texts.size(), c.messages);
    }
}

TEST_F(FilterOptionDlgTest, TheTimeGainStartIsCheckedFirst)
{
    m_boxes.m_texts.clear();
    ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
        Type(dialog, IDC_FO_FIR_HIGH, L"99");
        Type(dialog, IDC_FO_TG_START, L"99999");
        Press(dialog, IDOK);
        Press(dialog, IDCANCEL);
    }));
    ASSERT_EQ(m_boxes.m_texts.size(), 1u);
    EXPECT_EQ(m_boxes.m_texts[0].rfind(L"Time gain start", 0), 0u);
}

TEST_F(FilterOptionDlgTest, CancelPutsBackTheFirSwitchAndTheValues)
{
    Params().m_bFirOn = true;
    const CProjectSettings before = Doc()->m_project.m_settings;
    bool bSwitchedAtOnce = false;
    ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
        dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_FO_FIR_ON))->Click();
        bSwitchedAtOnce = !Params().m_bFirOn;
        Type(dialog, IDC_FO_TG_LINEAR, L"2000");
        Press(dialog, IDCANCEL);
    }));
    EXPECT_TRUE(bSwitchedAtOnce);
    EXPECT_TRUE(Params() == before.m_params);
    EXPECT_TRUE(m_frameListener.Codes().empty());
}

TEST_F(FilterOptionDlgTest, FirControlsFollowTheSwitch)
{
    Params().m_bFirOn = false;
    std::vector<bool> off, on;
    const auto states = [](CFilterOptionDlg& dialog) {
        return std::vector<bool>{dialog.GetDlgItem(IDC_FO_FIR_GROUP)->IsWindowEnabled(),
                                 dialog.GetDlgItem(IDC_FO_FIR_LOW)->IsWindowEnabled(),
                                 dialog.GetValueEdit(IDC_FO_FIR_LOW)->IsWindowEnabled(),
                                 dialog.GetDlgItem(IDC_FO_FIR_HIGH)->IsWindowEnabled(),
                                 dialog.GetValueEdit(IDC_FO_FIR_HIGH)->IsWindowEnabled(),
                                 dialog.GetValueEdit(IDC_FO_TG_START)->IsWindowEnabled()};
    };
    int checkOff = -1, checkOn = -1;
    ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
        auto* pCheck = dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_FO_FIR_ON));
        off = states(dialog);
        checkOff = pCheck->GetCheck();
        pCheck->Click();
        on = states(dialog);
        checkOn = pCheck->GetCheck();
        Press(dialog, IDCANCEL);
    }));
    EXPECT_EQ(off, (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(on, (std::vector<bool>{true, true, true, true, true, true}));
    EXPECT_EQ(checkOff, BST_UNCHECKED);
    EXPECT_EQ(checkOn, BST_CHECKED);
}

TEST_F(FilterOptionDlgTest, EditsStandBesideTheirLabelsWithTheProjectsValuesAndRanges)
{
    Params().m_iTgStart = 17;
    Params().m_iFirHigh = 33;
    const int samples = Doc()->m_project.m_settings.m_iSamples;
    ASSERT_TRUE(RunCommand([&](CFilterOptionDlg& dialog) {
        for (UINT nID : {IDC_FO_FIR_HIGH, IDC_FO_FIR_LOW, IDC_FO_TG_START, IDC_FO_TG_LINEAR, IDC_FO_TG_EXPONENT}) {
            SCOPED_TRACE(nID);
            CRect label, edit;
            dialog.GetDlgItem(int(nID))->GetWindowRect(&label);
            dialog.GetValueEdit(nID)->GetWindowRect(&edit);
            EXPECT_EQ(edit.left, label.right + 5);
            EXPECT_EQ(edit.top, label.top - 2);
            EXPECT_EQ(edit.Size(), CSize(50, 18));
        }
        EXPECT_EQ(EditText(dialog, IDC_FO_TG_START), L"17");
        EXPECT_EQ(EditText(dialog, IDC_FO_FIR_HIGH), L"33");
        int lower = 0, upper = 0;
        dialog.GetValueEdit(IDC_FO_TG_START)->GetSpin().GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, samples);
        Press(dialog, IDCANCEL);
    }));
}

TEST_F(FilterOptionDlgTest, OnlyTheFocusedButtonsEndTheDialog)
{
    std::vector<bool> open;
    // The dialog runs its own loop; the keys come from it.
    CDialog::SetModalHook([&](CDialog& dialog) {
        QTimer::singleShot(0, [&] {
            auto& filter = dynamic_cast<CFilterOptionDlg&>(dialog);
            CWnd& edit = filter.GetValueEdit(IDC_FO_TG_LINEAR)->GetEdit();
            edit.SetFocus();
            Type(filter, IDC_FO_TG_LINEAR, L"1200");
            PressKey(edit, Qt::Key_Return);
            open.push_back(dialog.GetWidget()->isVisible());
            edit.SetFocus();
            PressKey(edit, Qt::Key_Escape);
            open.push_back(dialog.GetWidget()->isVisible());
            dialog.SendMessage(WM_CLOSE);
            open.push_back(dialog.GetWidget()->isVisible());
            // The close box cancels from the Cancel button.
            dialog.GetDlgItem(IDCANCEL)->SetFocus();
            dialog.SendMessage(WM_CLOSE);
            open.push_back(dialog.GetWidget()->isVisible());
        });
    });
    Params().m_iTgLinear = 1000;
    CFilterOptionDlg dialog;
    dialog.LoadSettings(&Doc()->m_project);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(open, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(Params().m_iTgLinear, 1000);
}

TEST_F(FilterOptionDlgTest, WithoutAProjectTheCommandSaysSoAndShowsNoDialog)
{
    m_pApp->GetDocument()->OnCloseDocument();
    // The menu item is disabled then; the handler itself refuses too.
    bool bShown = false;
    CDialog::SetModalHook([&](CDialog& dialog) {
        bShown = true;
        Press(dialog, IDCANCEL);
    });
    m_pApp->OnFilterOptions();
    EXPECT_FALSE(bShown);
    EXPECT_TRUE(m_boxes.Contains(L"No project has been loaded."));
}
