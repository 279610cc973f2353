#pragma once
// The framework's recent-file list: the last opened paths, newest first, kept in Qt's settings
// (organisation "Tovrik", application "quarvel", group "Recent File List"); nothing else of
// the program goes there. Only a regular settings file is read or written: anything else in
// its place leaves the list to this run.

#include <string>
#include <vector>

class CRecentFileList
{
public:
    explicit CRecentFileList(int nSize);

    void ReadList();
    // Keeps a settings file that was not read completely as ".old" before writing over it.
    void WriteList();
    // To the front; an entry of the same path moves there.
    void Add(const std::wstring& path);
    void Remove(int nIndex);
    int GetCount() const { return int(m_paths.size()); }
    int GetSize() const { return m_nSize; }
    const std::wstring& operator[](int nIndex) const { return m_paths[size_t(nIndex)]; }

private:
    int m_nSize;
    std::vector<std::wstring> m_paths;
    bool m_bDamaged = false; // the settings file held keys of the group that were not taken
};
