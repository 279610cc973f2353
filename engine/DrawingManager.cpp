#include "DrawingManager.h"

#include "FileIo.h"
#include "Headers.h"
#include "MessageLog.h"
#include "Values.h"
#include "Version.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unistd.h>

namespace Tovrik {

namespace {

constexpr uint32_t kDefaultColor = 0x0064FF64; // red 100, green 255, blue 100
constexpr int32_t kDefaultBlendAlpha = 100;
// An object line takes some 50 bytes; no real object file comes near this.
constexpr int64_t kMaxObjectFile = 16 * 1024 * 1024;
constexpr size_t kUsualObjectLine = 48;

std::string FileHeader()
{
    return std::string(PROGRAM_NAME) + "\t" + PROGRAM_VERSION + "\r\n";
}

const char kKeyColor[] = "drawing.color";
const char kKeyBlendAlpha[] = "drawing.blendalpha";
const char kKeyDrawFrame[] = "drawing.drawframe";
const char kKeyOverlay[] = "drawing.overlay";
const char kKeyVisible[] = "drawing.visible";
const char* const kVisibilityNames[] = {"all", "range", "hide"};

// Cut: the text holds the file up to a zero byte, which no object file has; the rest is not
// read.
enum class TFileRead { Read, Cut, Missing, Failed };

TFileRead ReadObjectFile(const std::wstring& path, std::string& text)
{
    FILE* file = OpenFile(path, "rb");
    if (!file) {
        const int cause = FileErrorCause(errno, path);
        if (cause == 2 || cause == 3)
            return TFileRead::Missing;
        g_messageLog.LogFileError(path, cause);
        return TFileRead::Failed;
    }
    int64_t length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    const std::string narrow = NativePath(path);
    if (length < 0 || length > kMaxObjectFile) {
        std::fclose(file);
        g_messageLog.Log(LOG_ERROR, "Object list is too large or has no size, %s",
                         narrow.c_str());
        return TFileRead::Failed;
    }
    try {
        text.assign(static_cast<size_t>(length), '\0');
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        g_messageLog.Log(LOG_ERROR, "Object list: out of memory, %s", narrow.c_str());
        return TFileRead::Failed;
    }
    text.resize(std::fread(text.data(), 1, text.size(), file));
    const bool bError = std::ferror(file) != 0;
    std::fclose(file);
    if (bError) {
        g_messageLog.Log(LOG_ERROR, "Object list: read error, %s", narrow.c_str());
        return TFileRead::Failed;
    }
    const size_t zero = text.find('\0');
    if (zero == std::string::npos)
        return TFileRead::Read;
    g_messageLog.Log(LOG_ERROR, "Object list has a zero byte at offset %zu; the rest is not read, %s", zero,
                     narrow.c_str());
    text.resize(zero);
    return TFileRead::Cut;
}

// Whether line 1, which ends at end, is the header: the program's name, alone or followed by a
// TAB and the version, which is not looked at.
bool IsHeaderLine(std::string_view text, size_t end)
{
    const std::string_view name(PROGRAM_NAME);
    const std::string_view line = text.substr(0, end);
    return line.substr(0, name.size()) == name && (line.size() == name.size() || line[name.size()] == '\t');
}

// Deletes the object file of an empty list: the regular file at path or the one a symbolic
// link at path leads to, the link staying as a save writes through it. Anything else at path
// (a dangling or looping link) is left alone.
bool RemoveObjectFile(const std::wstring& path)
{
    const std::string narrow = NativePath(path);
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(narrow, ec);
    if (ec || !std::filesystem::is_regular_file(target, ec)) {
        if (std::filesystem::symlink_status(narrow, ec).type() != std::filesystem::file_type::not_found)
            g_messageLog.Log(LOG_INFO, "SaveObjectList(): no objects; %s is no regular file and stays.",
                             narrow.c_str());
        return true;
    }
    if (unlink(target.c_str()) == 0 || errno == ENOENT)
        return true;
    g_messageLog.LogFileError(path, FileErrorCause(errno, path));
    return false;
}

// The values that equal objects share exactly.
auto KindOf(const CDrawDataObject& object)
{
    return std::tie(object.m_nType, object.m_crFill, object.m_crLine, object.m_bVisible);
}

// Orders objects by kind and then by the first x, so that the objects that can equal a given
// one lie together.
struct CObjectOrder
{
    bool operator()(const CDrawDataObject& a, const CDrawDataObject& b) const
    {
        return std::tuple_cat(KindOf(a), std::tie(a.m_fX1)) < std::tuple_cat(KindOf(b), std::tie(b.m_fX1));
    }
};

} // namespace

CDrawingManager::CDrawingManager()
{
    ResetDefaults();
    m_bOverlay = false;
}

void CDrawingManager::ResetDefaults()
{
    RemoveAll();
    m_nTool = TOOL_RECT;
    m_crColor = kDefaultColor;
    m_nPenWidth = 1;
    m_pPen = MakePen(m_crColor, m_nPenWidth);
    m_pBrush = MakeBrush(m_crColor);
    m_nBlendAlpha = kDefaultBlendAlpha;
    m_bDrawFrame = true;
    m_bBusy = false;
    m_bOverlay = true;
    m_bDrawingMode = false;
    m_editBuffer = CDrawDataObject();
    m_bBufferFull = false;
}

bool CDrawingManager::LoadSettings(const std::wstring& cfgPath)
{
    CHeaders headers;
    if (!headers.Load(cfgPath, CHeaders::TLineEnds::Any))
        return true;
    // An empty value counts as a missing key.
    const auto value = [&headers](const char* key) -> const std::string* {
        const CHeaders::CItem* item = headers.Find(key);
        return item && item->m_bHasValue ? &item->m_szValue : nullptr;
    };
    uint32_t crColor = m_crColor;
    if (const std::string* text = value(kKeyColor); text && ReadHexColor(*text, crColor) > 0)
        SetColor(crColor);
    if (const std::string* text = value(kKeyBlendAlpha))
        SetBlendAlpha(ReadInt(*text));
    if (const std::string* text = value(kKeyDrawFrame))
        m_bDrawFrame = ReadFlagChar(*text);
    if (const std::string* text = value(kKeyOverlay))
        m_bOverlay = ReadFlagChar(*text);
    if (const std::string* text = value(kKeyVisible)) {
        for (int32_t mode = VISIBLE_ALL; mode <= VISIBLE_HIDE; ++mode)
            if (*text == kVisibilityNames[mode])
                m_nVisibility = mode;
    } else {
        m_nVisibility = VISIBLE_ALL;
    }
    CHeaders taken;
    SetSettingsKeys(taken);
    return headers.KeepsValuesOf(taken, "Drawing settings");
}

void CDrawingManager::SetSettingsKeys(CHeaders& headers) const
{
    const bool known = m_nVisibility >= VISIBLE_ALL && m_nVisibility <= VISIBLE_HIDE;
    headers.SetValue(kKeyColor, FormatHex(m_crColor));
    headers.SetValue(kKeyBlendAlpha, FormatInt(m_nBlendAlpha));
    headers.SetValue(kKeyDrawFrame, m_bDrawFrame ? "1" : "0");
    headers.SetValue(kKeyOverlay, m_bOverlay ? "1" : "0");
    headers.SetValue(kKeyVisible, kVisibilityNames[known ? m_nVisibility : VISIBLE_ALL]);
}

bool CDrawingManager::SaveSettings(const std::wstring& cfgPath) const
{
    CHeaders headers;
    // A configuration that exists but cannot be read is not replaced by the drawing keys alone.
    if (!headers.Load(cfgPath, CHeaders::TLineEnds::Any) && FileExists(cfgPath))
        return false;
    SetSettingsKeys(headers);
    return headers.Save(cfgPath, true);
}

CDrawingManager::CDrawDataObject* CDrawingManager::GetObject(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_objects[static_cast<size_t>(index)].get();
}

void CDrawingManager::SelectObject(int index)
{
    if (index >= 0 && index < GetCount())
        m_nSelected = index;
}

void CDrawingManager::SelectObject(const CDrawDataObject* pObject)
{
    for (size_t i = 0; pObject && i < m_objects.size(); ++i)
        if (m_objects[i].get() == pObject)
            m_nSelected = static_cast<int32_t>(i);
}

CDrawingManager::CDrawDataObject* CDrawingManager::AddObject(const CDrawDataObject& object)
{
    auto added = std::make_unique<CDrawDataObject>(object);
    added->m_pPen = m_pPen;
    added->m_pBrush = m_pBrush;
    m_objects.push_back(std::move(added));
    return m_objects.back().get();
}

void CDrawingManager::RemoveObject(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    if (m_nSelected == index)
        m_nSelected = -1;
    else if (m_nSelected > index)
        --m_nSelected;
    m_objects.erase(m_objects.begin() + index);
}

void CDrawingManager::RemoveAll()
{
    m_nSelected = -1;
    m_objects.clear();
}

void CDrawingManager::SetStyle(uint32_t crColor, int32_t nPenWidth)
{
    if (crColor == m_crColor && nPenWidth == m_nPenWidth)
        return;
    m_crColor = crColor;
    m_nPenWidth = nPenWidth;
    // The previous pen and brush go when nothing else holds them.
    for (const auto& object : m_objects) {
        const CDrawPen* pen = object->m_pPen.get();
        if (pen && pen->m_crColor == crColor && pen->m_nWidth == nPenWidth && object->m_pBrush) {
            m_pPen = object->m_pPen;
            m_pBrush = object->m_pBrush;
            return;
        }
    }
    m_pPen = MakePen(crColor, nPenWidth);
    m_pBrush = MakeBrush(crColor);
}

void CDrawingManager::SetColor(uint32_t crColor)
{
    if (crColor != m_crColor)
        SetStyle(crColor, m_nPenWidth);
}

void CDrawingManager::SetTool(int32_t nTool)
{
    m_nTool = nTool;
    SetStyle(m_crColor, nTool == TOOL_LINE ? 2 : 1);
}

void CDrawingManager::SetBlendAlpha(int32_t nAlpha)
{
    m_nBlendAlpha = nAlpha < 0 ? 0 : nAlpha > 255 ? 255 : nAlpha;
}

bool CDrawingManager::Cut()
{
    const CDrawDataObject* selected = GetSelectedObject();
    if (!CanEdit() || !selected)
        return false;
    m_editBuffer = *selected; // the buffer now holds the object's pen and brush
    m_bBufferFull = true;
    m_objects.erase(m_objects.begin() + m_nSelected);
    if (m_objects.empty())
        m_nSelected = -1;
    else if (m_nSelected == GetCount())
        m_nSelected = GetCount() - 1;
    return true;
}

bool CDrawingManager::Copy()
{
    const CDrawDataObject* selected = GetSelectedObject();
    if (!CanEdit() || !selected)
        return false;
    m_editBuffer = *selected;
    m_bBufferFull = true;
    return true;
}

bool CDrawingManager::Paste()
{
    if (!CanEdit() || !m_bBufferFull)
        return false;
    m_objects.push_back(std::make_unique<CDrawDataObject>(m_editBuffer));
    m_nSelected = GetCount() - 1;
    return true;
}

bool CDrawingManager::SaveObjectList(const std::wstring& path)
{
    // The file that failed to load is kept, once, before anything replaces it; a symbolic link
    // stays and a copy of its file is kept. A link that leads to no file has nothing to keep.
    if (m_bFileDamaged && path == m_strObjectListPath) {
        if (FileExists(path) && KeepAside(path, L".bak", true).empty())
            return false;
        m_bFileDamaged = false;
    } else if (IsUnreadableFile(path, kMaxObjectFile)) {
        return false;
    }
    if (m_objects.empty()) {
        if (!RemoveObjectFile(path))
            return false;
        KeepWritten(path);
        return true;
    }
    std::string text = FileHeader();
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (!m_objects[i]->HasFiniteCoordinates())
            g_messageLog.Log(LOG_ERROR,
                             "SaveObjectList(): object %zu of %zu has a coordinate that is not a finite number; "
                             "it is written as the nearest finite value (0 for NaN).",
                             i + 1, m_objects.size());
        text += m_objects[i]->Write();
    }
    CSaveFile file(path);
    if (!file.Open() || !file.Write(text.data(), text.size()) || !file.Commit()) {
        g_messageLog.LogFileError(path, file.GetCause());
        return false;
    }
    KeepWritten(path, text);
    return true;
}

