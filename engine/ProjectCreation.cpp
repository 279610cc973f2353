#include "ProjectCreation.h"

#include "FileIo.h"
#include "Headers.h"
#include "MessageLog.h"
#include "ProfileHeader.h"
#include "Values.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <system_error>
#include <utility>

namespace {

// Largest line of records held in memory; far beyond any recorded profile.
constexpr uint64_t kMaxLineBytes = uint64_t(1) << 30;
// Grid positions are unsigned 32-bit numbers.
constexpr uint64_t kMaxGridTraces = uint64_t(1) << 32;
// A profile header is a few kilobytes.
constexpr int64_t kMaxHeaderBytes = 64 * 1024 * 1024;

double RoundToThousandth(double value)
{
    return std::floor(value * 1000.0 + 0.5) / 1000.0;
}

// The project header holds metres with five decimals; the open refuses a length that reads 0.
bool IsHeldByHeader(double metres)
{
    return ReadReal(FormatReal(metres, 5)) > 0;
}

void PutUint32(unsigned char* p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

// Copies a small file through the safe save; the failure is logged.
bool CopySmallFile(const std::wstring& from, const std::wstring& to)
{
    const int64_t size = GetFileSize(from);
    if (size < 0 || size > kMaxHeaderBytes) {
        g_messageLog.LogFileError(from, size < 0 ? FileErrorCause(ENOENT, from) : 1);
        return false;
    }
    FILE* in = OpenFile(from, "rb");
    if (!in) {
        g_messageLog.LogFileError(from, FileErrorCause(errno, from));
        return false;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    if (read != bytes.size()) {
        g_messageLog.LogFileError(from, 1);
        return false;
    }
    CSaveFile file(to);
    if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        g_messageLog.LogFileError(to, file.GetCause());
        return false;
    }
    return true;
}

bool IsSameFile(const std::wstring& a, const std::wstring& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(NativePath(a), NativePath(b), ec);
}

using CKeyList = std::initializer_list<std::pair<const char*, std::string>>;

class CProjectCreator
{
public:
    CProjectCreator(std::wstring& error, const std::wstring& sourceFolder,
                    const std::wstring& projectFolder, const std::wstring& projectName,
                    const std::vector<std::wstring>& vertical,
                    const std::vector<std::wstring>& horizontal, double spacing)
        : m_error(error), m_source(sourceFolder), m_folder(projectFolder), m_name(projectName),
          m_vertical(vertical), m_horizontal(horizontal), m_dSpacing(spacing)
    {
    }

    int Run();

private:
    const std::vector<std::wstring>& Profiles(bool vertical) const
    {
        return vertical ? m_vertical : m_horizontal;
    }
    std::wstring FilePath(const wchar_t* suffix) const { return JoinPath(m_folder, m_name + suffix); }

    int Fail(int result, const std::wstring& text);
    int WriteFailed(const std::wstring& path);
    int TraceFileFailed(const CSaveFile& file);

    int LoadReference();
    // Traces of the profile: its LAST TRACE, cut to what its ".rd3" holds with a line in
    // m_notice. Fails when the samples cannot be read or hold less than one trace.
    int CountTraces(const CProfileHeader& header, int64_t& traces);
    int CheckProfiles(bool vertical);
    int SetUpGrid();
    int WriteTraceFile(CSaveFile& file, bool vertical);
    int KeepEmDataAside();
    int RemoveEarlierVolume();
    int CopyRadHeader();
    int SaveHeaderFile(const wchar_t* suffix, CKeyList keys);
    int SaveHeaders();

    std::wstring& m_error;
    const std::wstring& m_source;
    const std::wstring& m_folder;
    const std::wstring& m_name;
    const std::vector<std::wstring>& m_vertical;
    const std::vector<std::wstring>& m_horizontal;
    const double m_dSpacing;

    CProfileHeader m_reference;
    std::vector<std::wstring> m_sourceRadPaths; // reference first
    std::wstring m_notice;                      // profiles cut to their samples, one line each
    double m_dLastInterval = 0;                 // of the last profile checked
    int64_t m_iMaxV = 0;                        // longest vertical profile, traces
    int64_t m_iMaxH = 0;
    int64_t m_iSpacing = 0;                     // traces between neighbouring profiles
    int64_t m_iSizeX = 0;
    int64_t m_iSizeY = 0;
    size_t m_traceBytes = 0;
    std::vector<unsigned char> m_samples;       // one profile's traces
    std::vector<unsigned char> m_records;       // one line's records
};

int CProjectCreator::Fail(int result, const std::wstring& text)
{
    m_error = text;
    return result;
}

int CProjectCreator::WriteFailed(const std::wstring& path)
{
    return Fail(CREATE_WRITE_FAILED, L"Error: failed to write project file: " + path);
}

int CProjectCreator::TraceFileFailed(const CSaveFile& file)
{
    g_messageLog.LogFileError(file.GetPath(), file.GetCause());
    return WriteFailed(file.GetPath());
}

int CProjectCreator::LoadReference()
{
    const std::wstring& first = m_vertical.empty() ? m_horizontal.front() : m_vertical.front();
    m_reference.Load(m_source, GetFileTitleNoExt(first));
    if (m_reference.m_iSamples <= 0 || !(m_reference.m_dDistanceInterval > 0))
        return Fail(CREATE_HEADER_UNREADABLE,
                    L"Error: failed to read profile settings: " + m_reference.GetRadFileName());
    return CREATE_OK;
}

int CProjectCreator::CountTraces(const CProfileHeader& header, int64_t& traces)
{
    const std::wstring rd3 = CProfileHeader::GetRd3Path(header.m_strFolder, header.m_strName);
    const int64_t size = GetFileSize(rd3);
    if (size <= 0) {
        g_messageLog.LogFileError(rd3, size < 0 ? FileErrorCause(ENOENT, rd3) : 1);
        return Fail(CREATE_WRITE_FAILED, L"Error: failed to read profile data: " + header.m_strName + L".rd3");
    }
    // Every grid trace is as large as one of the profile's: a SAMPLES beyond its samples is no
    // profile of them.
    const int64_t traceBytes = 2 * int64_t(header.m_iSamples);
    if (size < traceBytes) {
        g_messageLog.Log(LOG_ERROR, "Create 3D project: %s of %lld bytes holds less than one trace of %d samples.",
                         NativePath(rd3).c_str(), static_cast<long long>(size), header.m_iSamples);
        return Fail(CREATE_WRITE_FAILED, L"Error: " + header.m_strName + L".rd3 holds " +
                                             FromAnsi(FormatInt(size)) + L" bytes, less than one trace of " +
                                             FromAnsi(FormatInt(header.m_iSamples)) + L" samples");
    }
    // A part trace at the end counts: its samples are read, the rest are zeros.
    const int64_t held = (size + traceBytes - 1) / traceBytes;
    traces = header.m_iLastTrace;
    if (traces <= held)
        return CREATE_OK;
    const std::wstring rad = CProfileHeader::GetRadPath(header.m_strFolder, header.m_strName);
    g_messageLog.Log(LOG_ERROR,
                     "Create 3D project: LAST TRACE %d of %s is more than the %lld traces of %s (%lld bytes).",
                     header.m_iLastTrace, NativePath(rad).c_str(), static_cast<long long>(held),
                     NativePath(rd3).c_str(), static_cast<long long>(size));
    const std::wstring heldText = FromAnsi(FormatInt(held));
    if (!m_notice.empty())
        m_notice += L"\n";
    m_notice += L"Warning: " + header.GetRadFileName() + L" gives LAST TRACE " +
                FromAnsi(FormatInt(traces)) + L", but " + header.m_strName + L".rd3 holds " + heldText +
                L" traces; the profile is taken as " + heldText + L" traces long.";
    traces = held;
    return CREATE_OK;
}

int CProjectCreator::CheckProfiles(bool vertical)
{
    int64_t& maxTraces = vertical ? m_iMaxV : m_iMaxH;
    const double referenceInterval = RoundToThousandth(m_reference.m_dDistanceInterval);
    for (const std::wstring& entry : Profiles(vertical)) {
        CProfileHeader header;
        const bool loaded = header.Load(m_source, GetFileTitleNoExt(entry));
        if (header.m_iSamples != m_reference.m_iSamples ||
            RoundToThousandth(header.m_dDistanceInterval) != referenceInterval)
            return Fail(vertical ? CREATE_VERTICAL_INCOMPATIBLE : CREATE_HORIZONTAL_INCOMPATIBLE,
                        L"Error: " + m_reference.GetRadFileName() + L" is not compatible with " +
                            header.GetRadFileName());
        // Refused here rather than halfway through writing.
        if (!loaded)
            return Fail(CREATE_HEADER_UNREADABLE,
                        L"Error: failed to read profile settings: " + header.GetRadFileName());
        int64_t traces = 0;
        if (const int result = CountTraces(header, traces); result != CREATE_OK)
            return result;
        maxTraces = std::max(maxTraces, traces);
        m_dLastInterval = header.m_dDistanceInterval;
        m_sourceRadPaths.push_back(FindCompanionFile(JoinPath(m_source, header.GetRadFileName())));
    }
    return CREATE_OK;
}

int CProjectCreator::SetUpGrid()
{
    const double spacing = m_dSpacing / m_dLastInterval + 0.5;
    if (!(spacing >= 1.0))
        return Fail(CREATE_INVALID_GRID,
                    L"Error: profile distance must be at least one trace interval (" +
                        FromAnsi(FormatReal(m_dLastInterval, 5)) + L" m)");
    if (spacing > INT_MAX)
        return Fail(CREATE_INVALID_GRID, L"Error: profile distance is too large");
    const wchar_t* const heldText = L" m) is less than the 0.00001 m a project holds";
    if (!IsHeldByHeader(m_reference.m_dDistanceInterval))
        return Fail(CREATE_INVALID_GRID, L"Error: the distance interval of " + m_reference.GetRadFileName() + L" (" +
                                             FromAnsi(FormatRealShortest(m_reference.m_dDistanceInterval)) + heldText);
    if (!IsHeldByHeader(m_dSpacing))
        return Fail(CREATE_INVALID_GRID,
                    L"Error: profile distance (" + FromAnsi(FormatRealShortest(m_dSpacing)) + heldText);
    m_iSpacing = static_cast<int64_t>(spacing);
    m_iSizeX = GetGridSize(m_iMaxH, static_cast<int64_t>(m_vertical.size()), m_iSpacing);
    m_iSizeY = GetGridSize(m_iMaxV, static_cast<int64_t>(m_horizontal.size()), m_iSpacing);

    m_traceBytes = 2 * static_cast<size_t>(m_reference.m_iSamples);
    const uint64_t longest = static_cast<uint64_t>(std::max(m_iSizeX, m_iSizeY));
    const uint64_t lineBytes = longest * (4 + m_traceBytes);
    if (m_iSizeX > INT_MAX || m_iSizeY > INT_MAX ||
        static_cast<uint64_t>(m_iSizeX) * static_cast<uint64_t>(m_iSizeY) > kMaxGridTraces ||
        lineBytes > kMaxLineBytes)
        return Fail(CREATE_INVALID_GRID,
                    L"Error: the project grid of " + FromAnsi(FormatInt(m_iSizeX)) + L" x " +
                        FromAnsi(FormatInt(m_iSizeY)) + L" traces is too large");
    try {
        m_samples.resize(longest * m_traceBytes);
        m_records.resize(lineBytes);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "Create 3D project: out of memory for %llu bytes",
                         static_cast<unsigned long long>(lineBytes));
        return Fail(CREATE_OUT_OF_MEMORY, L"Error: not enough memory to create the project");
    }
    return CREATE_OK;
}

int CProjectCreator::WriteTraceFile(CSaveFile& file, bool vertical)
{
    const std::vector<std::wstring>& profiles = Profiles(vertical);
    const int64_t lines = ((vertical ? m_iSizeX : m_iSizeY) - 1) / m_iSpacing + 1;
    const int64_t records = vertical ? m_iSizeY : m_iSizeX;
    // Position of record k of line i: x * sizeY + y with x = i * spacing, y = k along a
    // vertical line, and x = k, y = i * spacing along a horizontal one.
    const uint64_t lineStep = static_cast<uint64_t>(m_iSpacing) *
                              (vertical ? static_cast<uint64_t>(m_iSizeY) : 1);
    const uint64_t recordStep = vertical ? 1 : static_cast<uint64_t>(m_iSizeY);
    const size_t recordBytes = 4 + m_traceBytes;
    const size_t sampleBytes = static_cast<size_t>(records) * m_traceBytes;

    static const unsigned char s_leadingZero[4] = {};
    if (!file.Open() || !file.Write(s_leadingZero, sizeof s_leadingZero))
        return TraceFileFailed(file);
    for (int64_t i = 0; i < lines; ++i) {
        std::memset(m_samples.data(), 0, sampleBytes);
        if (static_cast<uint64_t>(i) < profiles.size()) {
            CProfileHeader header;
            if (!header.Load(m_source, GetFileTitleNoExt(profiles[static_cast<size_t>(i)])))
                return Fail(CREATE_HEADER_UNREADABLE,
                            L"Error: failed to read profile settings: " + header.GetRadFileName());
            if (!header.ReadData(m_samples.data(), sampleBytes))
                return Fail(CREATE_WRITE_FAILED,
                            L"Error: failed to read profile data: " + header.m_strName + L".rd3");
        }
        const uint64_t first = static_cast<uint64_t>(i) * lineStep;
        unsigned char* out = m_records.data();
        const unsigned char* in = m_samples.data();
        for (int64_t k = 0; k < records; ++k, out += recordBytes, in += m_traceBytes) {
            PutUint32(out, static_cast<uint32_t>(first + static_cast<uint64_t>(k) * recordStep));
            std::memcpy(out + 4, in, m_traceBytes);
        }
        if (!file.Write(m_records.data(), static_cast<size_t>(records) * recordBytes))
            return TraceFileFailed(file);
    }
    return CREATE_OK;
}

// EM files left by an earlier project of this name would be opened as the new survey's; they
// are kept aside, in both cases of the extension that the project's open looks for.
int CProjectCreator::KeepEmDataAside()
{
    for (const wchar_t* suffix : {L"_1.emm", L"_1.EMM", L"_2.emm", L"_2.EMM"}) {
        const std::wstring path = FilePath(suffix);
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(NativePath(path), ec)))
            continue;
        if (KeepAside(path, L".old", false).empty())
            return Fail(CREATE_WRITE_FAILED, L"Error: failed to keep the earlier EM file aside: " + path);
    }
    return CREATE_OK;
}

