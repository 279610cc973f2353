#include "MessageLog.h"

#include "FileIo.h"
#include "UserFolder.h"
#include "Values.h"

#include <cerrno>
#include <cstdarg>
#include <algorithm>
#include <cstring>

namespace {
// Message and line buffers hold at most this many characters and a terminating zero.
constexpr size_t kLineBuffer = 300;
} // namespace

CMessageLog::CMessageLog()
{
    const std::wstring folder = GetUserConfigDir();
    if (!folder.empty())
        m_strPath = JoinPath(folder, L"message.log");
}

CMessageLog::CMessageLog(std::wstring path) : m_strPath(std::move(path)) {}

CMessageLog::~CMessageLog()
{
    Close();
}

void CMessageLog::Close()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_bOpen = false;
}

void CMessageLog::Reset()
{
    if (m_strPath.empty())
        return;
    Close();
    if (FILE* file = OpenFile(m_strPath, "wb"))
        std::fclose(file);
}

bool CMessageLog::Open()
{
    if (!m_bEnabled || m_strPath.empty())
        return false;
    if (m_bOpen)
        return true;
    m_file = OpenFile(m_strPath, "r+b");
    if (!m_file && FileErrorCause(errno, m_strPath) == 2)
        m_file = OpenFile(m_strPath, "wb");
    if (!m_file)
        return false;
    SeekToEnd();
    m_bOpen = true;
    m_bEnabled = true;
    return true;
}

void CMessageLog::SeekToEnd()
{
    std::fseek(m_file, 0, SEEK_END);
}

const char* CMessageLog::GetLevelPrefix(uint32_t level)
{
    switch (level) {
    case LOG_ERROR: return "Error:";
    case LOG_PROGRAM: return "Program:";
    case LOG_FILE_ERROR: return "File error:";
    case LOG_DEBUG: return "Debug:";
    case LOG_THREAD:
    case LOG_THREAD2: return "Thread:";
    case LOG_INFO: return "Info:";
    case LOG_LOG: return "Log:";
    default: return "";
    }
}

const char* CMessageLog::GetCauseText(int cause)
{
    static const char* const s_texts[] = {
        "No error occurred.",
        "An unspecified error occurred.",
        "The file could not be located.",
        "All or part of the path is invalid.",
        "The permitted number of open files was exceeded.",
        "The file could not be accessed.",
        "There was an attempt to use an invalid file handle.",
        "The current working directory cannot be removed.",
        "There are no more directory entries.",
        "There was an error trying to set the file pointer.",
        "There was a hardware error.",
        "SHARE.EXE was not loaded, or a shared region was locked.",
        "There was an attempt to lock a region that was already locked.",
        "The disk is full.",
        "The end of file was reached. ",
    };
    if (cause < 0 || cause >= static_cast<int>(sizeof s_texts / sizeof s_texts[0]))
        return "Unknown error.";
    return s_texts[cause];
}

void CMessageLog::Log(uint32_t level, const char* format, ...)
{
    if (!m_bEnabled || (level & m_dwLevelMask) == 0)
        return;
    char message[kLineBuffer];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    Write(level, message);
}

void CMessageLog::LogString(uint32_t level, const std::wstring& text)
{
    if (!m_bEnabled || (level & m_dwLevelMask) == 0)
        return;
    const std::string ansi = ToAnsi(text);
    char message[kLineBuffer];
    std::snprintf(message, sizeof message, "%s", ansi.c_str());
    Write(level, message);
}

void CMessageLog::LogFileError(const std::wstring& fileName, int cause)
{
    if (!m_bEnabled)
        return;
    LogString(LOG_FILE_ERROR, FromAnsi(GetCauseText(cause)) + L"  File: " + fileName);
    if (m_bOpen)
        std::fflush(m_file);
}

void CMessageLog::Flush()
{
    if (m_bEnabled && m_bOpen)
        std::fflush(m_file);
}

void CMessageLog::Write(uint32_t level, const char* message)
{
    if (!m_bEnabled || (level & m_dwLevelMask) == 0)
        return;
    const bool wasOpen = m_bOpen;
    if (!wasOpen && !Open())
        return;
    // Prefix, a blank and the message, cut to the line buffer's 299 characters.
    char line[kLineBuffer];
    const char* prefix = GetLevelPrefix(level);
    const size_t prefixLength = std::strlen(prefix);
    std::memcpy(line, prefix, prefixLength);
    line[prefixLength] = ' ';
    const size_t messageLength = std::min(std::strlen(message), sizeof line - 1 - prefixLength - 1);
    std::memcpy(line + prefixLength + 1, message, messageLength);
    const size_t length = prefixLength + 1 + messageLength;
    // A failed write (disk full) drops the line; the log never reports to its caller.
    std::fwrite(line, 1, length, m_file);
    std::fwrite("\r\n", 1, 2, m_file);
    std::fflush(m_file);
    std::clearerr(m_file);
    if (!wasOpen)
        Close();
}
