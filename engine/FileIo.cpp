#include "FileIo.h"

#include "MessageLog.h"
#include "Values.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <cwctype>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// open(2) that takes regular files only. O_NONBLOCK keeps the open of a FIFO or device from
// waiting; it is cleared again, as regular files never block.
int OpenRegular(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    struct stat info;
    const bool bStat = fstat(fd, &info) == 0;
    if (!bStat || !S_ISREG(info.st_mode)) {
        const int error = !bStat ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return -1;
    }
    const int status = fcntl(fd, F_GETFL);
    if (status != -1)
        fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

// The file a path names once its symbolic links are followed; the path itself when it is
// no link or the chain does not end.
std::string FollowLinks(const std::string& path)
{
    fs::path current(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec))
            return current.string();
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return path;
}

} // namespace

std::string NativePath(const std::wstring& path)
{
    return ToFileName(path);
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

bool CFileIdentity::operator==(const CFileIdentity& other) const
{
    return m_nError == other.m_nError && m_nDevice == other.m_nDevice && m_nInode == other.m_nInode &&
           m_nSize == other.m_nSize && m_nModified == other.m_nModified && m_nChanged == other.m_nChanged;
}

CFileIdentity FileIdentityOf(const std::wstring& path)
{
    CFileIdentity identity;
    struct stat info;
    if (::stat(NativePath(path).c_str(), &info) != 0) {
        identity.m_nError = errno;
        return identity;
    }
    identity.m_nDevice = uint64_t(info.st_dev);
    identity.m_nInode = uint64_t(info.st_ino);
    identity.m_nSize = int64_t(info.st_size);
    identity.m_nModified = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.m_nChanged = int64_t(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return identity;
}

bool IsUnreadableFile(const std::wstring& path, int64_t maxSize)
{
    const std::string narrow = NativePath(path);
    struct stat info;
    const char* reason = nullptr;
    if (::stat(narrow.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        reason = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        reason = "not a regular file";
    } else if (info.st_size > maxSize) {
        reason = "larger than any file of its kind";
    } else {
        const int fd = OpenRegular(narrow, O_RDONLY);
        if (fd >= 0) {
            ::close(fd);
            return false;
        }
        reason = std::strerror(errno);
    }
    g_messageLog.Log(LOG_FILE_ERROR, "%s exists but cannot be read: %s.", narrow.c_str(), reason);
    return true;
}

int RenameFile(const std::wstring& from, const std::wstring& to)
{
    if (std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0)
        return 0;
    return FileErrorCause(errno, to);
}

namespace {

// Copies the bytes of from (its links followed) into a new file to; errno as the failing call.
bool CopyNoReplace(const std::string& from, const std::string& to)
{
    const int in = OpenRegular(from, O_RDONLY);
    if (in < 0)
        return false;
    struct stat info {};
    fstat(in, &info);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        errno = error;
        return false;
    }
    char buffer[1 << 16];
    bool bOk = true;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        bOk = got > 0;
        for (ssize_t done = 0; bOk && done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            bOk = put > 0 || (put < 0 && errno == EINTR);
            done += put > 0 ? put : 0;
        }
        if (!bOk)
            break;
    }
    bOk = bOk && ::fsync(out) == 0;
    const int error = errno;
    ::close(in);
    if (::close(out) != 0 && bOk)
        bOk = false;
    if (!bOk) {
        ::unlink(to.c_str());
        errno = error ? error : EIO;
    }
    return bOk;
}

int SystemRenameNoReplace(const char* from, const char* to)
{
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

// A symbolic link is linked itself, not its target.
int SystemLink(const char* from, const char* to)
{
    return linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

TFileSystemCall g_pRenameNoReplace = SystemRenameNoReplace;
TFileSystemCall g_pLink = SystemLink;

// The answers of a file system that does not offer a call (renameat2 gives EINVAL for a flag
// it does not know).
bool IsUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// A hard link that the file system refuses for this file, though it would take a new one:
// EPERM where hard links are not allowed, EMLINK where the file has too many.
bool IsLinkRefused(int error)
{
    return IsUnsupported(error) || error == EPERM || error == EMLINK;
}

// Unlinks from once its file is kept under to as well; else to goes again. errno as unlink(2).
bool UnlinkKept(const std::string& from, const std::string& to)
{
    if (::unlink(from.c_str()) == 0)
        return true;
    const int error = errno;
    ::unlink(to.c_str());
    errno = error;
    return false;
}

// A copy under to that nothing replaces: a symbolic link as a link to the same target,
// anything else as the bytes of its file.
bool CopyItselfNoReplace(const std::string& from, const std::string& to, bool bLink)
{
    if (!bLink)
        return CopyNoReplace(from, to);
    std::error_code ec;
    const fs::path target = fs::read_symlink(from, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return ::symlink(target.c_str(), to.c_str()) == 0;
}

// Moves from (a symbolic link itself) to to unless something lies at to already, which fails
// with EEXIST. Where the file system has no such rename: a hard link and an unlink, both
// atomic, else a copy and an unlink.
bool MoveNoReplace(const std::string& from, const std::string& to, bool bLink)
{
    if (g_pRenameNoReplace(from.c_str(), to.c_str()) == 0)
        return true;
    if (!IsUnsupported(errno))
        return false;
    if (g_pLink(from.c_str(), to.c_str()) == 0)
        return UnlinkKept(from, to);
    if (!IsLinkRefused(errno))
        return false;
    return CopyItselfNoReplace(from, to, bLink) && UnlinkKept(from, to);
}

} // namespace

TFileSystemCall SetRenameNoReplaceCall(TFileSystemCall call)
{
    const TFileSystemCall previous = g_pRenameNoReplace;
    g_pRenameNoReplace = call ? call : SystemRenameNoReplace;
    return previous;
}

TFileSystemCall SetLinkCall(TFileSystemCall call)
{
    const TFileSystemCall previous = g_pLink;
    g_pLink = call ? call : SystemLink;
    return previous;
}

std::wstring KeepAside(const std::wstring& path, const std::wstring& suffix, bool bFollowLink, int* pCause)
{
    const std::string from = NativePath(path);
    struct stat info {};
    const bool bLink = ::lstat(from.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    const bool bCopy = bLink && bFollowLink;
    int error = 0;
    for (int number = 0; number < 1000; ++number) {
        std::wstring kept = path + suffix;
        if (number > 0)
            kept += L"." + std::to_wstring(number);
        const std::string to = NativePath(kept);
        if (bCopy ? CopyNoReplace(from, to) : MoveNoReplace(from, to, bLink)) {
            g_messageLog.Log(LOG_INFO, "KeepAside(): kept %s as %s.", from.c_str(), to.c_str());
            if (pCause)
                *pCause = 0;
            return kept;
        }
        error = errno;
        if (error != EEXIST)
            break;
    }
    const int cause = FileErrorCause(error ? error : EEXIST, path);
    g_messageLog.Log(LOG_FILE_ERROR, "KeepAside(): %s could not be kept beside itself: %s.", from.c_str(),
                     std::strerror(error ? error : EEXIST));
    if (pCause)
        *pCause = cause;
    return {};
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
    int flags = 0;
    switch (mode[0]) {
    case 'r':
        flags = O_RDONLY;
        break;
    case 'w':
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case 'a':
        flags = O_WRONLY | O_CREAT | O_APPEND;
        break;
    default:
        errno = EINVAL;
        return nullptr;
    }
    if (std::strchr(mode, '+'))
        flags = (flags & ~O_ACCMODE) | O_RDWR;
    const int fd = OpenRegular(NativePath(path), flags);
    if (fd < 0)
        return nullptr;
    FILE* file = fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
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
    m_strTargetPath = FollowLinks(NativePath(m_strPath));
    struct stat info;
    if (::stat(m_strTargetPath.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
            return false;
        }
        // The rename would replace a write-protected file as well.
        if (faccessat(AT_FDCWD, m_strTargetPath.c_str(), W_OK, AT_EACCESS) != 0) {
            Fail(errno);
            return false;
        }
    }
    m_strTempPath = m_strTargetPath + ".XXXXXX";
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
        // mkstemp creates 0600: the file gets the permissions of the one it replaces, else
        // the usual ones.
        struct stat info;
        mode_t mode = 0;
        if (::stat(m_strTargetPath.c_str(), &info) == 0) {
            mode = info.st_mode & 07777;
        } else {
            const mode_t mask = umask(0);
            umask(mask);
            mode = 0666 & ~mask;
        }
        chmod(m_strTempPath.c_str(), mode);
        if (std::rename(m_strTempPath.c_str(), m_strTargetPath.c_str()) != 0)
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
    m_fd = OpenRegular(NativePath(path), O_RDONLY);
    return m_fd < 0 ? FileErrorCause(errno, path) : 0;
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
