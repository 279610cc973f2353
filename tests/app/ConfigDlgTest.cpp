// The settings dialog and its pages: what each page shows of the configuration, what OK
// stores and reports as a change, Cancel, the palette page's choices and edits, and the
// Options command with its broadcasts, the unit switch and the saved configuration.

#include "AppFixture.h"
#include "ConfigDlg.h"
#include "ConfigTab1Dlg.h"
#include "ConfigTab2Dlg.h"
#include "ConfigTab3Dlg.h"
#include "PaletteDraw.h"

#include "Button.h"
#include "ComboBox.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelResources.h"
#include "ResourceIds.h"

#include "Cfg.h"
#include "FileIo.h"
#include "Units.h"
#include "Values.h"

#include <QComboBox>
#include <QMenu>
#include <QTabBar>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {
CButton* ButtonOf(CWnd* pPage, int nID)
{
    return dynamic_cast<CButton*>(pPage->GetDlgItem(nID));
}

CComboBox* ComboOf(CWnd* pPage, int nID)
{
    return dynamic_cast<CComboBox*>(pPage->GetDlgItem(nID));
}

// The user picks the item with that text.
void Choose(CWnd* pPage, int nID, const std::wstring& text)
{
    auto* combo = static_cast<QComboBox*>(ComboOf(pPage, nID)->GetWidget());
    const int index = combo->findText(QString::fromStdWString(text));
    ASSERT_GE(index, 0);
    combo->setCurrentIndex(index);
}

// The user's click at a point of the page.
void ClickAt(CWnd* pPage, CPoint point)
{
    pPage->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    pPage->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// A point of the editor's box (in the box row, or in the marker row above it), in page
// coordinates.
CPoint BoxPoint(CConfigTab2Dlg& page, int nBox, bool bMarkerRow = false)
{
    const CRect& rect = page.GetEditor().m_rect;
    return {rect.left + 10 * nBox + 5, rect.top + (bMarkerRow ? 2 : 12)};
}

// Runs the dialog: act sees it initialised, then the button ends it.
INT_PTR RunConfigDlg(CConfigDlg& dialog, const std::function<void(CConfigDlg&)>& act, int nButton = IDOK)
{
    CDialog::SetModalHook([&act, nButton](CDialog& shown) {
        auto& config = dynamic_cast<CConfigDlg&>(shown);
        act(config);
        ButtonOf(&config, nButton)->Click();
    });
    const INT_PTR result = dialog.DoModal();
    CDialog::SetModalHook(nullptr);
    return result;
}

class ConfigDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetResourceSet(&GetQuarvelResources());
        g_cfg.SetDefaults();
        g_cfg.InitPalettes();
    }
    void TearDown() override
    {
        g_cfg.SetDefaults();
        AfxSetResourceSet(nullptr);
    }

    CScriptedMessageBoxes m_boxes;
    CScriptedColorDialog m_colors;
};
} // namespace

TEST_F(ConfigDlgTest, PagesInTabOrderShowTheConfiguration)
{
    struct Case
    {
        int layout;
        bool remember;
        bool wheel;
    };
    for (const Case& c : {Case{0, true, false}, Case{1, false, true}, Case{2, true, true}}) {
        SCOPED_TRACE(c.layout);
        g_cfg.m_nLayout = c.layout;
        g_cfg.m_bRememberWindow = c.remember;
        g_cfg.m_bUseMouseWheel = c.wheel;
        CConfigDlg dialog;
        EXPECT_EQ(RunConfigDlg(
                      dialog,
                      [&c](CConfigDlg& d) {
                          const std::vector<std::wstring> captions = {L"Window", L"Colours", L"Projects"};
                          EXPECT_EQ(d.GetTabCtrl().GetCaptions(), captions);
                          EXPECT_EQ(d.GetTabCtrl().GetCurSel(), 0);
                          CConfigTab1Dlg* pPage = d.GetWindowPage();
                          EXPECT_TRUE(pPage->IsLoaded());
                          EXPECT_EQ(pPage->GetLayout(), c.layout);
                          const int radios[] = {IDC_LAYOUT_SIMPLE, IDC_LAYOUT_WIDE, IDC_LAYOUT_PROJECTION};
                          for (int i = 0; i < 3; ++i)
                              EXPECT_EQ(ButtonOf(pPage, radios[i])->GetCheck(), i == c.layout ? BST_CHECKED : BST_UNCHECKED);
                          // The projection layout is never offered, only shown as set.
                          EXPECT_TRUE(ButtonOf(pPage, IDC_LAYOUT_PROJECTION)->GetWidget()->isHidden());
                          EXPECT_EQ(ButtonOf(pPage, IDC_REMEMBER_WINDOW)->GetCheck(), c.remember ? 1 : 0);
                          EXPECT_EQ(ButtonOf(pPage, IDC_USE_MOUSE_WHEEL)->GetCheck(), c.wheel ? 1 : 0);
                      },
                      IDCANCEL),
                  IDCANCEL);
    }
}

