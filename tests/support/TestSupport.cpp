#include "TestSupport.h"

#include "FileIo.h"
#include "MessageLog.h"
#include "UserFolder.h"
#include "Values.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

CTempDir::CTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::wstring CTempDir::WPath() const
{
    return Wide(m_path);
}

std::wstring CTempDir::WFile(const std::string& name) const
{
    return Wide(File(name));
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring Wide(const std::string& text)
{
    return FromAnsi(text);
}

std::string ReadLog()
{
    g_messageLog.Flush();
    return ReadFileBytes(ToAnsi(g_messageLog.GetPath()));
}

void ClearLog()
{
    g_messageLog.Reset();
    g_messageLog.Open();
}

int RunTestsInTempAppData(const std::function<int()>& run)
{
    std::string appData = (std::filesystem::temp_directory_path() / "quarvel-appdata-XXXXXX").string();
    if (!mkdtemp(appData.data()))
        return 1;
    setenv("APPDATA", appData.c_str(), 1);
    // Qt's settings (the recent-file list) stay in the same folder.
    setenv("XDG_CONFIG_HOME", appData.c_str(), 1);
    const std::wstring folder = GetUserConfigDir();
    std::error_code ec;
    std::filesystem::create_directories(ToAnsi(folder), ec);
    g_messageLog.SetPath(JoinPath(folder, L"message.log"));
    g_messageLog.Reset();
    g_messageLog.Enable();
    g_messageLog.Open();
    const int result = run();
    g_messageLog.SetPath(std::wstring());
    std::filesystem::remove_all(appData, ec);
    return result;
}

int CNoRenameNoReplace::s_nRenames = 0;
int CNoRenameNoReplace::s_nLinks = 0;

CNoRenameNoReplace::CNoRenameNoReplace(bool bNoHardLinks)
{
    s_nRenames = s_nLinks = 0;
    m_pRename = SetRenameNoReplaceCall([](const char*, const char*) {
        ++s_nRenames;
        errno = EINVAL;
        return -1;
    });
    const TFileSystemCall refuseLink = [](const char*, const char*) {
        ++s_nLinks;
        errno = EPERM;
        return -1;
    };
    m_pLink = SetLinkCall(bNoHardLinks ? refuseLink : nullptr);
}

CNoRenameNoReplace::~CNoRenameNoReplace()
{
    SetRenameNoReplaceCall(m_pRename);
    SetLinkCall(m_pLink);
}
