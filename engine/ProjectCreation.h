#pragma once
// Creation of a 3D project from imported radar profiles: the profiles' traces are laid onto a
// regular grid and written with the project's header files under one folder and base name.
//
// Trace files "_1.rd6" (vertical profiles, along Y, side by side along X) and "_2.rd6"
// (horizontal profiles): an int32 0, then per line and per grid trace of it a record of the
// unsigned 32-bit grid position x * sizeY + y and the trace's int16 samples, little-endian.
// A line lies every `spacing` traces; grid traces that no profile covers hold zero samples.

#include <cstdint>
#include <string>
#include <vector>

// Results of Create3DProject.
enum : int {
    CREATE_NO_PROFILES = -1,
    CREATE_OK = 0,
    CREATE_INVALID_GRID = 1,            // spacing below one trace, or a grid too large
    CREATE_OUT_OF_MEMORY = 2,
    CREATE_VERTICAL_INCOMPATIBLE = 3,
    CREATE_HORIZONTAL_INCOMPATIBLE = 4,
    CREATE_WRITE_FAILED = 5,            // a project file cannot be written, or samples read
    CREATE_HEADER_UNREADABLE = 6,
};

// Creates the project `projectName` in `projectFolder` from the profiles of `sourceFolder`
// (list entries are file names; their titles name the profiles). `spacing` is the distance
// between neighbouring profiles in metres. On failure `error` holds the message to show; on
// success it is empty, or tells of profiles whose LAST TRACE is cut to the traces their
// samples hold. EM files of an earlier project of that name are kept aside with ".old", and
// its computed volume (".precalc") is removed.
int Create3DProject(std::wstring& error, const std::wstring& sourceFolder,
                    const std::wstring& projectFolder, const std::wstring& projectName,
                    const std::vector<std::wstring>& verticalProfiles,
                    const std::vector<std::wstring>& horizontalProfiles, double spacing);

// The part of a file name between its last separator and its last dot; empty when the name
// has no extension.
std::wstring GetFileTitleNoExt(const std::wstring& path);

// Where importing a project named `name` into `folder` puts it: the subfolder of that name,
// with the files' base name "3D_" followed by the name.
std::wstring GetImportedProjectFolder(const std::wstring& folder, const std::wstring& name);
std::wstring GetImportedProjectBaseName(const std::wstring& name);
// A project name that would lead out of its folder or break a header line: one with a path
// separator or a control character, "." or "..".
bool IsUnsafeProjectName(const std::wstring& name);

std::wstring GetProjectDataPath1(const std::wstring& folder, const std::wstring& name);
std::wstring GetProjectDataPath2(const std::wstring& folder, const std::wstring& name);

// Grid size in traces along the axis of profiles up to `maxTraces` long, with `acrossProfiles`
// profiles lying side by side across it every `spacing` traces: the longest profile rounded
// up to a whole number of spacings plus one, or more when the profiles across need it.
int64_t GetGridSize(int64_t maxTraces, int64_t acrossProfiles, int64_t spacing);
