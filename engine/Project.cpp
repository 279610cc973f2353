#include "Project.h"

#include "Cfg.h"
#include "Headers.h"
#include "MessageLog.h"
#include "Notifier.h"
#include "Values.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace {

// More traces than this in one direction is no survey: refuse instead of allocating.
constexpr int64_t kMaxTableEntries = int64_t(1) << 26;

// Reads size bytes at offset; what the file does not hold is zero. True when all were read.
bool ReadZeroFilled(const CReadFile& file, uint64_t offset, void* buffer, size_t size)
{
    const int64_t read = std::max<int64_t>(file.ReadAt(offset, buffer, size), 0);
    if (read == static_cast<int64_t>(size))
        return true;
    std::memset(static_cast<uint8_t*>(buffer) + read, 0, size - static_cast<size_t>(read));
    return false;
}

// A header file of the project that must hold at least one key line.
bool LoadHeaderFile(const std::wstring& path, CHeaders& headers)
{
    headers.Load(path);
    if (!headers.IsEmpty())
        return true;
    g_messageLog.Log(LOG_ERROR, "CProject::LoadHeaders(): File is empty or does not exist. %s",
                     NativePath(path).c_str());
    return false;
}

} // namespace

std::wstring CProject::GetUnitsName()
{
    RegisterDefaultUnitNames();
    return UnitsToString(UNITS_SI);
}

void CProject::Reset()
{
    m_bOpen = false;
    m_strName.clear();
    m_strFolder.clear();
    m_settings.Reset();
    m_pCurFile = nullptr;
    m_pCurEmmFile = nullptr;
    m_pCurOffsets = nullptr;
    m_pCurEmmOffsets = nullptr;
    m_nCurTraces = 0;
    m_fCursorDepth = 0;
    m_bSettingsLoaded = false;
    m_bEmOverlay = false;
    m_bRejectedFileInPlace = false;
}

void CProject::SetPathName(const std::wstring& path)
{
    const size_t sep = FindLastSeparator(path);
    m_strFolder = sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
    const std::wstring file = sep == std::wstring::npos ? path : path.substr(sep + 1);
    m_strName = file.size() > 4 ? file.substr(0, file.size() - 4) : std::wstring();
}

