#pragma once
// File-system helpers shared by every reader and writer: wide paths, the file-exception
// cause codes, companion-file lookup and the safe save through a temporary file. Readers
// open regular files only, and never wait on a pipe or device put in a file's place.

#include <cstdint>
#include <cstdio>
#include <string>

// A wide path as the file system takes it (UTF-8 bytes, see ToFileName).
std::string NativePath(const std::wstring& path);

// Folder and name joined with "/" ("\" and "/" both end a folder).
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Index of the last "/" or "\" in path, or npos.
size_t FindLastSeparator(const std::wstring& path);

// File-exception cause code for an errno value; ENOENT is 3 when the file's folder is missing.
int FileErrorCause(int error, const std::wstring& path);

bool FileExists(const std::wstring& path);
bool RemoveFile(const std::wstring& path);
// Size of a regular file, or -1.
int64_t GetFileSize(const std::wstring& path);

// What tells one state of the file at a path from another: the reason it could not be looked
// at, or its device, inode, size and change times. A file written again has another identity.
struct CFileIdentity
{
    int m_nError = 0; // errno of the look, 0 when the file is there
    uint64_t m_nDevice = 0;
    uint64_t m_nInode = 0;
    int64_t m_nSize = 0;
    int64_t m_nModified = 0; // nanoseconds
    int64_t m_nChanged = 0;  // nanoseconds, the status change

    bool operator==(const CFileIdentity& other) const;
    bool operator!=(const CFileIdentity& other) const { return !(*this == other); }
};
CFileIdentity FileIdentityOf(const std::wstring& path);

// True when something lies at path that a reader taking at most maxSize bytes could not
// take completely: not a regular file, larger than maxSize, or not open for reading. Such a
// file is not missing, and must not be replaced; the reason is logged.
bool IsUnreadableFile(const std::wstring& path, int64_t maxSize);

// Renames from to to, replacing an older file of that name; 0 or the cause code.
int RenameFile(const std::wstring& from, const std::wstring& to);

// Keeps the file at path beside itself under path + suffix, or, when that name is taken, the
// first free one of path + suffix + ".1", ".2", ...: an earlier copy is never replaced. The
// file is renamed; a symbolic link is renamed itself when bFollowLink is false, else the link
// stays and the bytes of its target are copied, so that a later save writes through it. On a
// file system without a no-replace rename (FUSE, NFS, CIFS, ...) the file is linked under the
// new name and unlinked from the old one, or, without hard links, copied and then unlinked.
// The name kept under, or empty after a failure, which is logged and whose cause goes to
// pCause.
std::wstring KeepAside(const std::wstring& path, const std::wstring& suffix, bool bFollowLink,
                       int* pCause = nullptr);

// The calls that not every file system offers, as 0 or -1 with errno: the rename that refuses
// to replace (renameat2 with RENAME_NOREPLACE) and the hard link. Tests put others in their
// place to stand for a file system without them; each setter returns the call it replaced,
// and null puts the system's own back.
using TFileSystemCall = int (*)(const char* from, const char* to);
TFileSystemCall SetRenameNoReplaceCall(TFileSystemCall call);
TFileSystemCall SetLinkCall(TFileSystemCall call);

// The path itself when it exists, else the same name with its extension in the other case
// when that exists (media copied from case-insensitive systems), else the path unchanged.
std::wstring FindCompanionFile(const std::wstring& path);

// fopen of a wide path; mode as for fopen, binary always meant. Anything but a regular file
// fails, without blocking, with errno set.
FILE* OpenFile(const std::wstring& path, const char* mode);

// A file opened for reading raw bytes at given offsets.
class CReadFile
{
public:
    CReadFile() = default;
    ~CReadFile() { Close(); }
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;

    // 0 on success, else the cause code of the failure.
    int Open(const std::wstring& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // Bytes read at the offset, fewer at the end of the file, -1 on an error.
    int64_t ReadAt(uint64_t offset, void* buffer, size_t size) const;
    int64_t GetSize() const;

private:
    int m_fd = -1;
};

// Writes a file through a temporary file in the same folder; Commit renames it over the
// target. Until then, and after any failure, the previous file stays as it was. A path that
// is a symbolic link is written through to the link's target and the link stays; the new
// file keeps the permissions of the file it replaces. Anything but a regular file in the
// target's place, and a file that may not be written, is not replaced.
class CSaveFile
{
public:
    explicit CSaveFile(std::wstring path);
    ~CSaveFile();
    CSaveFile(const CSaveFile&) = delete;
    CSaveFile& operator=(const CSaveFile&) = delete;

    bool Open();
    bool Write(const void* data, size_t size);
    bool Commit();
    void Discard();

    // Cause code of the first failure, 0 while none.
    int GetCause() const { return m_iCause; }
    const std::wstring& GetPath() const { return m_strPath; }

private:
    void Fail(int error);

    std::wstring m_strPath;
    std::string m_strTargetPath; // m_strPath with its symbolic links followed
    std::string m_strTempPath;
    FILE* m_pFile = nullptr;
    int m_iCause = 0;
};