// The computed volume of an earlier project of this name would be loaded as the new survey's:
// its fingerprint covers the first vertical line only. It is a cache, computed again at the open.
int CProjectCreator::RemoveEarlierVolume()
{
    for (const wchar_t* suffix : {L"_1.precalc", L"_2.precalc"}) {
        const std::wstring path = FilePath(suffix);
        std::error_code ec;
        // Only a regular file is read as the volume.
        if (!RemoveFile(path) && std::filesystem::is_regular_file(NativePath(path), ec)) {
            g_messageLog.Log(LOG_ERROR, "Create 3D project: %s of an earlier project cannot be removed.",
                             NativePath(path).c_str());
            return WriteFailed(path);
        }
    }
    return CREATE_OK;
}

int CProjectCreator::CopyRadHeader()
{
    const std::wstring target = FilePath(L".rad");
    for (size_t i = 0; i < m_sourceRadPaths.size(); ++i) {
        if (IsSameFile(m_sourceRadPaths[i], target)) {
            // The project's header is a profile's own: never replace a source file.
            if (i == 0)
                return CREATE_OK;
            g_messageLog.Log(LOG_ERROR, "Create 3D project: %s is a profile header",
                             NativePath(target).c_str());
            return WriteFailed(target);
        }
    }
    if (!CopySmallFile(m_sourceRadPaths.front(), target))
        return WriteFailed(target);
    return CREATE_OK;
}

