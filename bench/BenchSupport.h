#pragma once
// The generator's reference survey and its 3D project, written once per benchmark process
// into a temporary folder that is removed at exit.

#include "BenchApplication.h"
#include "BenchSurvey.h"

#include <string>
#include <vector>

class CReferenceSurvey
{
public:
    CReferenceSurvey();
    ~CReferenceSurvey();
    CReferenceSurvey(const CReferenceSurvey&) = delete;
    CReferenceSurvey& operator=(const CReferenceSurvey&) = delete;

    std::wstring SourceFolder() const;
    std::wstring ProjectFolder() const;

    std::string m_root;
    std::string m_error;  // empty when the survey was written
    std::vector<std::wstring> m_vertical;
    std::vector<std::wstring> m_horizontal;
    double m_spacing = 0;
};

const CReferenceSurvey& ReferenceSurvey();

// Creates a project of the reference survey under the survey's temporary folder; its ".rhd"
// path, or empty with error set.
std::wstring CreateReferenceProject(const std::string& subfolder, const std::wstring& name, std::string& error);

// The project "3D_reference", created on first use; empty with error set when that failed.
std::wstring ReferenceProjectPath(std::string& error);

// Writes a drawing-object file (".3qo") of count lines, rectangles and circles in many colours:
// object i at x = i % columns, y = i / columns % rows, at depth 40 + i % depthSteps; false when
// it could not be written.
bool WriteDrawingObjectFile(const std::wstring& path, int count, int columns, int rows, int depthSteps);