bool CProject::LoadRadCopy()
{
    const std::wstring path = FindCompanionFile(GetRadFilePath());
    const std::string narrow = NativePath(path);
    CHeaders rad;
    if (!LoadHeaderFile(path, rad))
        return false;
    CProjectSettings& s = m_settings;
    if (!rad.GetWholeNumber("SAMPLES", s.m_iSamples, narrow))
        return false;
    if (s.m_iSamples <= 0) {
        g_messageLog.Log(LOG_ERROR, "%s: samples value is invalid, %d", narrow.c_str(), s.m_iSamples);
        return false;
    }
    RegisterDefaultUnitNames();
    const CHeaders::CItem* units = rad.Find("UNITS");
    UnitsFromString(units ? FromAnsi(units->m_szValue) : GetUnitsName(), s.m_units);
    const CHeaders::CItem* depthUnits = rad.Find("DEPTH UNITS");
    const CHeaders::CItem* lengthUnits = rad.Find("LENGTH UNITS");
    const std::wstring smallUnit = GetUnitLabel(s.m_units, true);
    s.m_bDepthUnits = IsUnitSuffix(s.m_units, depthUnits ? FromAnsi(depthUnits->m_szValue) : smallUnit);
    s.m_bLengthUnits = IsUnitSuffix(s.m_units, lengthUnits ? FromAnsi(lengthUnits->m_szValue) : smallUnit);

    CAntennaSettings& antenna = s.m_antenna;
    antenna.m_strName = FromAnsi(CutBeforeEquals(rad.GetValue("ANTENNAS")));
    antenna.m_dFrequency = ReadReal(rad.GetValue("FREQUENCY"));
    antenna.m_iFrequencySteps = ReadInt(rad.GetValue("FREQUENCY STEPS"));
    antenna.m_dSeparation = ReadReal(rad.GetValue("ANTENNA SEPARATION"));
    antenna.m_bValid = true;
    antenna.m_dEmLagDistance = 0.092;
    if (ReadFlagValue(rad.GetValue("SHORT FLAG"))) {
        antenna.m_iRampKind = 0;
    } else if (ReadFlagValue(rad.GetValue("INTERMEDIATE FLAG"))) {
        antenna.m_iRampKind = 1;
    } else if (ReadFlagValue(rad.GetValue("LONG FLAG"))) {
        antenna.m_iRampKind = 2;
    } else {
        g_messageLog.Log(LOG_ERROR, "%s file missing ramp info.", narrow.c_str());
        return false;
    }
    s.m_strComment = FromAnsi(CutBeforeEquals(rad.GetValue("COMMENT")));
    s.m_dWheelCalibration = ReadReal(rad.GetValue("WHEEL CALIBRATION"));
    s.m_bNegativeDirection = !ReadFlagValue(rad.GetValue("POSITIVE DIRECTION"));
    s.m_dSystemCalibration = ReadReal(rad.GetValue("SYSTEM CALIBRATION"));
    if (!(s.m_dSystemCalibration > 0)) {
        g_messageLog.Log(LOG_ERROR, "%s : sys.cal. value is invalid, %f", narrow.c_str(),
                         s.m_dSystemCalibration);
        return false;
    }
    const double distanceInterval = ReadReal(rad.GetValue("DISTANCE INTERVAL"));
    if (!(distanceInterval > 0)) {
        g_messageLog.Log(LOG_ERROR, "%s: distance interval invalid, %f", narrow.c_str(),
                         distanceInterval);
        return false;
    }
    s.m_iStackExponent = ReadInt(rad.GetValue("STACK EXPONENT"));
    return true;
}

bool CProject::LoadRhd()
{
    const std::wstring path = FindCompanionFile(GetRhdFilePath());
    const std::string narrow = NativePath(path);
    CHeaders rhd;
    if (!LoadHeaderFile(path, rhd))
        return false;
    CProjectSettings& s = m_settings;
    s.m_strProjectName = FromAnsi(rhd.GetValue("PROJECT NAME"));
    int sizeY = 0, sizeX = 0, spacing = 0;
    if (!rhd.GetWholeNumber("Y-SIZE", sizeY, narrow) || !rhd.GetWholeNumber("X-SIZE", sizeX, narrow) ||
        !rhd.GetWholeNumber("PROFILE SPACING", spacing, narrow))
        return false;
    const double resolution = ReadReal(rhd.GetValue("RESOLUTION(M)"));
    const double sizeXm = ReadReal(rhd.GetValue("X-SIZE(M)"));
    const double sizeYm = ReadReal(rhd.GetValue("Y-SIZE(M)"));
    const double spacingM = ReadReal(rhd.GetValue("PROFILE SPACING(M)"));
    if (sizeY <= 0 || sizeX <= 0 || !(resolution > 0) || !(sizeXm > 0) || !(sizeYm > 0) ||
        !(spacingM > 0) || spacing <= 0) {
        g_messageLog.Log(LOG_ERROR, "%s: invalid value (some values is zero or less then zero.",
                         narrow.c_str());
        return false;
    }
    s.m_iGridSizeX = s.m_iSizeX = sizeX;
    s.m_iGridSizeY = s.m_iSizeY = sizeY;
    s.m_iProfileSpacing = spacing;
    s.m_dResolution = resolution;
    return true;
}

