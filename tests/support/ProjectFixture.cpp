#include "ProjectFixture.h"

#include "ProjectCreation.h"
#include "Values.h"

#include <filesystem>
#include <gtest/gtest.h>

std::string CGeneratedProject::File(const std::string& suffix) const
{
    return projectFolder + "/" + ToAnsi(name) + suffix;
}

CGeneratedProject CreateGeneratedProject(const CTempDir& dir, const SurveyGen::CSurveyParams& params)
{
    CGeneratedProject project;
    project.params = params;
    project.surveyFolder = dir.File("survey");
    project.projectFolder = dir.File("project");
    project.name = L"site";
    std::string error;
    EXPECT_TRUE(SurveyGen::WriteSurvey(params, project.surveyFolder, &error)) << error;
    std::filesystem::create_directories(project.projectFolder);
    std::vector<std::wstring> vertical, horizontal;
    for (const auto& profile : SurveyGen::ListProfiles(params))
        (profile.vertical ? vertical : horizontal).push_back(Wide(profile.name + ".rad"));
    std::wstring message;
    const int result = Create3DProject(message, Wide(project.surveyFolder), Wide(project.projectFolder),
                                       project.name, vertical, horizontal, params.lineSpacing);
    EXPECT_EQ(result, 0) << ToAnsi(message);
    project.rhdPath = Wide(project.File(".rhd"));
    return project;
}
