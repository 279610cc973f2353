// What the main window shows after the velocity and background-removal dialogs and after a
// recomputation that fails.

#include "DialogTestSupport.h"
#include "Dialog.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <vector>

namespace {
class ModalToolResultTest : public OpenProjectFixture
{
protected:
    CProjectSettings& Settings() { return Doc()->m_project.m_settings; }
};
} // namespace

// Contrast, time gain and slice thickness kept on OK reach the views, whether the matrix was
// computed anew or read back from the cache; Cancel puts them back and tells nobody.
TEST_F(ModalToolResultTest, DisplayValuesKeptOnOkWithoutANewMatrixReachTheViews)
{
    Settings().m_params.m_iDelMean = 10;
    const int32_t contrast = Settings().m_iContrast;
    const int32_t timeGain = Settings().m_params.m_iTimeGain;
    struct
    {
        const char* name;
        UINT nCommand;
        int nButton;
    } cases[] = {
        {"velocity, OK", ID_TOOLBAR_VELOCITY, IDOK},
        {"velocity, cancel", ID_TOOLBAR_VELOCITY, IDCANCEL},
        {"background removal, OK", ID_TOOLBAR_BKGR, IDOK},
        {"background removal, cancel", ID_TOOLBAR_BKGR, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().m_iContrast = contrast;
        Settings().m_params.m_iTimeGain = timeGain;
        m_frameListener.m_notes.clear();
        bool bShown = false;
        CDialog::SetModalHook([&](CDialog& dialog) {
            bShown = true;
            // As the dialog's own pop-ups leave them.
            Settings().m_iContrast = contrast + 3;
            Settings().m_params.m_iTimeGain = timeGain + 5;
            Press(dialog, c.nButton);
        });
        Frame()->SendMessage(WM_COMMAND, c.nCommand, 0);
        CDialog::SetModalHook(nullptr);
        ASSERT_TRUE(bShown);
        if (c.nButton == IDOK) {
            // After the codes of a new matrix, when the dialog counted the change as one.
            std::vector<LPARAM> changes = m_frameListener.Changes();
            ASSERT_GE(changes.size(), 2u);
            changes.erase(changes.begin(), changes.end() - 2);
            EXPECT_EQ(Settings().m_iContrast, contrast + 3);
            EXPECT_EQ(changes, (std::vector<LPARAM>{MakeCodeParam(DATA_CONTRAST, contrast + 3),
                                                    MakeCodeParam(DATA_TIME_GAIN, timeGain + 5)}));
        } else {
            EXPECT_EQ(Settings().m_iContrast, contrast);
            EXPECT_EQ(Settings().m_params.m_iTimeGain, timeGain);
            EXPECT_TRUE(m_frameListener.Changes().empty());
        }
    }
}

TEST_F(ModalToolResultTest, AFailedRecomputationIsShown)
{
    // The traces of the first direction end early: no line set can be computed.
    std::filesystem::resize_file(m_project.File("_1.rd6"), 100);
    m_boxes.m_texts.clear();
    m_pApp->ApplyZeroLevel(float(Settings().m_iZeroLevel + 4));
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"The data could not be computed with the new settings."});
}