TEST_F(ConfigDlgTest, ProjectsPageListsUnitSystemsSortedAndSelectsTheCurrentOne)
{
    struct Case
    {
        int units;
        int selected; // combo index, -1 none
    };
    for (const Case& c : {Case{0, 1}, Case{1, 0}, Case{7, -1}}) {
        SCOPED_TRACE(c.units);
        g_cfg.m_units = TUnits(c.units);
        CConfigDlg dialog;
        RunConfigDlg(dialog, [&c](CConfigDlg& d) {
            CComboBox* pCombo = ComboOf(d.GetProjectsPage(), IDC_UNITS_NAMES);
            ASSERT_EQ(pCombo->GetCount(), 2);
            EXPECT_EQ(pCombo->GetLBText(0), L"Imperial units");
            EXPECT_EQ(pCombo->GetLBText(1), L"SI units");
            EXPECT_EQ(pCombo->GetCurSel(), c.selected);
        });
        // A unit system the list does not name becomes the first one.
        EXPECT_EQ(int(g_cfg.m_units), c.units == 7 ? 0 : c.units);
    }
}

TEST_F(ConfigDlgTest, OkStoresEveryPageAndCountsOnlyRealChanges)
{
    struct Case
    {
        const char* name;
        std::function<void(CConfigDlg&)> act;
        bool changed;
        std::function<bool()> stored;
    };
    const Case cases[] = {
        {"nothing", [](CConfigDlg&) {}, false, [] { return g_cfg.m_nLayout == 1 && !g_cfg.m_bRememberWindow; }},
        {"remember window",
         [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_REMEMBER_WINDOW)->Click(); }, false,
         [] { return g_cfg.m_bRememberWindow; }},
        {"mouse wheel", [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_USE_MOUSE_WHEEL)->Click(); }, false,
         [] { return !g_cfg.m_bUseMouseWheel; }},
        {"simple layout", [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_LAYOUT_SIMPLE)->Click(); }, true,
         [] { return g_cfg.m_nLayout == 0; }},
        {"same layout again", [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_LAYOUT_WIDE)->Click(); }, false,
         [] { return g_cfg.m_nLayout == 1; }},
        {"imperial units", [](CConfigDlg& d) { Choose(d.GetProjectsPage(), IDC_UNITS_NAMES, L"Imperial units"); },
         true, [] { return g_cfg.m_units == TUnits(1); }},
        {"units for all projects", [](CConfigDlg& d) { ButtonOf(d.GetProjectsPage(), IDC_UNITS_ALL)->Click(); }, true,
         [] { return g_cfg.m_bUnitsAll && g_cfg.m_units == TUnits(0); }},
        {"palette for all projects",
         [](CConfigDlg& d) { ButtonOf(d.GetColoursPage(), IDC_PALETTE_ALL)->Click(); }, false,
         [] { return g_cfg.m_bPaletteAll; }},
        {"layout and palette",
         [](CConfigDlg& d) {
             ButtonOf(d.GetWindowPage(), IDC_LAYOUT_SIMPLE)->Click();
             Choose(d.GetColoursPage(), IDC_PALETTE_NAMES, L"Red-blue");
         },
         true,
         [] {
             TPaletteTable redBlue{};
             g_cfg.GetPaletteColors(L"Red-blue", redBlue);
             return g_cfg.m_nLayout == 0 && g_cfg.m_nCurPalette == 1 && g_cfg.m_curColors == redBlue;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_cfg.SetDefaults();
        g_cfg.InitPalettes();
        CConfigDlg dialog;
        EXPECT_EQ(RunConfigDlg(dialog, c.act), IDOK);
        EXPECT_EQ(dialog.m_bChanged, c.changed);
        EXPECT_TRUE(c.stored());
    }
}

