#pragma once
// A 3D project made from a generated survey, for tests that need real project files.

#include "SurveyGenerator.h"
#include "TestSupport.h"

#include <string>

struct CGeneratedProject
{
    SurveyGen::CSurveyParams params;
    std::string surveyFolder;   // the profiles
    std::string projectFolder;  // the project files
    std::wstring name;          // base name
    std::wstring rhdPath;

    std::string File(const std::string& suffix) const;
};

// Writes the survey under dir and creates its project; fails the calling test on error.
CGeneratedProject CreateGeneratedProject(const CTempDir& dir,
                                         const SurveyGen::CSurveyParams& params = SurveyGen::SmallSurvey());
