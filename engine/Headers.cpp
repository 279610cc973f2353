#include "Headers.h"

#include "FileIo.h"
#include "MessageLog.h"
#include "Values.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

void CHeaders::CItem::Set(std::string_view key, std::string_view value, bool bHasValue)
{
    m_szKey.assign(key);
    m_szValue.assign(value);
    m_bHasValue = bHasValue;
    m_bAllocated = true;
}

void CHeaders::CItem::SetValue(std::string_view value)
{
    m_szValue.assign(value);
    m_bHasValue = true;
}

CHeaders::CHeaders(const std::wstring& path)
{
    Load(path);
}

bool CHeaders::Load(const std::wstring& path, TLineEnds lineEnds)
{
    m_items.clear();
    m_bWrittenAsRead = true;
    FILE* file = OpenFile(path, "rb");
    if (!file) {
        g_messageLog.LogFileError(path, FileErrorCause(errno, path));
        return false;
    }
    const std::string narrow = NativePath(path);
    g_messageLog.Log(LOG_DEBUG, "Open %s", narrow.c_str());

    int64_t length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0 || length > MAX_FILE_SIZE) {
        std::fclose(file);
        g_messageLog.Log(LOG_ERROR, "Load header: file is too large or has no size, %s",
                         narrow.c_str());
        return false;
    }
    std::vector<char> buffer;
    try {
        buffer.assign(static_cast<size_t>(length) + 1, 0);
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        g_messageLog.Log(LOG_ERROR, "Load header: out of memory, %s", narrow.c_str());
        return false;
    }
    const size_t read = std::fread(buffer.data(), 1, static_cast<size_t>(length), file);
    std::fclose(file);
    Parse(buffer.data(), read, lineEnds);
    if (read < static_cast<size_t>(length)) {
        g_messageLog.Log(LOG_DEBUG, "Load header: file size is larger then what was read, %s",
                         narrow.c_str());
        m_bWrittenAsRead = false;
    }
    return true;
}

void CHeaders::Parse(const char* data, size_t size, TLineEnds lineEnds)
{
    m_items.clear();
    const bool bAnyEnd = lineEnds == TLineEnds::Any;
    const void* zero = std::memchr(data, 0, size);
    std::string_view text(data, zero && !bAnyEnd ? static_cast<const char*>(zero) - data : size);
    m_bWrittenAsRead = !zero;
    while (!text.empty()) {
        size_t end = bAnyEnd ? text.find_first_of("\r\n") : text.find("\r\n");
        size_t next = end + 1;
        if (end == std::string_view::npos) {
            m_bWrittenAsRead = false;
            if (!bAnyEnd)
                break;
            end = next = text.size();
        } else if (text.compare(end, 2, "\r\n") == 0) {
            next = end + 2;
        } else {
            m_bWrittenAsRead = false;
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(next);
        if (bAnyEnd)
            line = line.substr(0, line.find('\0'));
        const size_t colon = line.find(':');
        if (line.empty() || line.substr(0, 2) == "//" || colon == std::string_view::npos) {
            m_bWrittenAsRead = false;
            continue;
        }
        std::string_view value = line.substr(colon + 1);
        const size_t blanks = std::min(value.find_first_not_of(' '), value.size());
        if (blanks > 0)
            m_bWrittenAsRead = false;
        value.remove_prefix(blanks);
        m_items.emplace_back();
        m_items.back().Set(line.substr(0, colon), value, !value.empty());
    }
}

std::string CHeaders::ToText() const
{
    std::string text;
    for (const CItem& item : m_items) {
        text += item.m_szKey;
        text += ':';
        if (item.m_bHasValue)
            text += item.m_szValue;
        text += "\r\n";
    }
    return text;
}

bool CHeaders::Save(const std::wstring& path, bool bCreateFolders) const
{
    CSaveFile file(path);
    if (!file.Open()) {
        if (!bCreateFolders)
            return false;
        CreateFolders(path);
        if (!file.Open())
            return false;
    }
    const std::string text = ToText();
    file.Write(text.data(), text.size());
    return file.Commit();
}

bool CHeaders::CreateFolders(const std::wstring& path)
{
    const size_t sep = FindLastSeparator(path);
    if (sep == std::wstring::npos)
        return true; // the file lies in the working folder
    if (sep == 0)
        return true; // the root exists
    std::error_code ec;
    std::filesystem::create_directories(NativePath(path.substr(0, sep)), ec);
    return !ec;
}

const CHeaders::CItem* CHeaders::Find(std::string_view key) const
{
    for (const CItem& item : m_items)
        if (item.m_szKey == key)
            return &item;
    return nullptr;
}

std::string_view CHeaders::GetValue(std::string_view key) const
{
    const CItem* item = Find(key);
    return item ? std::string_view(item->m_szValue) : std::string_view();
}

bool CHeaders::GetWholeNumber(std::string_view key, int& value, std::string_view what) const
{
    const CItem* item = Find(key);
    value = 0;
    if (!item || ReadWholeNumber(item->m_szValue, value))
        return true;
    g_messageLog.Log(LOG_ERROR, "%.*s: %.*s is not a whole number: \"%s\".", int(what.size()), what.data(),
                     int(key.size()), key.data(), item->m_szValue.c_str());
    return false;
}

void CHeaders::SetValue(std::string_view key, std::string_view value)
{
    for (CItem& item : m_items) {
        if (item.m_szKey == key) {
            item.SetValue(value);
            return;
        }
    }
    AddItem(key, value);
}

void CHeaders::AddItem(std::string_view key, std::string_view value)
{
    m_items.emplace_back();
    m_items.back().Set(key, value, true);
}

bool CHeaders::IsEqual(const CHeaders& other) const
{
    if (m_items.empty() || m_items.size() != other.m_items.size())
        return false;
    for (const CItem& item : m_items) {
        const CItem* match = other.Find(item.m_szKey);
        if (!match || match->m_bHasValue != item.m_bHasValue || match->m_szValue != item.m_szValue)
            return false;
    }
    return true;
}

bool CHeaders::KeepsValuesOf(const CHeaders& written, const char* what) const
{
    bool bKept = true;
    for (const CItem& key : written) {
        const CItem* read = Find(key.m_szKey);
        if (read && read->m_szValue != key.m_szValue) {
            g_messageLog.Log(LOG_ERROR, "%s: \"%s\" holds \"%s\", taken as \"%s\".", what,
                             key.m_szKey.c_str(), read->m_szValue.c_str(), key.m_szValue.c_str());
            bKept = false;
        }
    }
    return bKept;
}