TEST_F(ConfigDlgTest, CancelAfterChangingEveryPageLeavesTheConfiguration)
{
    m_colors.m_answers = {RGB(255, 0, 0)};
    CConfigDlg dialog;
    EXPECT_EQ(RunConfigDlg(
                  dialog,
                  [](CConfigDlg& d) {
                      ButtonOf(d.GetWindowPage(), IDC_LAYOUT_SIMPLE)->Click();
                      ButtonOf(d.GetWindowPage(), IDC_REMEMBER_WINDOW)->Click();
                      ClickAt(d.GetColoursPage(), BoxPoint(*d.GetColoursPage(), 3));
                      ButtonOf(d.GetColoursPage(), IDC_PALETTE_ALL)->Click();
                      Choose(d.GetProjectsPage(), IDC_UNITS_NAMES, L"Imperial units");
                  },
                  IDCANCEL),
              IDCANCEL);
    EXPECT_FALSE(dialog.m_bChanged);
    EXPECT_EQ(m_colors.m_initials.size(), 1u);
    EXPECT_EQ(g_cfg.m_nLayout, 1);
    EXPECT_FALSE(g_cfg.m_bRememberWindow);
    EXPECT_FALSE(g_cfg.m_bPaletteAll);
    EXPECT_EQ(g_cfg.m_nCurPalette, 0);
    TPaletteTable gray{};
    FillGrayPalette(gray);
    EXPECT_EQ(g_cfg.m_curColors, gray);
    EXPECT_EQ(g_cfg.m_userColors, gray);
    EXPECT_EQ(g_cfg.m_units, TUnits(0));
}

TEST_F(ConfigDlgTest, ColourChangedOnABoxMakesTheUserPaletteCurrent)
{
    struct Case
    {
        COLORREF chosen;
        bool renamed;
    };
    // Box 3 of the gray palette shows entry 21 (255 / 35 per box).
    for (const Case& c : {Case{RGB(0, 200, 0), true}, Case{RGB(21, 21, 21), false}}) {
        SCOPED_TRACE(c.chosen);
        g_cfg.InitPalettes();
        m_colors.m_answers = {c.chosen};
        m_colors.m_initials.clear();
        CConfigDlg dialog;
        int paletteIndex = -1;
        EXPECT_EQ(RunConfigDlg(dialog,
                               [&](CConfigDlg& d) {
                                   CConfigTab2Dlg& page = *d.GetColoursPage();
                                   paletteIndex = page.GetEditor().GetPaletteIndex(3);
                                   ClickAt(&page, BoxPoint(page, 3));
                                   EXPECT_EQ(page.GetEditor().m_strName, c.renamed ? L"User defined" : L"Black-white");
                                   CComboBox* pCombo = ComboOf(&page, IDC_PALETTE_NAMES);
                                   EXPECT_EQ(pCombo->GetLBText(pCombo->GetCurSel()),
                                             c.renamed ? L"User defined" : L"Black-white");
                               }),
                  IDOK);
        ASSERT_EQ(paletteIndex, 21);
        EXPECT_EQ(m_colors.m_initials, std::vector<COLORREF>{RGB(21, 21, 21)});
        EXPECT_EQ(dialog.m_bChanged, c.renamed);
        EXPECT_EQ(g_cfg.m_nCurPalette, c.renamed ? 2 : 0);
        EXPECT_EQ(g_cfg.m_curColors[21], c.chosen);
        EXPECT_EQ(g_cfg.m_userColors[21], c.renamed ? c.chosen : RGB(21, 21, 21));
    }
}