int CProjectCreator::SaveHeaderFile(const wchar_t* suffix, CKeyList keys)
{
    CHeaders headers;
    for (const auto& [key, value] : keys)
        headers.AddItem(key, value);
    const std::wstring path = FilePath(suffix);
    if (!headers.Save(path, true)) {
        g_messageLog.Log(LOG_ERROR, "Create 3D project: failed to write %s",
                         NativePath(path).c_str());
        return WriteFailed(path);
    }
    return CREATE_OK;
}

int CProjectCreator::SaveHeaders()
{
    const double interval = m_reference.m_dDistanceInterval;
    const int result = SaveHeaderFile(
        L".add", {{"ZERO LEVEL", "21"},
                  {"CONTRAST", "32"},
                  {"PALETTE", "0"},
                  {"TIME GAIN", "163"},
                  {"TG LINEAR", "1000"},
                  {"TG EXPONENT", "7"},
                  {"TG START", "30"},
                  {"DEL MEAN", "17"},
                  {"FIR HIGH", "25"},
                  {"FIR LOW", "4"},
                  {"FIR ON", "1"},
                  {"MIGR ON", "0"},
                  {"AUTO FA ON", "0"},
                  {"SOIL", "$80"},
                  {"X-SLICE", "60"},
                  {"Y-SLICE", "60"},
                  {"Z-SLICE", "235"},
                  {"NOT REAL DINT", FormatReal(interval, 5)},
                  {"THICKNESS", "1"},
                  {"THR LEVEL", "0"},
                  {"INT ANGLE", "0"},
                  {"AGC ON", "0"},
                  {"AGC WINDOW", "40"},
                  {"AGC SCALE", "5000"},
                  {"HFIR ON", "0"},
                  {"AUTO FIRST ARRIVAL", "0"},
                  {"NUM 3D DEPTH SLICES", FormatInt(m_reference.m_iSamples)}});
    if (result != CREATE_OK)
        return result;
    return SaveHeaderFile(
        L".rhd", {{"PROJECT NAME", ToAnsi(m_name)},
                  {"PROJECT TYPE", "2"},
                  {"X-SIZE(M)", FormatReal(static_cast<double>(m_iSizeX) * interval, 5)},
                  {"Y-SIZE(M)", FormatReal(static_cast<double>(m_iSizeY) * interval, 5)},
                  {"RESOLUTION(M)", FormatReal(interval, 5)},
                  {"PROFILE SPACING(M)", FormatReal(m_dSpacing, 5)},
                  {"X-SIZE", FormatInt(m_iSizeX)},
                  {"Y-SIZE", FormatInt(m_iSizeY)},
                  {"PROFILE SPACING", FormatInt(m_iSpacing)},
                  {"TRIGG SOURCE", "1"},
                  {"EXTERNAL MARGIN", "0"}});
}