void CProject::LoadAdd()
{
    const std::wstring path = FindCompanionFile(GetAddFilePath());
    CHeaders add;
    if (FileExists(path))
        add.Load(path);
    CProjectSettings& s = m_settings;
    const std::string_view soil = add.GetValue("SOIL");
    s.m_dVelocity = soil.size() > 1 ? ReadReal(soil.substr(1)) : 0.0;
    s.m_pMaterial = g_cfg.m_pCurMaterial;

    // A key the file lacks reads as 0, as every missing whole number does.
    CProcessingParams params;
    params.m_bFirOn = ReadFlagValue(add.GetValue("FIR ON"));
    params.m_iFirHigh = static_cast<uint32_t>(ReadInt(add.GetValue("FIR HIGH")));
    params.m_iFirLow = static_cast<uint32_t>(ReadInt(add.GetValue("FIR LOW")));
    params.m_iTimeGain = ReadInt(add.GetValue("TIME GAIN"));
    params.m_iTgLinear = ReadInt(add.GetValue("TG LINEAR"));
    params.m_iTgExponent = ReadInt(add.GetValue("TG EXPONENT"));
    params.m_iTgStart = ReadInt(add.GetValue("TG START"));
    params.m_iDelMean = ReadInt(add.GetValue("DEL MEAN"));
    params.m_bDelMeanOn = params.m_iDelMean != 0;
    params.Clamp();
    s.SetProcessingParams(params);
    const CHeaders::CItem* radius = add.Find("RADIUS");
    s.m_iGridMode = radius && radius->m_bHasValue ? 2 : 1;
}

bool CProject::LoadHeaders()
{
    return LoadRadCopy() && LoadRhd() && (LoadAdd(), true);
}

bool CProject::AllocateTables(bool bEm)
{
    const CProjectSettings& s = m_settings;
    const int64_t entriesX = int64_t(s.GetXLineCount()) * s.m_iSizeY;
    const int64_t entriesY = int64_t(s.GetYLineCount()) * s.m_iSizeX;
    if (entriesX <= 0 || entriesY <= 0 || entriesX > kMaxTableEntries || entriesY > kMaxTableEntries) {
        g_messageLog.Log(LOG_ERROR, "CProject::Open(): grid of %lld and %lld traces is not usable.",
                         static_cast<long long>(entriesX), static_cast<long long>(entriesY));
        return false;
    }
    auto& tableX = bEm ? m_pEmmOffsetsX : m_pOffsetsX;
    auto& tableY = bEm ? m_pEmmOffsetsY : m_pOffsetsY;
    tableX.reset(new (std::nothrow) uint64_t[static_cast<size_t>(entriesX)]);
    tableY.reset(new (std::nothrow) uint64_t[static_cast<size_t>(entriesY)]);
    if (!tableX || !tableY) {
        g_messageLog.Log(LOG_ERROR, "CProject::Open(): out of memory for the trace tables.");
        return false;
    }
    return true;
}

void CProject::ReadOffsetTable(const CReadFile& file, uint64_t* pTable, bool bX, size_t payloadBytes) const
{
    const CProjectSettings& s = m_settings;
    const uint32_t sizeY = static_cast<uint32_t>(s.m_iSizeY);
    const uint32_t spacing = static_cast<uint32_t>(s.m_iProfileSpacing);
    const uint32_t lines = static_cast<uint32_t>(bX ? s.GetXLineCount() : s.GetYLineCount());
    const uint32_t perLine = static_cast<uint32_t>(bX ? s.m_iSizeY : s.m_iSizeX);
    const uint64_t entries = uint64_t(lines) * perLine;
    std::fill(pTable, pTable + entries, 0);
    if (entries == 0)
        return;

    // Records are read in blocks of about a megabyte; only their leading positions are used.
    const uint64_t recordSize = 4 + payloadBytes;
    const uint64_t perBlock = std::clamp<uint64_t>((uint64_t(1) << 20) / recordSize, 1, entries);
    std::vector<uint8_t> block(static_cast<size_t>((perBlock - 1) * recordSize + 4));
    for (uint64_t first = 0; first < entries; first += perBlock) {
        const uint64_t count = std::min(perBlock, entries - first);
        const uint64_t start = 4 + first * recordSize;
        const size_t want = static_cast<size_t>((count - 1) * recordSize + 4);
        const uint64_t got = static_cast<uint64_t>(std::max<int64_t>(file.ReadAt(start, block.data(), want), 0));
        for (uint64_t k = 0; k < count; ++k) {
            if (k * recordSize + 4 > got)
                return; // a truncated file: what was not read stays absent
            const uint8_t* bytes = block.data() + k * recordSize;
            const uint32_t p = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                               uint32_t(bytes[3]) << 24;
            const uint32_t line = bX ? (p / sizeY) / spacing : (p % sizeY) / spacing;
            const uint32_t trace = bX ? p % sizeY : p / sizeY;
            if (line < lines && trace < perLine)
                pTable[uint64_t(line) * perLine + trace] = start + k * recordSize + 4;
        }
    }
}

