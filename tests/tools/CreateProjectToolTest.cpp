#include "SurveyGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(CreateProjectTool, FoldersAreTheBytesGivenEvenWhenNotUtf8)
{
    // Latin-1 folder names, as older systems and copied media leave them.
    const CTempDir dir;
    const std::string survey = dir.File("survey\xe9");
    const std::string out = dir.File("projects\xe9");
    std::string error;
    ASSERT_TRUE(SurveyGen::WriteSurvey(SurveyGen::SmallSurvey(), survey, &error)) << error;
    const std::string command = std::string(CREATEPROJECT_PATH) + " --survey '" + survey + "' --out '" + out +
                                "' --name p > '" + dir.File("stdout") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(dir.File("stdout"));
    EXPECT_TRUE(fs::is_regular_file(out + "/p/3D_p_2.rd6"));
    EXPECT_EQ(ReadFileBytes(dir.File("stdout")), out + "/p/3D_p.rhd\n");
}
