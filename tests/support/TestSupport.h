#pragma once
// Shared test fixtures: a temporary folder per test, file helpers and the message log.

#include "FileIo.h"
#include "Notifier.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its contents.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::wstring WPath() const;
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    std::wstring WFile(const std::string& name) const;

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::wstring Wide(const std::string& text);

// The text of the program's message log, and emptying it.
std::string ReadLog();
void ClearLog();

// Runs the tests with $APPDATA and $XDG_CONFIG_HOME in a fresh temporary folder (the
// configuration, palette, message log and Qt's settings), removed at the end.
int RunTestsInTempAppData(const std::function<int()>& run);

// While it lives, the file system has no no-replace rename (it answers EINVAL, as FUSE, NFS,
// CIFS, 9p and eCryptfs do) and, when bNoHardLinks, no hard links either (EPERM).
class CNoRenameNoReplace
{
public:
    explicit CNoRenameNoReplace(bool bNoHardLinks = false);
    ~CNoRenameNoReplace();
    CNoRenameNoReplace(const CNoRenameNoReplace&) = delete;
    CNoRenameNoReplace& operator=(const CNoRenameNoReplace&) = delete;

    // How often each call was refused.
    static int s_nRenames;
    static int s_nLinks;

private:
    TFileSystemCall m_pRename;
    TFileSystemCall m_pLink;
};

// Records the engine's message boxes while it lives.
class CNotifierRecorder : public INotifier
{
public:
    CNotifierRecorder() { SetNotifier(this); }
    ~CNotifierRecorder() override { SetNotifier(nullptr); }
    void ShowMessage(const std::wstring& text, TMessageIcon icon) override
    {
        m_messages.push_back(text);
        m_icons.push_back(icon);
    }
    std::vector<std::wstring> m_messages;
    std::vector<TMessageIcon> m_icons;
};