int CProjectCreator::Run()
{
    m_error.clear();
    if (m_vertical.empty() && m_horizontal.empty())
        return CREATE_NO_PROFILES;
    int result = LoadReference();
    if (result == CREATE_OK)
        result = CheckProfiles(true);
    if (result == CREATE_OK)
        result = CheckProfiles(false);
    if (result == CREATE_OK)
        result = SetUpGrid();
    if (result != CREATE_OK)
        return result;

    // Both trace files are complete before either replaces a file of the same name, so a
    // failed creation leaves the previous ones as they were.
    CSaveFile fileX(GetProjectDataPath1(m_folder, m_name));
    CSaveFile fileY(GetProjectDataPath2(m_folder, m_name));
    if ((result = WriteTraceFile(fileX, true)) != CREATE_OK ||
        (result = WriteTraceFile(fileY, false)) != CREATE_OK ||
        (result = KeepEmDataAside()) != CREATE_OK ||
        (result = RemoveEarlierVolume()) != CREATE_OK)
        return result;
    if (!fileX.Commit())
        return TraceFileFailed(fileX);
    if (!fileY.Commit())
        return TraceFileFailed(fileY);
    m_samples = {};
    m_records = {};

    if ((result = CopyRadHeader()) != CREATE_OK || (result = SaveHeaders()) != CREATE_OK)
        return result;
    g_messageLog.Log(LOG_DEBUG,
                     "Create 3D project: %s was created successfully from %zu horizontal and %zu "
                     "vertical profiles.",
                     ToAnsi(m_name).c_str(), m_horizontal.size(), m_vertical.size());
    m_error = m_notice;
    return CREATE_OK;
}

} // namespace