bool CProject::Open(const std::wstring& path)
{
    if (path.empty()) {
        g_messageLog.Log(LOG_ERROR, "Project filename is empty.");
        return false;
    }
    Close();
    Reset();
    SetPathName(path);
    if (!LoadHeaders())
        return false;

    const int settingsResult = ReadSettings();
    CProjectSettings& s = m_settings;
    if (settingsResult == SETTINGS_NONE) {
        s.m_params.m_bDelMeanOn = s.m_params.m_iDelMean != 0;
        s.m_params.m_iDelMean = 40;
    } else if (settingsResult == SETTINGS_REJECTED) {
        s.Reset();
        if (!LoadHeaders())
            return false;
    }
    m_bSettingsLoaded = settingsResult == SETTINGS_LOADED;

    if (s.m_iGridMode == 1) {
        const uint32_t spacing = static_cast<uint32_t>(s.m_iProfileSpacing);
        for (int32_t* size : {&s.m_iGridSizeX, &s.m_iGridSizeY}) {
            const uint32_t steps = static_cast<uint32_t>(*size - 1);
            if (steps % spacing == 0)
                continue;
            const int64_t k = static_cast<int64_t>(static_cast<float>(steps / spacing) + 1.0f);
            const int64_t raised = k * spacing + 1;
            if (raised > INT_MAX) {
                g_messageLog.Log(LOG_ERROR, "CProject::Open(): grid size %lld is too large.",
                                 static_cast<long long>(raised));
                return false;
            }
            // A raise adds less than one spacing of empty traces; beyond the size itself the
            // spacing is not this grid's, and the empty traces would fill the memory.
            if (raised > 2 * int64_t(*size)) {
                g_messageLog.Log(LOG_ERROR,
                                 "CProject::Open(): grid size %d would be raised to %lld by the profile spacing %u, "
                                 "more than twice the traces of its lines.",
                                 *size, static_cast<long long>(raised), spacing);
                return false;
            }
            *size = static_cast<int32_t>(raised);
        }
    }

    const std::wstring pathX = FindCompanionFile(GetDataFilePath1());
    if (const int cause = m_fileX.Open(pathX)) {
        g_messageLog.LogFileError(pathX, cause);
        return false;
    }
    const std::wstring pathY = FindCompanionFile(GetDataFilePath2());
    if (const int cause = m_fileY.Open(pathY)) {
        g_messageLog.LogFileError(pathY, cause);
        m_fileX.Close();
        return false;
    }
    // A trace file is an int32 header and records of a position and SAMPLES int16 values, one
    // for every trace of every line of its set; a SAMPLES value or a grid whose records do not
    // fit in the file is not this project's.
    const int64_t recordSize = 4 + 2 * int64_t(s.m_iSamples);
    const struct { CReadFile* file; const std::wstring* path; int32_t lines; int32_t perLine; } sets[] = {
        {&m_fileX, &pathX, s.GetXLineCount(), s.m_iSizeY}, {&m_fileY, &pathY, s.GetYLineCount(), s.m_iSizeX}};
    for (const auto& set : sets) {
        const int64_t size = set.file->GetSize();
        const int64_t records = (size - 4) / recordSize;
        const int64_t needed = int64_t(set.lines) * set.perLine;
        if (records < 1 || records < needed) {
            if (records < 1)
                g_messageLog.Log(LOG_ERROR,
                                 "CProject::Open(): %s of %lld bytes holds no record of %d samples (%lld bytes).",
                                 NativePath(*set.path).c_str(), static_cast<long long>(size), s.m_iSamples,
                                 static_cast<long long>(recordSize));
            else
                g_messageLog.Log(LOG_ERROR,
                                 "CProject::Open(): %s of %lld bytes cannot hold the %lld records of %d lines of "
                                 "%d traces; it holds %lld.",
                                 NativePath(*set.path).c_str(), static_cast<long long>(size),
                                 static_cast<long long>(needed), set.lines, set.perLine,
                                 static_cast<long long>(records));
            m_fileX.Close();
            m_fileY.Close();
            return false;
        }
    }
    if (!AllocateTables(false)) {
        m_bOpen = true; // let Close release what is open
        Close();
        return false;
    }
    const size_t payload = 2 * static_cast<size_t>(s.m_iSamples);
    ReadOffsetTable(m_fileX, m_pOffsetsX.get(), true, payload);
    ReadOffsetTable(m_fileY, m_pOffsetsY.get(), false, payload);

    const bool bEmX = m_emmFileX.Open(FindCompanionFile(GetEmmFilePath1())) == 0;
    const bool bEmY = m_emmFileY.Open(FindCompanionFile(GetEmmFilePath2())) == 0;
    s.m_bHasEmData = bEmX && bEmY && AllocateTables(true);
    if (s.m_bHasEmData) {
        ReadOffsetTable(m_emmFileX, m_pEmmOffsetsX.get(), true, EM_RECORD_SIZE);
        ReadOffsetTable(m_emmFileY, m_pEmmOffsetsY.get(), false, EM_RECORD_SIZE);
    } else {
        m_emmFileX.Close();
        m_emmFileY.Close();
        m_pEmmOffsetsX.reset();
        m_pEmmOffsetsY.reset();
    }

    if (!m_bSettingsLoaded) {
        m_fCursorX = static_cast<float>(s.m_iSizeX / 2);
        m_fCursorY = static_cast<float>(s.m_iSizeY / 2);
        m_fCursorDepth = static_cast<float>(s.m_iZeroLevel);
    }
    m_fHoverX = m_fCursorX;
    m_fHoverY = m_fCursorY;
    m_fHoverDepth = m_fCursorDepth;
    if (settingsResult == SETTINGS_REJECTED) {
        // The rejected file may hold what the user saved: a save must not replace it. Only an
        // open that succeeds moves it aside; a refused one leaves every file where it was.
        m_bRejectedFileInPlace = !KeepRejectedSettings();
        ShowMessage(L"Unable to read application project file.\nWill load from original settings.",
                    TMessageIcon::Exclamation);
    }
    m_bOpen = true;
    return true;
}

