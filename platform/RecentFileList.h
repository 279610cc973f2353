#pragma once
// The framework's recent-file list: the last opened paths, newest first, kept in Qt's settings
// (organisation "Tovrik", application "quarvel", group "Recent File List"); nothing else of
// the program goes there.

#include <string>
#include <vector>

class CRecentFileList
{
public:
    explicit CRecentFileList(int nSize);

    void ReadList();
    void WriteList() const;
    // To the front; an entry of the same path moves there.
    void Add(const std::wstring& path);
    void Remove(int nIndex);
    int GetCount() const { return int(m_paths.size()); }
    int GetSize() const { return m_nSize; }
    const std::wstring& operator[](int nIndex) const { return m_paths[size_t(nIndex)]; }

private:
    int m_nSize;
    std::vector<std::wstring> m_paths;
};