void CDrawingManager::KeepWritten(const std::wstring& path, const std::string& text)
{
    if (path != m_strObjectListPath)
        return;
    const CFileIdentity identity = FileIdentityOf(path);
    // An empty list leaves no file, or something that is none and is read again when asked.
    m_bKept = !text.empty() || identity.m_nError == ENOENT;
    m_kept = text.empty() ? CFileObjects() : ParseFileObjects(text);
    m_kept.m_identity = identity;
}

bool CDrawingManager::LoadObjectList(const std::wstring& path)
{
    RemoveAll();
    m_strObjectListPath = path;
    m_bFileDamaged = false;
    // What IsModified compares with: taken before the read, so that a change while reading
    // shows at the next look.
    m_bKept = true;
    m_kept = CFileObjects();
    m_kept.m_identity = FileIdentityOf(path);
    std::string text;
    const TFileRead read = ReadObjectFile(path, text);
    if (read == TFileRead::Missing || read == TFileRead::Failed) {
        m_bFileDamaged = read == TFileRead::Failed;
        if (m_bFileDamaged)
            m_kept.m_state = CFileObjects::UNUSABLE;
        return false;
    }
    m_kept.m_state = CFileObjects::UNUSABLE;
    m_bFileDamaged = read == TFileRead::Cut;
    size_t end = 0;
    size_t pos = 0;
    if (!FindLine(text, 0, end, pos)) {
        g_messageLog.Log(LOG_ERROR, "LoadObjectList(): missing eol; parse error.");
        m_bFileDamaged = true;
        m_kept.m_state = CFileObjects::NO_LINE_END;
        return false;
    }
    // Without its header the file may begin with an object, which is read then.
    if (!IsHeaderLine(text, end)) {
        g_messageLog.Log(LOG_ERROR, "LoadObjectList(): line 1 is not the file's header, %s",
                         NativePath(path).c_str());
        m_bFileDamaged = true;
        size_t first = 0;
        if (CDrawDataObject().Read(text, first))
            pos = 0;
    }
    // An object is drawn in its fill colour with the width of its tool. Objects of one style
    // share its pen and brush, and share the current ones when the style is the current one.
    std::unordered_map<uint64_t, std::pair<PenPtr, BrushPtr>> styles;
    const auto styleKey = [](uint32_t crColor, int32_t nWidth) { return uint64_t(crColor) << 32 | uint32_t(nWidth); };
    styles[styleKey(m_crColor, m_nPenWidth)] = {m_pPen, m_pBrush};
    // Room for the objects of lines of the usual length; the file's size limit bounds it.
    const size_t expected = text.size() / kUsualObjectLine;
    m_objects.reserve(expected);
    m_kept.m_objects.reserve(expected);
    styles.reserve(expected);
    while (pos < text.size()) {
        auto object = std::make_unique<CDrawDataObject>();
        if (!object->Read(text, pos)) {
            g_messageLog.Log(LOG_ERROR,
                             "Failed to read and parse object list:\nEntire file:\n\t%s\nFrom:\n\t%s",
                             text.c_str(), text.c_str() + pos);
            m_bFileDamaged = true;
            m_kept.m_objects.clear();
            return false;
        }
        m_kept.m_objects.push_back(*object); // before it shares a pen and brush
        const int32_t width = object->m_nType == CDrawDataObject::TYPE_LINE ? 2 : 1;
        auto& style = styles[styleKey(object->m_crFill, width)];
        if (!style.first)
            style = {MakePen(object->m_crFill, width), MakeBrush(object->m_crFill)};
        object->m_pPen = style.first;
        object->m_pBrush = style.second;
        m_objects.push_back(std::move(object));
    }
    if (m_bFileDamaged)
        m_kept.m_objects.clear();
    else
        m_kept.m_state = CFileObjects::READ;
    return !m_bFileDamaged;
}

