// Creates a 3D project from the profiles of a survey folder, the way the import dialog does:
// the project goes into a subfolder of the given name under the project folder, with the base
// name "3D_" followed by the name. Profiles "V###" are vertical, "H###" horizontal.

#include "FileIo.h"
#include "ProfileList.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"
#include "Values.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

void PrintUsage(std::ostream& out)
{
    out << "Usage: createproject --survey DIR --out PROJECTFOLDER --name NAME [--spacing M]\n"
           "  --survey DIR            folder of the profiles (V###.rad/.rd3 and H###.rad/.rd3)\n"
           "  --out PROJECTFOLDER     folder that receives the project folder NAME\n"
           "  --name NAME             project name; the files are named 3D_NAME\n"
           "  --spacing M             distance between neighbouring profiles in metres\n"
           "                          (default "
        << FormatReal(SurveyGen::ReferenceSurvey().lineSpacing, 2)
        << ", the generator's reference survey)\n"
           "  --help                  show this text\n";
}

bool ParseDistance(const char* text, double& value)
{
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc() && result.ptr == end && end != text;
}

} // namespace

int main(int argc, char** argv)
{
    std::string survey;
    std::string projectFolder;
    std::string name;
    double spacing = SurveyGen::ReferenceSurvey().lineSpacing;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help") {
            PrintUsage(std::cout);
            return 0;
        }
        if (arg == "--survey" && hasValue) {
            survey = argv[++i];
        } else if (arg == "--out" && hasValue) {
            projectFolder = argv[++i];
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg == "--spacing" && hasValue) {
            if (!ParseDistance(argv[++i], spacing)) {
                std::cerr << "createproject: Profile distance must be a valid number\n";
                return 2;
            }
        } else {
            std::cerr << "createproject: bad argument: " << arg << "\n";
            PrintUsage(std::cerr);
            return 2;
        }
    }
    if (survey.empty()) {
        std::cerr << "createproject: the survey folder must be set.\n";
        return 2;
    }
    if (projectFolder.empty() || name.empty()) {
        std::cerr << "createproject: Project folder and project name must be set.\n";
        return 2;
    }
    if (IsUnsafeProjectName(FromAnsi(name))) {
        std::cerr << "createproject: The project name must not contain a path separator, a control "
                     "character or \"..\".\n";
        return 2;
    }
    if (spacing == 0) {
        std::cerr << "createproject: Profile distance must be a valid number\n";
        return 2;
    }

    std::vector<std::wstring> vertical;
    std::vector<std::wstring> horizontal;
    std::string error;
    if (!ListSurveyProfiles(survey, vertical, horizontal, error)) {
        std::cerr << "createproject: " << error << "\n";
        return 1;
    }
    if (vertical.size() < 2 && horizontal.size() < 2) {
        std::cerr << "createproject: Must select atleast two profiles in one direction.\n";
        return 1;
    }

    // The folders are the system's bytes; the name is text of the project header, as the import
    // dialog takes it.
    const std::wstring directory = GetImportedProjectFolder(FromFileName(projectFolder), FromAnsi(name));
    const std::wstring baseName = GetImportedProjectBaseName(FromAnsi(name));
    std::error_code ec;
    const fs::path nativeDirectory(NativePath(directory));
    if (fs::is_directory(nativeDirectory, ec))
        std::cerr << "createproject: " << nativeDirectory.string()
                  << " exists; files can be overwritten.\n";
    else if (!fs::create_directories(nativeDirectory, ec)) {
        std::cerr << "createproject: cannot create " << nativeDirectory.string() << ": "
                  << ec.message() << "\n";
        return 1;
    }

    std::wstring message;
    const int result = Create3DProject(message, FromFileName(survey), directory, baseName, vertical,
                                       horizontal, spacing);
    if (result != CREATE_OK) {
        std::cerr << "createproject: "
                  << (message.empty() ? "creation failed, result " + FormatInt(result)
                                      : ToAnsi(message))
                  << "\n";
        return 1;
    }
    if (!message.empty())
        std::cerr << "createproject: " << ToAnsi(message) << "\n";
    std::cout << NativePath(JoinPath(directory, baseName + L".rhd")) << "\n";
    return 0;
}
