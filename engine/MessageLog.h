#pragma once
// The program's one diagnostic log, "message.log" in the configuration folder: emptied at
// every start, one flushed line per message, never fails its caller.

#include <cstdint>
#include <cstdio>
#include <string>

enum : uint32_t {
    LOG_ERROR = 1,
    LOG_PROGRAM = 2,
    LOG_FILE_ERROR = 4,
    LOG_DEBUG = 8,
    LOG_THREAD = 16,
    LOG_THREAD2 = 32,
    LOG_INFO = 64,
    LOG_LOG = 128,
};

class CMessageLog
{
public:
    // Log file in the per-user configuration folder.
    CMessageLog();
    // Log file at an explicit path (tests).
    explicit CMessageLog(std::wstring path);
    ~CMessageLog();
    CMessageLog(const CMessageLog&) = delete;
    CMessageLog& operator=(const CMessageLog&) = delete;

    void Reset();
    bool Open();
    void Enable() { m_bEnabled = true; }
    bool IsEnabled() const { return m_bEnabled; }

    // The format is always a literal; file or user text goes through LogString or "%s".
    void Log(uint32_t level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void LogString(uint32_t level, const std::wstring& text);
    void LogFileError(const std::wstring& fileName, int cause);
    void Flush();

    const std::wstring& GetPath() const { return m_strPath; }
    // Moves a closed log to another file (test runs give each process its own folder).
    void SetPath(std::wstring path)
    {
        Close();
        m_strPath = std::move(path);
    }

    static const char* GetLevelPrefix(uint32_t level);
    static const char* GetCauseText(int cause);

private:
    void Write(uint32_t level, const char* message);
    void SeekToEnd();
    void Close();

    std::wstring m_strPath;
    bool m_bOpen = false;
    FILE* m_file = nullptr;
    bool m_bEnabled = false;
    uint32_t m_dwLevelMask = 0xFFFFFFFFu;
};

extern CMessageLog g_messageLog;
