#pragma once
// An ordered list of key:value lines: the one text format of profile headers, project
// headers, settings, configuration and the material list.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

class CHeaders
{
public:
    class CItem
    {
    public:
        void Set(std::string_view key, std::string_view value, bool bHasValue);
        void SetValue(std::string_view value);

        std::string m_szKey;
        std::string m_szValue;
        bool m_bHasValue = false;
        bool m_bAllocated = false;
    };

    // Header files are a few kilobytes; a larger file is not one of ours.
    static constexpr int64_t MAX_FILE_SIZE = 64 * 1024 * 1024;

    // What ends a line. CrLf: only CR LF; a lone CR or LF stays inside the line, and text after
    // the last CR LF is dropped. Any: CR LF, a lone LF or a lone CR, and a last line without
    // one is read too (files people edit by hand). CrLf stops reading at the first zero byte;
    // with Any a zero byte ends the text of its line only, and the lines after it are read.
    enum class TLineEnds { CrLf, Any };

    CHeaders() = default;
    explicit CHeaders(const std::wstring& path);

    bool Load(const std::wstring& path, TLineEnds lineEnds = TLineEnds::CrLf);
    // Fills the list from file contents held in memory.
    void Parse(const char* data, size_t size, TLineEnds lineEnds = TLineEnds::CrLf);
    // After Load or Parse: ToText gives back the text read byte for byte, so that saving the
    // list loses nothing of the file but the values changed since.
    bool IsWrittenAsRead() const { return m_bWrittenAsRead; }
    bool Save(const std::wstring& path, bool bCreateFolders) const;
    static bool CreateFolders(const std::wstring& path);

    const CItem* Find(std::string_view key) const;
    // The value of the first item with the key, empty when there is none.
    std::string_view GetValue(std::string_view key) const;
    // The whole number of the first item with the key, 0 when there is none. A value that is
    // not a whole number standing alone (a size read as "1e3" or "7 junk" would be another
    // size) gives false and is logged with the key, the file named by what.
    bool GetWholeNumber(std::string_view key, int& value, std::string_view what) const;
    void SetValue(std::string_view key, std::string_view value);
    // Appends an item even when the key exists already.
    void AddItem(std::string_view key, std::string_view value);
    bool IsEqual(const CHeaders& other) const;
    // True when each key of written that this list holds has the same value here; every one
    // that differs is logged, the file named by what. A list read from a file, against the
    // keys its reader would write back: false when a value was taken otherwise than it stood.
    bool KeepsValuesOf(const CHeaders& written, const char* what) const;

    void RemoveAll() { m_items.clear(); }
    size_t GetCount() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    std::deque<CItem>::const_iterator begin() const { return m_items.begin(); }
    std::deque<CItem>::const_iterator end() const { return m_items.end(); }

    // The file's bytes as Save writes them.
    std::string ToText() const;

private:
    std::deque<CItem> m_items;
    bool m_bWrittenAsRead = true;
};
