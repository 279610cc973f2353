#include "RecentFileList.h"

#include "QtConvert.h"

#include "FileIo.h"
#include "MessageLog.h"
#include "Values.h"

#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {
const QString kGroup = QStringLiteral("Recent File List");
// Far beyond a list of paths: a larger file is not one of ours.
constexpr int64_t kMaxSettingsSize = 1024 * 1024;

// The file of Qt's settings of organisation "Tovrik", application "quarvel".
std::wstring SettingsPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? std::wstring() : FromQString(folder + QStringLiteral("/Tovrik/quarvel.conf"));
}

// Qt's settings open their file blocking and replace it when they write: they get it only
// when it is missing or a regular file.
bool IsUsable(const std::wstring& path)
{
    if (!path.empty() && !IsUnreadableFile(path, kMaxSettingsSize))
        return true;
    g_messageLog.LogString(LOG_FILE_ERROR, L"The recent-file list is kept for this run only: " + path);
    return false;
}

// Line breaks in a text value come only from a damaged file (an open quote reads on over
// the lines that follow); U+FFFD stands for bytes that Qt could not decode.
bool IsWrittenAsText(const QString& text)
{
    return !text.contains(QChar::ReplacementCharacter) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\r'));
}

// A path as Qt's settings keep it: as text, or as the bytes of its file name when the text
// would not read back as itself (a name that is not UTF-8, or holds a line break or U+FFFD).
QVariant ToSetting(const std::wstring& path)
{
    const QString text = ToQString(path);
    if (FromQString(text) == path && IsWrittenAsText(text))
        return text;
    const std::string bytes = ToFileName(path);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

// A path as WriteList stores it, without a zero byte; empty for any other value.
std::wstring FromSetting(const QVariant& value)
{
    std::wstring path;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (IsWrittenAsText(text))
            path = FromQString(text);
    } else if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        path = FromFileName(std::string_view(bytes.constData(), size_t(bytes.size())));
    }
    return path.find(L'\0') == std::wstring::npos ? path : std::wstring();
}

// Qt's settings take the last of the lines that give one key of the group; the others would
// be lost when the list is written.
bool HasRepeatedKey(const std::wstring& path)
{
    FILE* file = OpenFile(path, "rb");
    if (!file)
        return false;
    std::string text(size_t(std::clamp<int64_t>(GetFileSize(path), 0, kMaxSettingsSize)), '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    std::replace(text.begin(), text.end(), '\r', '\n');
    const QString header = QLatin1Char('[') + kGroup + QLatin1Char(']');
    bool bInGroup = false;
    QSet<QString> keys;
    for (const QByteArray& bytes : QByteArray::fromStdString(text).split('\n')) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            bInGroup = line == header || line == QStringLiteral("[Recent%20File%20List]");
            continue;
        }
        if (!bInGroup || line.startsWith(QLatin1Char(';')) || !line.contains(QLatin1Char('=')))
            continue;
        const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
        if (keys.contains(key))
            return true;
        keys.insert(key);
    }
    return false;
}

} // namespace

CRecentFileList::CRecentFileList(int nSize) : m_nSize(std::max(nSize, 1)) {}

void CRecentFileList::ReadList()
{
    m_paths.clear();
    m_bDamaged = false;
    const std::wstring path = SettingsPath();
    if (!IsUsable(path))
        return;
    QSettings settings(ToQString(path), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    QStringList unread = settings.childKeys();
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        const std::wstring entry = FromSetting(settings.value(key));
        if (!entry.empty()) {
            m_paths.push_back(entry);
            unread.removeAll(key);
        }
    }
    settings.endGroup();
    // Read after the values: Qt parses a group when it is first used.
    m_bDamaged = !unread.isEmpty() || settings.status() != QSettings::NoError || HasRepeatedKey(path);
    if (m_bDamaged)
        g_messageLog.LogString(LOG_FILE_ERROR, L"The recent-file list holds entries that cannot be read: " + path);
}

void CRecentFileList::WriteList()
{
    const std::wstring path = SettingsPath();
    if (!IsUsable(path))
        return;
    if (m_bDamaged && FileExists(path) && KeepAside(path, L".old", true).empty())
        return; // the file stays as it was, the list is this run's
    m_bDamaged = false;
    QSettings settings(ToQString(path), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    settings.remove(QString());
    for (size_t i = 0; i < m_paths.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), ToSetting(m_paths[i]));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        g_messageLog.LogString(LOG_FILE_ERROR, L"The recent-file list could not be written: " + path);
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
