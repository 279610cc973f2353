// The zero level dialog on a generated project: the trace it shows, the drag, typed and
// automatic roads, the direction switch, the gain, and the application's road after OK.

#include "DialogTestSupport.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "Button.h"
#include "ResourceIds.h"
#include "SliderCtrl.h"
#include "ZeroLevelDlg.h"

#include "Project.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <functional>

namespace {
class ZeroLevelDlgTest : public OpenProjectFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenProjectFixture::SetUp());
    }
    CProject& Project() { return Doc()->m_project; }
    // The dialog made as the application makes it, but modeless.
    void Open(CZeroLevelDlg& dialog)
    {
        dialog.SetData(&Project());
        ASSERT_TRUE(dialog.Create(CZeroLevelDlg::IDD, Frame()));
    }
    // Trace of a line as the dialog shows it: scaled and band-passed.
    std::vector<float> Expected(bool bAlongX, int line, int trace)
    {
        const int n = Project().m_settings.m_iSamples;
        if (bAlongX)
            Project().SelectYProfile(line);
        else
            Project().SelectXProfile(line);
        std::vector<int16_t> raw(static_cast<size_t>(n));
        Project().ReadTrace(trace, raw.data());
        std::vector<float> samples(static_cast<size_t>(n)), filtered(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            samples[size_t(i)] = float(raw[size_t(i)]) * 3.051851e-5f;
        FirBandPass(samples.data(), filtered.data(), n, true, 25, 5);
        return filtered;
    }
    static std::vector<float> Shown(CZeroLevelDlg& dialog)
    {
        const float* p = dialog.GetTraceView().GetSamples();
        return std::vector<float>(p, p + dialog.GetTraceView().GetSampleCount());
    }
    static int Checked(CDialog& dialog, int nID)
    {
        auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(nID));
        return pButton ? pButton->GetCheck() : -1;
    }
    static float ZeroLine(CZeroLevelDlg& dialog)
    {
        return dialog.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_fValue;
    }

};
} // namespace

