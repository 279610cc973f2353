#include "BenchSupport.h"

#include "DrawDataObject.h"
#include "FileIo.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"
#include "Values.h"

#include <cstdlib>
#include <filesystem>

CReferenceSurvey::CReferenceSurvey()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        m_error = "cannot create a temporary folder";
        return;
    }
    m_root = pattern;
    const SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
    if (!SurveyGen::WriteSurvey(params, m_root + "/survey", &m_error))
        return;
    for (const SurveyGen::CProfileInfo& profile : SurveyGen::ListProfiles(params))
        (profile.vertical ? m_vertical : m_horizontal).push_back(FromAnsi(profile.name + ".rd3"));
    m_spacing = params.lineSpacing;
    std::error_code ec;
    std::filesystem::create_directories(m_root + "/project", ec);
    if (ec)
        m_error = "cannot create the project folder";
}

CReferenceSurvey::~CReferenceSurvey()
{
    std::error_code ec;
    if (!m_root.empty())
        std::filesystem::remove_all(m_root, ec);
}

std::wstring CReferenceSurvey::SourceFolder() const
{
    return FromAnsi(m_root + "/survey");
}

std::wstring CReferenceSurvey::ProjectFolder() const
{
    return FromAnsi(m_root + "/project");
}

const CReferenceSurvey& ReferenceSurvey()
{
    static const CReferenceSurvey s_survey;
    return s_survey;
}

std::wstring CreateReferenceProject(const std::string& subfolder, const std::wstring& name, std::string& error)
{
    const CReferenceSurvey& survey = ReferenceSurvey();
    if (!survey.m_error.empty()) {
        error = survey.m_error;
        return std::wstring();
    }
    std::error_code ec;
    std::filesystem::create_directories(survey.m_root + "/" + subfolder, ec);
    const std::wstring folder = FromAnsi(survey.m_root + "/" + subfolder);
    std::wstring message;
    if (Create3DProject(message, survey.SourceFolder(), folder, name, survey.m_vertical, survey.m_horizontal,
                        survey.m_spacing) != CREATE_OK) {
        error = "creation failed: " + ToAnsi(message);
        return std::wstring();
    }
    return JoinPath(folder, name + L".rhd");
}

std::wstring ReferenceProjectPath(std::string& error)
{
    static std::string s_error;
    static const std::wstring s_path = CreateReferenceProject("project", L"3D_reference", s_error);
    error = s_error;
    return s_path;
}

bool WriteDrawingObjectFile(const std::wstring& path, int count, int columns, int rows, int depthSteps)
{
    std::string text = "quarvel\tv1.4.0\r\n";
    for (int i = 0; i < count; ++i) {
        Tovrik::CDrawDataObject object;
        object.m_nType = i % 3;
        object.m_fX1 = static_cast<float>(i % columns);
        object.m_fY1 = static_cast<float>(i / columns % rows);
        object.m_fX2 = object.m_fX1 + 2.5f;
        object.m_fY2 = object.m_fY1 + 1.25f;
        object.m_fZ1 = object.m_fZ2 = static_cast<float>(40 + i % depthSteps);
        object.m_crFill = object.m_crLine = static_cast<uint32_t>(i * 7919) & 0xFFFFFF;
        text += object.Write();
    }
    CSaveFile file(path);
    return file.Open() && file.Write(text.data(), text.size()) && file.Commit();
}

std::wstring SurveyProjectPath(std::string& error)
{
    return ReferenceProjectPath(error);
}

std::wstring SurveyCaseProjectPath(const std::string& subfolder, const std::wstring& name, std::string& error)
{
    return CreateReferenceProject(subfolder, name, error);
}

std::string SurveyScratchFolder()
{
    return ReferenceSurvey().m_root;
}
