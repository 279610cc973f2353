#include "TestSupport.h"

#include "MessageLog.h"
#include "Values.h"

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
