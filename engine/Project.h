#pragma once
// The open 3D project: its file family under one folder and base name, the header values in
// m_settings, the open trace and EM files with their trace-offset tables, and the cursor
// that the views share.

#include "FileIo.h"
#include "ProjectSettings.h"

#include <cstdint>
#include <memory>
#include <string>

class CHeaders;

class CProject
{
public:
    // Result of ReadSettings.
    enum { SETTINGS_NONE = 0, SETTINGS_LOADED = 1, SETTINGS_REJECTED = 2 };

    CProject() { Reset(); }
    ~CProject() { Close(); }
    CProject(const CProject&) = delete;
    CProject& operator=(const CProject&) = delete;

    std::wstring GetRadFilePath() const { return GetFilePath(L".rad"); }
    std::wstring GetRhdFilePath() const { return GetFilePath(L".rhd"); }
    std::wstring GetAddFilePath() const { return GetFilePath(L".add"); }
    std::wstring GetDataFilePath1() const { return GetFilePath(L"_1.rd6"); }
    std::wstring GetDataFilePath2() const { return GetFilePath(L"_2.rd6"); }
    std::wstring GetEmmFilePath1() const { return GetFilePath(L"_1.emm"); }
    std::wstring GetEmmFilePath2() const { return GetFilePath(L"_2.emm"); }
    std::wstring GetSettingsFilePath() const { return GetFilePath(L".3dq"); }
    std::wstring GetPaletteFilePath() const { return GetFilePath(L".pal"); }
    std::wstring GetObjectListPath() const { return GetFilePath(L".3qo"); }
    // The name of unit system 0, the default of the UNITS key.
    static std::wstring GetUnitsName();

    void SetPathName(const std::wstring& path);
    bool LoadHeaders();
    bool Open(const std::wstring& path);
    void Close();
    void Reset();
    bool IsOpen() const { return m_bOpen; }

    void SelectXProfile(int32_t line);
    void SelectYProfile(int32_t line);
    // Trace i of the selected line. A short read zero-fills the rest and returns false.
    bool ReadTrace(int32_t trace, int16_t* pSamples, uint8_t* pEmRecord = nullptr);
    // Traces first .. first + count - 1 of the selected line as ReadTrace reads them, each
    // record as it stands in its file (4-byte grid position, then the payload) at pRecords +
    // k * (4 + 2 * samples), and with pEmRecords the EM records likewise (4 + 8 bytes each).
    // Neighbouring records are read in one piece. The number of leading complete traces: count
    // when all are.
    int32_t ReadTraceRecords(int32_t first, int32_t count, uint8_t* pRecords, uint8_t* pEmRecords = nullptr);

    // The settings file (".3dq") and the project palette (".pal"), each found under its own
    // name when only its extension's case differs.
    void WriteSettings(CHeaders& headers) const;
    bool SaveSettings() const;
    // A file that does not fit the project, or holds bytes but no setting, is rejected; an Open
    // that succeeds then moves it aside, so that no save replaces it.
    int ReadSettings();
    bool IsSettingsChanged() const;
    // Moves the settings file, the project palette and the drawing objects aside, each file of
    // either case of its extension to its own name with ".old" (".old.1", ... beside earlier
    // copies); logs the files moved. False when one of them could not be moved and stays.
    bool DeleteSettingsFiles() const;

    std::wstring m_strName;
    std::wstring m_strFolder;  // with its trailing separator, empty for a bare name
    bool m_bOpen;
    CProjectSettings m_settings;

    CReadFile m_fileX;
    CReadFile m_fileY;
    CReadFile m_emmFileX;
    CReadFile m_emmFileY;
    CReadFile* m_pCurFile;
    CReadFile* m_pCurEmmFile;
    std::unique_ptr<uint64_t[]> m_pOffsetsX;
    std::unique_ptr<uint64_t[]> m_pOffsetsY;
    std::unique_ptr<uint64_t[]> m_pEmmOffsetsX;
    std::unique_ptr<uint64_t[]> m_pEmmOffsetsY;
    const uint64_t* m_pCurOffsets;
    const uint64_t* m_pCurEmmOffsets;
    int32_t m_nCurTraces;

    // Cross-hair and mouse position: x and y in traces, depth in samples.
    float m_fCursorX;
    float m_fCursorY;
    float m_fCursorDepth;
    float m_fHoverX;
    float m_fHoverY;
    float m_fHoverDepth;
    bool m_bSettingsLoaded;
    // The top view shows the EM values instead of the radar slice (main frame's EM command).
    bool m_bEmOverlay;

    // EM record payload in bytes.
    static constexpr size_t EM_RECORD_SIZE = 8;

private:
    std::wstring GetFilePath(const wchar_t* suffix) const { return m_strFolder + m_strName + suffix; }
    // Moves a rejected settings file and the project palette it names aside as
    // DeleteSettingsFiles does; false when one of them could not be moved.
    bool KeepRejectedSettings() const;
    bool LoadRadCopy();
    bool LoadRhd();
    void LoadAdd();
    bool AllocateTables(bool bEm);
    // Fills table (zeroed first) from the records of file; X set or Y set by bX.
    void ReadOffsetTable(const CReadFile& file, uint64_t* pTable, bool bX, size_t payloadBytes) const;
    void SelectProfile(int32_t line, bool bX);

    // A rejected settings file, or its palette, stands where a save would write: saves fail.
    bool m_bRejectedFileInPlace;
};