CDrawingManager::CFileObjects CDrawingManager::ParseFileObjects(const std::string& text)
{
    CFileObjects file;
    size_t end = 0;
    size_t pos = 0;
    if (!FindLine(text, 0, end, pos)) {
        file.m_state = CFileObjects::NO_LINE_END;
        return file;
    }
    file.m_state = CFileObjects::UNUSABLE;
    if (!IsHeaderLine(text, end))
        return file;
    while (pos < text.size()) {
        CDrawDataObject object;
        if (!object.Read(text, pos)) {
            file.m_objects.clear();
            return file;
        }
        file.m_objects.push_back(std::move(object));
    }
    file.m_state = CFileObjects::READ;
    return file;
}

CDrawingManager::CFileObjects CDrawingManager::ReadFileObjects(const std::wstring& path)
{
    // Taken before the read: a change while reading shows at the next look.
    const CFileIdentity identity = FileIdentityOf(path);
    std::string text;
    CFileObjects file;
    switch (ReadObjectFile(path, text)) {
    case TFileRead::Missing: break;
    case TFileRead::Cut:
    case TFileRead::Failed: file.m_state = CFileObjects::UNUSABLE; break;
    case TFileRead::Read: file = ParseFileObjects(text); break;
    }
    file.m_identity = identity;
    return file;
}

