#include "RecentFileList.h"

#include "QtConvert.h"

#include <QSettings>
#include <algorithm>

namespace {
QSettings& Settings()
{
    static QSettings s_settings(QStringLiteral("Tovrik"), QStringLiteral("quarvel"));
    return s_settings;
}
const QString kGroup = QStringLiteral("Recent File List");
} // namespace

CRecentFileList::CRecentFileList(int nSize) : m_nSize(std::max(nSize, 1)) {}

void CRecentFileList::ReadList()
{
    m_paths.clear();
    QSettings& settings = Settings();
    settings.sync();
    settings.beginGroup(kGroup);
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_paths.push_back(FromQString(path));
    }
    settings.endGroup();
}

void CRecentFileList::WriteList() const
{
    QSettings& settings = Settings();
    settings.beginGroup(kGroup);
    settings.remove(QString());
    for (size_t i = 0; i < m_paths.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), ToQString(m_paths[i]));
    settings.endGroup();
    settings.sync();
}

void CRecentFileList::Add(const std::wstring& path)
{
    if (path.empty())
        return;
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (int(m_paths.size()) > m_nSize)
        m_paths.resize(size_t(m_nSize));
    WriteList();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    m_paths.erase(m_paths.begin() + nIndex);
    WriteList();
}