TEST_F(ConfigDlgTest, SwitchingAwayFromTheUserPaletteAndBackKeepsItsEdits)
{
    m_colors.m_answers = {RGB(0, 128, 0)};
    CConfigDlg dialog;
    RunConfigDlg(dialog, [](CConfigDlg& d) {
        CConfigTab2Dlg& page = *d.GetColoursPage();
        ClickAt(&page, BoxPoint(page, 0));
        Choose(&page, IDC_PALETTE_NAMES, L"Red-blue");
        EXPECT_EQ(page.GetEditor().m_strName, L"Red-blue");
        EXPECT_EQ(page.GetEditor().m_palette[0], 0xFF0000u); // blue
        Choose(&page, IDC_PALETTE_NAMES, L"User defined");
    });
    EXPECT_TRUE(dialog.m_bChanged);
    EXPECT_EQ(g_cfg.m_nCurPalette, 2);
    EXPECT_EQ(g_cfg.m_userColors[0], RGB(0, 128, 0));
    EXPECT_EQ(g_cfg.m_userColors[1], RGB(1, 1, 1));
}

TEST_F(ConfigDlgTest, InterpolateCountsAsAChangeAndRefusesWithoutTwoEnabledMarkers)
{
    CConfigDlg dialog;
    RunConfigDlg(dialog, [this](CConfigDlg& d) {
        CConfigTab2Dlg& page = *d.GetColoursPage();
        CButton* pInterpolate = ButtonOf(&page, IDC_PALETTE_INTERPOLATE);
        pInterpolate->Click();
        ClickAt(&page, BoxPoint(page, 2, true));
        ClickAt(&page, BoxPoint(page, 30, true));
        ClickAt(&page, BoxPoint(page, 30, true)); // disabled again
        pInterpolate->Click();
        EXPECT_EQ(m_boxes.m_texts, (std::vector<std::wstring>{L"Must select atleast two palette colors.",
                                                               L"Atleast two palette colors need to be enabled."}));
        EXPECT_FALSE(page.IsModified());
        ClickAt(&page, BoxPoint(page, 30, true));
        pInterpolate->Click();
        EXPECT_TRUE(page.IsModified());
        EXPECT_EQ(m_boxes.m_texts.size(), 2u);
    });
    EXPECT_TRUE(dialog.m_bChanged);
    EXPECT_TRUE(m_colors.m_initials.empty());
}

namespace {
// Records the program's notices that reach a child of the main window.
class CNoticeRecorder : public CWnd
{
public:
    CNoticeRecorder()
    {
        MapMessage(WM_LAYOUT_CHANGED, [this](WPARAM, LPARAM lParam) {
            m_notices.emplace_back(WM_LAYOUT_CHANGED, GetCode(lParam));
            return LRESULT(0);
        });
        MapMessage(WM_DATA_CHANGED, [this](WPARAM, LPARAM lParam) {
            m_notices.emplace_back(WM_DATA_CHANGED, GetCode(lParam));
            return LRESULT(0);
        });
    }
    std::vector<std::pair<UINT, WORD>> m_notices;
};

class OptionsTest : public AppFixture
{
protected:
    // Options run as the menu command, answered by act and the button.
    void RunOptions(const std::function<void(CConfigDlg&)>& act, int nButton = IDOK)
    {
        CDialog::SetModalHook([&act, nButton](CDialog& shown) {
            auto& config = dynamic_cast<CConfigDlg&>(shown);
            act(config);
            ButtonOf(&config, nButton)->Click();
        });
        Frame()->SendMessage(WM_COMMAND, ID_OPTIONS, 0);
        CDialog::SetModalHook(nullptr);
    }
};
} // namespace