bool CDrawingManager::IsModified() const
{
    if (m_bKept && FileIdentityOf(m_strObjectListPath) == m_kept.m_identity)
        return DiffersFrom(m_kept);
    return DiffersFrom(ReadFileObjects(m_strObjectListPath));
}

bool CDrawingManager::DiffersFrom(const CFileObjects& file) const
{
    switch (file.m_state) {
    case CFileObjects::MISSING: return !m_objects.empty();
    case CFileObjects::NO_LINE_END:
        g_messageLog.Log(LOG_ERROR, "DrawingMangager::IsModified(): Reading beond buffer, missing \\r.");
        return true;
    case CFileObjects::UNUSABLE: return true;
    case CFileObjects::READ: break;
    }
    if (file.m_objects.empty() || file.m_objects.size() != m_objects.size())
        return true;
    std::multiset<CDrawDataObject, CObjectOrder> fileObjects(file.m_objects.begin(), file.m_objects.end());
    // Each object of the file answers for one object of the list, compared as written; only
    // file objects whose first x lies near the object's can be equal to it.
    for (const auto& object : m_objects) {
        const std::string line = object->Write();
        CDrawDataObject written;
        size_t linePos = 0;
        if (!written.Read(line, linePos))
            return true;
        // A wider window than the tolerance: IsEqual decides.
        const float reach = 2 * CDrawDataObject::COORDINATE_TOLERANCE;
        CDrawDataObject low = written;
        low.m_fX1 = written.m_fX1 - reach;
        auto candidate = fileObjects.lower_bound(low);
        for (; candidate != fileObjects.end(); ++candidate) {
            if (KindOf(*candidate) != KindOf(written) || candidate->m_fX1 > written.m_fX1 + reach)
                return true;
            if (written.IsEqual(*candidate))
                break;
        }
        if (candidate == fileObjects.end())
            return true;
        fileObjects.erase(candidate);
    }
    return false;
}

} // namespace Tovrik