void CProject::Close()
{
    if (!m_bOpen)
        return;
    m_fileX.Close();
    m_fileY.Close();
    m_emmFileX.Close();
    m_emmFileY.Close();
    m_pOffsetsX.reset();
    m_pOffsetsY.reset();
    m_pEmmOffsetsX.reset();
    m_pEmmOffsetsY.reset();
    Reset();
}

void CProject::SelectProfile(int32_t line, bool bX)
{
    const int32_t lines = bX ? m_settings.GetXLineCount() : m_settings.GetYLineCount();
    const int32_t perLine = bX ? m_settings.m_iSizeY : m_settings.m_iSizeX;
    const uint64_t* table = bX ? m_pOffsetsX.get() : m_pOffsetsY.get();
    const uint64_t* emTable = bX ? m_pEmmOffsetsX.get() : m_pEmmOffsetsY.get();
    if (!table || line < 0 || line >= lines) {
        m_pCurFile = nullptr;
        m_pCurOffsets = nullptr;
        m_pCurEmmFile = nullptr;
        m_pCurEmmOffsets = nullptr;
        m_nCurTraces = 0;
        return;
    }
    const size_t first = static_cast<size_t>(line) * static_cast<size_t>(perLine);
    m_pCurFile = bX ? &m_fileX : &m_fileY;
    m_pCurOffsets = table + first;
    m_nCurTraces = perLine;
    if (m_settings.m_bHasEmData && emTable) {
        m_pCurEmmFile = bX ? &m_emmFileX : &m_emmFileY;
        m_pCurEmmOffsets = emTable + first;
    }
}