TEST_F(OptionsTest, UnitSwitchBroadcastsAndBecomesTheProjectsAndTheFileIsRewritten)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
    ASSERT_TRUE(Doc()->IsProjectLoaded());
    QAction* options = Frame()->FindMenuItem(ID_OPTIONS);
    ASSERT_NE(options, nullptr);
    Frame()->UpdateMenu(qobject_cast<QMenu*>(options->parent()));
    EXPECT_TRUE(options->isEnabled());
    CNoticeRecorder recorder;
    ASSERT_TRUE(recorder.Create(L"", WS_CHILD, CRect(0, 0, 1, 1), Frame(), 999));
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    const TUnits before = Doc()->m_project.m_settings.m_units;
    ASSERT_EQ(before, TUnits(0));
    const std::wstring coordinates = Frame()->GetStatusBar().GetPaneText(0);

    struct Case
    {
        const char* name;
        std::function<void(CConfigDlg&)> act;
        int button;
        std::vector<std::pair<UINT, WORD>> notices;
        TUnits units;
        const char* fileUnits;
        const char* fileRemember;
    };
    const Case cases[] = {
        {"no change", [](CConfigDlg&) {}, IDOK, {}, TUnits(0), "SI", "0"},
        {"remember window only",
         [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_REMEMBER_WINDOW)->Click(); }, IDOK, {}, TUnits(0), "SI",
         "1"},
        {"cancelled units",
         [](CConfigDlg& d) { Choose(d.GetProjectsPage(), IDC_UNITS_NAMES, L"Imperial units"); }, IDCANCEL, {},
         TUnits(0), "SI", "1"},
        {"imperial units",
         [](CConfigDlg& d) { Choose(d.GetProjectsPage(), IDC_UNITS_NAMES, L"Imperial units"); }, IDOK,
         {{WM_LAYOUT_CHANGED, LAYOUT_APPLY}, {WM_DATA_CHANGED, DATA_RECOMPUTED}, {WM_DATA_CHANGED, DATA_UNITS}},
         TUnits(1), "IMP", "1"},
        {"layout", [](CConfigDlg& d) { ButtonOf(d.GetWindowPage(), IDC_LAYOUT_SIMPLE)->Click(); }, IDOK,
         {{WM_LAYOUT_CHANGED, LAYOUT_APPLY}, {WM_DATA_CHANGED, DATA_RECOMPUTED}}, TUnits(1), "IMP", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.m_notices.clear();
        RemoveFile(CCfg::GetCfgFilePath());
        RunOptions(c.act, c.button);
        EXPECT_EQ(recorder.m_notices, c.notices);
        EXPECT_EQ(Doc()->m_project.m_settings.m_units, c.units);
        EXPECT_EQ(GetFileValue(cfgPath, "cfg.units.type"), c.fileUnits);
        EXPECT_EQ(GetFileValue(cfgPath, "cfg.window.remember"), c.fileRemember);
    }
    EXPECT_EQ(g_cfg.m_nLayout, 0);
    // The main window itself was told: its coordinates read in the new unit.
    const std::wstring imperial = Frame()->GetStatusBar().GetPaneText(0);
    EXPECT_NE(imperial, coordinates);
    EXPECT_NE(imperial.find(GetUnitLabel(TUnits(1), false)), std::wstring::npos) << ToAnsi(imperial);
    recorder.DestroyWindow();
}

TEST_F(OptionsTest, FailedSaveShowsOneMessage)
{
    ASSERT_TRUE(Start({}));
    RemoveFile(CCfg::GetUserPalettePath());
    std::filesystem::create_directories(ToAnsi(CCfg::GetUserPalettePath()));
    m_boxes.m_texts.clear();
    RunOptions([](CConfigDlg&) {});
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Error. Unable to save program's configuration."});
    std::filesystem::remove_all(ToAnsi(CCfg::GetUserPalettePath()));
}
