#pragma once
// The survey that the interactive cases run on. Each benchmark program defines these functions
// for its own survey: quarvel_bench for the reference survey, quarvel_bench_large for the large
// one, whose set-up takes minutes and so happens once per run.

#include <string>

class C3DMatrix;
class CProject;

// The project the main window opens: its ".rhd" path, or empty with error set.
std::wstring SurveyProjectPath(std::string& error);

// A project for a case that changes settings, in the subfolder under the name where the survey
// makes one per case; empty with error set when that failed.
std::wstring SurveyCaseProjectPath(const std::string& subfolder, const std::wstring& name, std::string& error);

// A folder of the run for the program's configuration, log and recent-file list.
std::string SurveyScratchFolder();

// Opens the project with its matrix: read from the cache where the project's settings are for
// its data, computed otherwise. False, with error set, when either failed.
bool OpenComputed(CProject& project, C3DMatrix& matrix, const std::wstring& path, std::string& error);