void CProject::SelectXProfile(int32_t line)
{
    SelectProfile(line, true);
}

void CProject::SelectYProfile(int32_t line)
{
    SelectProfile(line, false);
}

bool CProject::ReadTrace(int32_t trace, int16_t* pSamples, uint8_t* pEmRecord)
{
    const size_t bytes = 2 * static_cast<size_t>(std::max(m_settings.m_iSamples, 0));
    if (!m_pCurFile || !m_pCurOffsets || trace < 0 || trace >= m_nCurTraces) {
        std::memset(pSamples, 0, bytes);
        return false;
    }
    // Absent records have the offset 0 and read from the file's start, as stored
    // fingerprints were computed.
    bool bComplete = ReadZeroFilled(*m_pCurFile, m_pCurOffsets[trace], pSamples, bytes);
    if (pEmRecord && m_settings.m_bHasEmData && m_pCurEmmFile && m_pCurEmmOffsets)
        bComplete &= ReadZeroFilled(*m_pCurEmmFile, m_pCurEmmOffsets[trace], pEmRecord, EM_RECORD_SIZE);
    return bComplete;
}

namespace {

// Records of one line from one file into place, one read per run of records that follow each
// other in the file; an absent record (offset 0) gets its payload from the file's start, as
// ReadTrace reads it. The number of leading complete records.
int32_t ReadRecordRuns(const CReadFile& file, const uint64_t* offsets, int32_t count, size_t payload, uint8_t* out)
{
    const size_t record = 4 + payload;
    int32_t complete = count;
    for (int32_t k = 0; k < count;) {
        const bool bPresent = offsets[k] >= 4;
        int32_t end = k + 1;
        while (bPresent && end < count && offsets[end] == offsets[end - 1] + record)
            ++end;
        uint8_t* target = out + size_t(k) * record;
        if (!bPresent) {
            std::memset(target, 0, 4);
            target += 4;
        }
        const size_t want = bPresent ? size_t(end - k) * record : payload;
        const int64_t read = file.ReadAt(bPresent ? offsets[k] - 4 : offsets[k], target, want);
        const size_t got = static_cast<size_t>(std::max<int64_t>(read, 0));
        if (got < want) {
            std::memset(target + got, 0, want - got);
            complete = std::min(complete, k + static_cast<int32_t>(bPresent ? got / record : 0));
        }
        k = end;
    }
    return complete;
}

} // namespace

int32_t CProject::ReadTraceRecords(int32_t first, int32_t count, uint8_t* pRecords, uint8_t* pEmRecords)
{
    const size_t payload = 2 * static_cast<size_t>(std::max(m_settings.m_iSamples, 0));
    if (!m_pCurFile || !m_pCurOffsets || first < 0 || count < 0 || count > m_nCurTraces - first) {
        std::memset(pRecords, 0, size_t(std::max(count, 0)) * (4 + payload));
        return 0;
    }
    int32_t complete = ReadRecordRuns(*m_pCurFile, m_pCurOffsets + first, count, payload, pRecords);
    if (pEmRecords && m_settings.m_bHasEmData && m_pCurEmmFile && m_pCurEmmOffsets)
        complete = std::min(complete, ReadRecordRuns(*m_pCurEmmFile, m_pCurEmmOffsets + first, count,
                                                     EM_RECORD_SIZE, pEmRecords));
    return complete;
}
