#include "FileIo.h"

#include "Values.h"

#include <cerrno>
#include <fcntl.h>
#include <cwctype>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string NativePath(const std::wstring& path)
{
    return ToAnsi(path);
}

size_t FindLastSeparator(const std::wstring& path)
{
    return path.find_last_of(L"/\\");
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty())
        return name;
    const wchar_t last = folder.back();
    if (last == L'/' || last == L'\\')
        return folder + name;
    return folder + L"/" + name;
}

int FileErrorCause(int error, const std::wstring& path)
{
    switch (error) {
    case 0:
        return 0;
    case ENOENT: {
        const size_t sep = FindLastSeparator(path);
        if (sep != std::wstring::npos && sep > 0) {
            std::error_code ec;
            if (!fs::is_directory(NativePath(path.substr(0, sep)), ec))
                return 3;
        }
        return 2;
    }
    case ENOTDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
        return 5;
    case EBADF:
        return 6;
    case EIO:
        return 10;
    case ENOSPC:
        return 13;
    default:
        return 1;
    }
}

bool FileExists(const std::wstring& path)
{
    std::error_code ec;
    return fs::exists(NativePath(path), ec);
}

bool RemoveFile(const std::wstring& path)
{
    std::error_code ec;
    return fs::remove(NativePath(path), ec);
}

int64_t GetFileSize(const std::wstring& path)
{
    std::error_code ec;
    const auto size = fs::file_size(NativePath(path), ec);
    return ec ? -1 : static_cast<int64_t>(size);
}

std::wstring FindCompanionFile(const std::wstring& path)
{
    if (FileExists(path))
        return path;
    const size_t dot = path.find_last_of(L'.');
    const size_t sep = FindLastSeparator(path);
    if (dot == std::wstring::npos || (sep != std::wstring::npos && dot < sep))
        return path;
    std::wstring other = path;
    bool anyLower = false;
    for (size_t i = dot + 1; i < other.size(); ++i)
        anyLower |= std::iswlower(static_cast<wint_t>(other[i])) != 0;
    for (size_t i = dot + 1; i < other.size(); ++i)
        other[i] = static_cast<wchar_t>(anyLower ? std::towupper(static_cast<wint_t>(other[i]))
                                                 : std::towlower(static_cast<wint_t>(other[i])));
    return FileExists(other) ? other : path;
}

FILE* OpenFile(const std::wstring& path, const char* mode)
{
    return std::fopen(NativePath(path).c_str(), mode);
}

CSaveFile::CSaveFile(std::wstring path) : m_strPath(std::move(path)) {}

CSaveFile::~CSaveFile()
{
    Discard();
}

void CSaveFile::Fail(int error)
{
    if (m_iCause == 0)
        m_iCause = FileErrorCause(error ? error : EIO, m_strPath);
}

bool CSaveFile::Open()
{
    Discard();
    m_iCause = 0;
    m_strTempPath = NativePath(m_strPath) + ".XXXXXX";
    const int fd = mkstemp(m_strTempPath.data());
    if (fd < 0) {
        Fail(errno);
        m_strTempPath.clear();
        return false;
    }
    m_pFile = fdopen(fd, "wb");
    if (!m_pFile) {
        Fail(errno);
        ::close(fd);
        std::remove(m_strTempPath.c_str());
        m_strTempPath.clear();
        return false;
    }
    return true;
}

bool CSaveFile::Write(const void* data, size_t size)
{
    if (!m_pFile || m_iCause != 0)
        return false;
    if (size > 0 && std::fwrite(data, 1, size, m_pFile) != size) {
        Fail(errno);
        return false;
    }
    return true;
}

bool CSaveFile::Commit()
{
    if (!m_pFile)
        return false;
    if (std::fflush(m_pFile) != 0 || fsync(fileno(m_pFile)) != 0)
        Fail(errno);
    if (std::fclose(m_pFile) != 0)
        Fail(errno);
    m_pFile = nullptr;
    if (m_iCause == 0) {
        // mkstemp creates 0600; give the file the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        chmod(m_strTempPath.c_str(), 0666 & ~mask);
        if (std::rename(m_strTempPath.c_str(), NativePath(m_strPath).c_str()) != 0)
            Fail(errno);
    }
    if (m_iCause != 0) {
        std::remove(m_strTempPath.c_str());
        m_strTempPath.clear();
        return false;
    }
    m_strTempPath.clear();
    return true;
}

void CSaveFile::Discard()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_strTempPath.empty()) {
        std::remove(m_strTempPath.c_str());
        m_strTempPath.clear();
    }
}

int CReadFile::Open(const std::wstring& path)
{
    Close();
    m_fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return FileErrorCause(errno, path);
    struct stat info;
    if (fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        Close();
        return FileErrorCause(EISDIR, path);
    }
    return 0;
}

void CReadFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

int64_t CReadFile::ReadAt(uint64_t offset, void* buffer, size_t size) const
{
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t CReadFile::GetSize() const
{
    struct stat info;
    if (m_fd < 0 || fstat(m_fd, &info) != 0)
        return -1;
    return info.st_size;
}