TEST_F(ZeroLevelDlgTest, OpensOnTheProjectsZeroLevelAndTheFirstTrace)
{
    Project().m_settings.m_iZeroLevel = 17;
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    const CProjectSettings& s = Project().m_settings;
    EXPECT_EQ(dialog.GetZeroLevelEdit().GetPos(), 17);
    EXPECT_EQ(ZeroLine(dialog), 17.0f);
    EXPECT_TRUE(dialog.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_bVisible);
    EXPECT_EQ(dialog.GetDirection(), CZeroLevelDlg::DIRECTION_X);
    EXPECT_EQ(Checked(dialog, IDC_ZL_X_SECTION), 1);
    EXPECT_EQ(dialog.GetLineSlider().m_fMax, float(s.GetYLineCount() - 1));
    EXPECT_EQ(dialog.GetTraceSlider().m_fMax, float(s.m_iSizeX - 1));
    EXPECT_EQ(dialog.GetGainSlider()->GetPos(), 6);
    EXPECT_EQ(dialog.GetTraceView().m_fGain, 1.0f);
    EXPECT_EQ(Shown(dialog), Expected(true, 0, 0));
    // The dialog leaves the project alone.
    EXPECT_EQ(s.m_iZeroLevel, 17);
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, DraggedAndTypedZeroLevelsMeetInBoxAndLine)
{
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    // The trace view reports a drag to 12.6 by its id; the box shows it rounded.
    dialog.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_fValue = 12.6f;
    dialog.SendMessage(WM_VALUE_CHANGED, IDC_ZL_TRACE_VIEW, MakeCodeParam(1, 12));
    EXPECT_EQ(dialog.GetZeroLevelEdit().GetPos(), 13);

    // Typing 40 and Enter moves the line.
    CEdit& edit = dialog.GetZeroLevelEdit().GetEdit();
    edit.SetFocus();
    edit.SetWindowText(L"40");
    PressKey(edit, Qt::Key_Return);
    ProcessEvents();
    EXPECT_EQ(ZeroLine(dialog), 40.0f);
    EXPECT_EQ(dialog.GetZeroLevel(), 40.0f);
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, ResultStaysWithinTheTrace)
{
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    const float last = float(Project().m_settings.m_iSamples - 1);
    const struct
    {
        float line, result;
    } cases[] = {{12.6f, 12.6f}, {-3.0f, 0.0f}, {5000.0f, last}, {std::nanf(""), 0.0f}};
    for (const auto& c : cases) {
        dialog.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_fValue = c.line;
        EXPECT_EQ(dialog.GetZeroLevel(), c.result) << c.line;
    }
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, SignalGainSixIsUnitGain)
{
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    const struct
    {
        UINT code;
        int pos;
        float gain;
    } cases[] = {{TB_THUMBTRACK, 12, 2.0f}, {TB_THUMBPOSITION, 6, 1.0f}, {TB_THUMBTRACK, 3, 0.5f}};
    for (const auto& c : cases) {
        dialog.SendMessage(WM_HSCROLL, MakeScrollParam(c.code, c.pos), 0);
        EXPECT_EQ(dialog.GetTraceView().m_fGain, c.gain) << c.pos;
    }
    // A key step reads the trackbar itself.
    dialog.GetGainSlider()->SetPos(18);
    dialog.SendMessage(WM_HSCROLL, MakeScrollParam(TB_LINEDOWN, 0), 0);
    EXPECT_EQ(dialog.GetTraceView().m_fGain, 3.0f);
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, EachDirectionKeepsItsLineAndTrace)
{
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    const CProjectSettings& s = Project().m_settings;
    MoveSlider(dialog.GetLineSlider(), 2.0f);
    MoveSlider(dialog.GetTraceSlider(), 5.0f);
    EXPECT_EQ(Shown(dialog), Expected(true, 2, 5));

    dialog.SetDirection(CZeroLevelDlg::DIRECTION_Y);
    EXPECT_EQ(Checked(dialog, IDC_ZL_Y_SECTION), 1);
    EXPECT_EQ(dialog.GetLineSlider().m_fMax, float(s.GetXLineCount() - 1));
    EXPECT_EQ(dialog.GetTraceSlider().m_fMax, float(s.m_iSizeY - 1));
    EXPECT_EQ(dialog.GetLineSlider().m_fValue, 0.0f);
    EXPECT_EQ(Shown(dialog), Expected(false, 0, 0));
    MoveSlider(dialog.GetTraceSlider(), 7.0f);
    EXPECT_EQ(Shown(dialog), Expected(false, 0, 7));

    dialog.SetDirection(CZeroLevelDlg::DIRECTION_X);
    EXPECT_EQ(dialog.GetLineSlider().m_fValue, 2.0f);
    EXPECT_EQ(dialog.GetTraceSlider().m_fValue, 5.0f);
    EXPECT_EQ(Shown(dialog), Expected(true, 2, 5));
    dialog.SetDirection(CZeroLevelDlg::DIRECTION_Y);
    EXPECT_EQ(dialog.GetTraceSlider().m_fValue, 7.0f);
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, AutomaticZeroLevelIsTheMatrixOneOverTheTracesWithData)
{
    CZeroLevelDlg dialog(Frame());
    Open(dialog);
    CProjectSettings& s = Project().m_settings;
    const int n = s.m_iSamples;
    // The first X line runs past its profile's end: the grid traces there are all zero and
    // have no first arrival.
    Project().SelectXProfile(0);
    int64_t sum = 0, withData = 0;
    for (int t = 1; t < s.m_iSizeY; ++t) {
        std::vector<int16_t> raw(static_cast<size_t>(n));
        Project().ReadTrace(t, raw.data());
        if (std::all_of(raw.begin(), raw.end(), [](int16_t v) { return v == 0; }))
            continue;
        std::vector<float> trace(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            trace[size_t(i)] = float(raw[size_t(i)]) * 3.051851e-5f;
        sum += FindFirstArrival(trace.data(), n);
        ++withData;
    }
    ASSERT_GT(withData, 0);
    ASSERT_LT(withData, s.m_iSizeY - 1);
    const int expected = int(sum / withData);
    // The generated direct wave peaks at the survey's zero level; its first arrival lies just before.
    EXPECT_GT(expected, 5);
    EXPECT_LE(expected, m_project.params.zeroLevel);
    dialog.SendMessage(WM_COMMAND, IDC_ZL_RESTORE, 0);
    EXPECT_EQ(dialog.GetZeroLevelEdit().GetPos(), expected);
    EXPECT_EQ(ZeroLine(dialog), float(expected));

    s.m_bUseZeroLevel = false;
    s.m_iZeroLevel = 0;
    ASSERT_TRUE(Doc()->m_matrix.Calculate());
    EXPECT_EQ(s.m_iZeroLevel, expected);

    // With one trace per X line there is nothing to average: nothing changes.
    dialog.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_fValue = 3.0f;
    Project().m_settings.m_iSizeY = 1;
    dialog.OnRestoreZeroLevel();
    EXPECT_EQ(ZeroLine(dialog), 3.0f);
    dialog.DestroyWindow();
}

TEST_F(ZeroLevelDlgTest, ApplicationRoundsRecomputesAndKeepsTheCrossHairBelow)
{
    const struct
    {
        const char* name;
        float result;
        float depthBefore;
        int zero;
        float depthAfter;
        bool bTold;
    } cases[] = {
        {"depth above the new zero level", 30.4f, 5.0f, 30, 30.0f, true},
        {"rounded up, depth below", 29.5f, 50.0f, 30, 50.0f, true},
        {"same as before", 21.4f, 5.0f, 21, 5.0f, false},
    };
    for (const auto& c : cases) {
        CProjectSettings& s = Project().m_settings;
        s.m_iZeroLevel = 21;
        s.m_bUseZeroLevel = false;
        Project().m_fCursorDepth = c.depthBefore;
        // The first sample of the matrix, overwritten only by a new computation.
        float& mark = Doc()->m_matrix.EditVertTrace(0, 0)[0];
        mark = 12345.0f;
        m_frameListener.m_notes.clear();
        m_pApp->ApplyZeroLevel(c.result);
        EXPECT_EQ(s.m_iZeroLevel, c.zero) << c.name;
        EXPECT_EQ(s.m_bUseZeroLevel, c.bTold) << c.name;
        EXPECT_EQ(Project().m_fCursorDepth, c.depthAfter) << c.name;
        EXPECT_EQ(mark != 12345.0f, c.bTold) << c.name;
        if (c.bTold) {
            EXPECT_EQ(Project().m_fHoverDepth, c.depthAfter) << c.name;
            if (c.depthAfter == float(c.zero)) {
                EXPECT_EQ(s.m_iDepthIndex, c.zero) << c.name;
            }
            const std::vector<std::pair<UINT, LPARAM>> told = {
                {WM_DATA_CHANGED, MakeCodeParam(DATA_ZERO_LEVEL, 0)}, {WM_CURSOR_MOVED, MakeCursorParam(0, true)}};
            EXPECT_EQ(m_frameListener.m_notes, told) << c.name;
        } else {
            EXPECT_TRUE(m_frameListener.m_notes.empty()) << c.name;
        }
    }
}

TEST_F(ZeroLevelDlgTest, MenuCommandTakesTheDialogsValueOnOkOnly)
{
    m_pApp->OnIdle(0);
    Project().m_settings.m_iZeroLevel = 21;
    for (int answer : {IDCANCEL, IDOK}) {
        std::vector<UINT> shown;
        CDialog::SetModalHook([&](CDialog& dialog) {
            shown.push_back(dialog.GetTemplateID());
            auto& zero = dynamic_cast<CZeroLevelDlg&>(dialog);
            zero.GetTraceView().m_lines[CTraceView::LineZeroLevel].m_fValue = 25.0f;
            auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(answer));
            ASSERT_NE(pButton, nullptr);
            pButton->SetFocus();
            pButton->Click();
        });
        Frame()->SendMessage(WM_COMMAND, ID_ZERO_LEVEL_OPTIONS, 0);
        EXPECT_EQ(shown, std::vector<UINT>{IDD_ZERO_LEVEL});
        EXPECT_EQ(Project().m_settings.m_iZeroLevel, answer == IDOK ? 25 : 21);
    }
    CDialog::SetModalHook(nullptr);
    Doc()->OnCloseDocument();
    m_pApp->OnZeroLevelOptions();
    EXPECT_TRUE(m_boxes.Contains(L"No project has been loaded."));
}