int Create3DProject(std::wstring& error, const std::wstring& sourceFolder,
                    const std::wstring& projectFolder, const std::wstring& projectName,
                    const std::vector<std::wstring>& verticalProfiles,
                    const std::vector<std::wstring>& horizontalProfiles, double spacing)
{
    CProjectCreator creator(error, sourceFolder, projectFolder, projectName, verticalProfiles,
                            horizontalProfiles, spacing);
    return creator.Run();
}

std::wstring GetFileTitleNoExt(const std::wstring& path)
{
    const size_t sep = FindLastSeparator(path);
    const size_t start = sep == std::wstring::npos ? 0 : sep + 1;
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < start)
        return std::wstring();
    return path.substr(start, dot - start);
}

std::wstring GetImportedProjectFolder(const std::wstring& folder, const std::wstring& name)
{
    return JoinPath(folder, name);
}

std::wstring GetImportedProjectBaseName(const std::wstring& name)
{
    return L"3D_" + name;
}

bool IsUnsafeProjectName(const std::wstring& name)
{
    // A control character would end the name's line in the ".rhd" or hide in a file name.
    const bool bControl = std::any_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || (c >= 0x7f && c <= 0x9f);
    });
    return bControl || name.find_first_of(L"/\\") != std::wstring::npos || name == L"." || name == L"..";
}

std::wstring GetProjectDataPath1(const std::wstring& folder, const std::wstring& name)
{
    return JoinPath(folder, name + L"_1.rd6");
}

std::wstring GetProjectDataPath2(const std::wstring& folder, const std::wstring& name)
{
    return JoinPath(folder, name + L"_2.rd6");
}

int64_t GetGridSize(int64_t maxTraces, int64_t acrossProfiles, int64_t spacing)
{
    const int64_t lastAcross = (acrossProfiles - 1) * spacing + 1;
    if (acrossProfiles != 0 && maxTraces < lastAcross)
        return lastAcross;
    return ((maxTraces - 1) / spacing + 1) * spacing + 1;
}
