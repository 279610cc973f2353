#include "Cfg.h"

#include "FileIo.h"
#include "Headers.h"
#include "MessageLog.h"
#include "Notifier.h"
#include "UserFolder.h"
#include "Values.h"
#include "Version.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

const wchar_t kMaterialListName[] = L"material.lst";
const wchar_t kUserDefinedMaterial[] = L"User-defined";
// The velocity range of the user-defined material when the list gives none.
const int kUserDefinedMinVelocity = 30;
const int kUserDefinedMaxVelocity = 300;

// The whole number after the first occurrence of separator within the first limit
// characters; 0 when the text holds none.
int ReadSecondNumber(std::string_view value, char separator, size_t limit)
{
    const size_t pos = value.substr(0, limit).find(separator);
    if (pos != std::string_view::npos)
        return ReadInt(value.substr(pos + 1));
    return value.size() > limit ? ReadInt(value.substr(limit)) : 0;
}

std::string FormatPair(const int32_t pair[2])
{
    return FormatInt(pair[0]) + " " + FormatInt(pair[1]);
}

int32_t LimitPosition(int value)
{
    return (value < 0 || value > 2000) ? 100 : value;
}

// The window's place as the next start takes it: one beyond the limits (a second screen) is
// written as the place it will be read as, so that the file reads back as itself.
std::string FormatPosition(const int32_t pos[2])
{
    const int32_t limited[2] = {LimitPosition(pos[0]), LimitPosition(pos[1])};
    return FormatPair(limited);
}

// A folder as the file keeps it: a name that would not read back as itself (a line break in
// it, or a blank at its start, which the reader skips) is not remembered.
std::string FormatFolder(const char* key, const std::wstring& folder)
{
    const std::string name = ToFileName(folder);
    if (name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos && name.rfind(' ', 0) != 0)
        return name;
    g_messageLog.Log(LOG_ERROR, "Configuration file: \"%s\" cannot hold the folder %s; it is not remembered.",
                     key, name.c_str());
    return std::string();
}

std::wstring GetExecutableDir()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::wstring();
    return FromAnsi(exe.parent_path().string());
}

} // namespace

CCfg::CCfg()
{
    SetDefaults();
}

void CCfg::SetDefaults()
{
    m_pCurMaterial = nullptr;
    m_materials.clear();
    FillGrayPalette(m_curColors);
    FillGrayPalette(m_userColors);
    m_ownUserColors = m_userColors;
    m_nCurPalette = 0;
    m_paletteNames.clear();
    m_bPaletteAll = false;
    m_bPaletteWrap = false;
    m_cursors.clear();
    m_nLayout = 1;
    m_bRememberWindow = false;
    m_windowSize[0] = m_windowSize[1] = 0;
    m_windowPos[0] = m_windowPos[1] = 0;
    m_bAutoContrast = true;
    m_bUnitsAll = false;
    m_units = UNITS_SI;
    m_unitsNames = {L"SI units", L"Imperial units"};
    m_winPos.clear();
    m_bUseMouseWheel = true;
    m_importSrcFolder.clear();
    m_importProjectFolder.clear();
    m_bCfgFileDamaged = false;
    m_bPaletteFileDamaged = false;
}

bool CCfg::Load()
{
    LoadMaterialList();
    LoadCursors();
    InitPalettes();
    // A user palette of another size is not written back as it was.
    const std::wstring palettePath = GetUserPalettePath();
    m_bPaletteFileDamaged = ReadPaletteFile(m_userColors, palettePath) &&
                            GetFileSize(palettePath) != static_cast<int64_t>(PALETTE_FILE_SIZE);
    m_ownUserColors = m_userColors;
    if (!ReadCfgFile()) {
        ShowMessage(L"Error accour while reading application settings file, Try to restart "
                    L"program. If this message is repeated. Contact distributor.",
                    TMessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool CCfg::ReadCfgFile()
{
    const std::wstring path = GetCfgFilePath();
    CHeaders headers;
    if (path.empty() || !headers.Load(path, CHeaders::TLineEnds::Any) || headers.IsEmpty()) {
        g_messageLog.Log(LOG_ERROR, "Configuration file %s is missing or empty.",
                         NativePath(path).c_str());
        // Bytes without a key line are still kept before a save writes over them.
        m_bCfgFileDamaged = !path.empty() && GetFileSize(path) > 0;
        return false;
    }
    // A missing or damaged key fails the read, but every other key is still taken, so that
    // the save at the end writes back what was there.
    bool bComplete = true;
    const auto required = [&headers, &bComplete](const char* key) -> const CHeaders::CItem* {
        const CHeaders::CItem* item = headers.Find(key);
        if (!item) {
            g_messageLog.Log(LOG_ERROR, "Configuration file lacks the key \"%s\".", key);
            bComplete = false;
        }
        return item;
    };
    const CHeaders::CItem* item = nullptr;

    required("cfg.name");
    required("cfg.version");

    if ((item = required("cfg.layout"))) {
        const int layout = ReadInt(item->m_szValue);
        m_nLayout = (layout >= 0 && layout <= 2) ? layout : 1;
    }
    if ((item = required("cfg.palette.all")))
        m_bPaletteAll = ReadFlagChar(item->m_szValue);
    if ((item = required("cfg.palette.current"))) {
        const int palette = ReadInt(item->m_szValue);
        if (palette >= 0 && palette < static_cast<int>(m_paletteNames.size()))
            SelectPalette(m_paletteNames[static_cast<size_t>(palette)]);
        else
            SelectPalette(std::wstring()); // no such name: the first palette
    }
    if ((item = required("cfg.use mouse wheel")))
        m_bUseMouseWheel = ReadFlagChar(item->m_szValue);
    if ((item = required("cfg.window.remember")))
        m_bRememberWindow = ReadFlagChar(item->m_szValue);

    if ((item = headers.Find("cfg.window.size"))) {
        m_windowSize[0] = ReadInt(item->m_szValue);
        m_windowSize[1] = ReadSecondNumber(item->m_szValue, ' ', 11);
    }
    if ((item = headers.Find("cfg.window.position"))) {
        const std::string& value = item->m_szValue;
        m_windowPos[0] = LimitPosition(ReadInt(value));
        m_windowPos[1] = LimitPosition(ReadSecondNumber(value, ' ', value.size()));
    }

    m_units = UNITS_SI;
    if ((item = headers.Find("cfg.units.type"))) {
        if (item->m_szValue == "IMP") {
            m_units = UNITS_IMP;
        } else if (item->m_szValue != "SI") {
            g_messageLog.Log(LOG_ERROR, "Configuration file: unknown unit system \"%s\".",
                             item->m_szValue.c_str());
            bComplete = false;
        }
    }

    item = headers.Find("cfg.units.all");
    m_bUnitsAll = item && ReadFlagChar(item->m_szValue);
    // Folder names as the file system gives them, so that one that is not UTF-8 still opens.
    m_importSrcFolder = FromFileName(headers.GetValue("cfg.import.srcfolder"));
    m_importProjectFolder = FromFileName(headers.GetValue("cfg.import.projectfolder"));
    // A value taken otherwise than it stands (out of range, not a number, ...) does not fail
    // the read, but the file is kept before a save writes over it. Name and version are not
    // read, so those of another version are no damage.
    CHeaders taken;
    SetKeys(taken);
    taken.SetValue("cfg.name", headers.GetValue("cfg.name"));
    taken.SetValue("cfg.version", headers.GetValue("cfg.version"));
    const bool bAsRead = headers.KeepsValuesOf(taken, "Configuration file") && headers.IsWrittenAsRead();
    m_bCfgFileDamaged = !bComplete || !bAsRead;
    return bComplete;
}

bool CCfg::Save()
{
    const std::wstring path = GetCfgFilePath();
    const std::wstring palettePath = GetUserPalettePath();
    // Files that are there but cannot be read are kept: they may hold the user's settings.
    const bool bWritable = !path.empty() && !IsUnreadableFile(path, CHeaders::MAX_FILE_SIZE) &&
                           !IsUnreadableFile(palettePath, PALETTE_FILE_MAX_SIZE);
    CHeaders headers;
    if (bWritable && FileExists(path))
        headers.Load(path, CHeaders::TLineEnds::Any);
    SetKeys(headers);

    // A file not read completely stays beside the new one, and is put back when the save fails.
    std::wstring kept;
    bool bKept = true;
    if (bWritable && m_bCfgFileDamaged && FileExists(path)) {
        kept = KeepAside(path, L".old", true);
        bKept = !kept.empty();
    }
    bool bSaved = bWritable && bKept && headers.Save(path, true);
    if (bSaved)
        m_bCfgFileDamaged = false;
    else if (!kept.empty() && !FileExists(path))
        RenameFile(kept, path);
    if (!bSaved)
        g_messageLog.Log(LOG_ERROR, "Unable to save configuration file %s.",
                         NativePath(path).c_str());
    else if (m_bPaletteFileDamaged && FileExists(palettePath) && KeepAside(palettePath, L".old", true).empty())
        bSaved = false;
    else
        bSaved = WritePaletteFile(m_ownUserColors, palettePath);
    if (bSaved)
        m_bPaletteFileDamaged = false;
    if (!bSaved) {
        ShowMessage(L"Error. Unable to save program's configuration.", TMessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CCfg::SetKeys(CHeaders& headers) const
{
    headers.SetValue("cfg.name", PROGRAM_NAME);
    headers.SetValue("cfg.version", PROGRAM_VERSION);
    headers.SetValue("cfg.layout", FormatInt(m_nLayout));
    headers.SetValue("cfg.palette.all", FormatInt(m_bPaletteAll ? 1 : 0));
    headers.SetValue("cfg.palette.current", FormatInt(m_nCurPalette));
    headers.SetValue("cfg.use mouse wheel", m_bUseMouseWheel ? "1" : "0");
    headers.SetValue("cfg.window.remember", m_bRememberWindow ? "1" : "0");
    headers.SetValue("cfg.window.size", FormatPair(m_windowSize));
    headers.SetValue("cfg.window.position", FormatPosition(m_windowPos));
    headers.SetValue("cfg.units.all", m_bUnitsAll ? "1" : "0");
    headers.SetValue("cfg.units.type", m_units == UNITS_SI ? "SI" : "IMP");
    headers.SetValue("cfg.import.srcfolder", FormatFolder("cfg.import.srcfolder", m_importSrcFolder));
    headers.SetValue("cfg.import.projectfolder", FormatFolder("cfg.import.projectfolder", m_importProjectFolder));
}

void CCfg::LoadMaterialList()
{
    m_pCurMaterial = nullptr;
    m_materials.clear();
    const std::wstring path = GetMaterialListPath();
    CHeaders headers;
    if (!FileExists(path) || !headers.Load(path, CHeaders::TLineEnds::Any) || headers.IsEmpty()) {
        g_messageLog.Log(LOG_DEBUG, "fail to load material list.");
        m_materials.push_front({kUserDefinedMaterial, kUserDefinedMinVelocity, kUserDefinedMaxVelocity});
    } else {
        for (const CHeaders::CItem& item : headers) {
            const std::string& value = item.m_szValue;
            m_materials.push_back(
                {FromAnsi(item.m_szKey), ReadInt(value), ReadSecondNumber(value, ',', value.size())});
        }
    }
    for (CMaterial& material : m_materials) {
        if (material.m_strName == kUserDefinedMaterial) {
            m_pCurMaterial = &material;
            break;
        }
    }
}

CMaterial* CCfg::FindMaterial(const std::wstring& name)
{
    for (CMaterial& material : m_materials) {
        if (material.m_strName == name)
            return &material;
    }
    return m_pCurMaterial;
}

CMaterial* CCfg::FindProjectMaterial(const std::wstring& name)
{
    CMaterial* found = FindMaterial(name);
    if (name.empty() || (found && found->m_strName == name))
        return found;
    g_messageLog.Log(LOG_ERROR, "Material \"%s\" is not in the material list; kept with the range %d to %d.",
                     ToAnsi(name).c_str(), kUserDefinedMinVelocity, kUserDefinedMaxVelocity);
    m_materials.push_back({name, kUserDefinedMinVelocity, kUserDefinedMaxVelocity});
    return &m_materials.back();
}

void CCfg::LoadCursors()
{
    // Every cursor kind has a shape of the windowing layer, so each one counts as loaded.
    m_cursors.clear();
    m_cursors.resize(CURSOR_COUNT);
    for (int i = 0; i < CURSOR_COUNT; ++i)
        m_cursors[static_cast<size_t>(i)] = {static_cast<TCursorId>(i), true};
}

CCfg::CWinPos CCfg::GetWinPos(uint32_t id) const
{
    for (const CWinPos& pos : m_winPos) {
        if (pos.m_id == id)
            return pos;
    }
    CWinPos none;
    none.m_id = id;
    return none;
}

bool CCfg::HasWinPos(uint32_t id) const
{
    for (const CWinPos& pos : m_winPos) {
        if (pos.m_id == id)
            return true;
    }
    return false;
}

void CCfg::SetWinPos(uint32_t id, int32_t x, int32_t y)
{
    if (x < 0 || y < 0)
        return;
    for (CWinPos& pos : m_winPos) {
        if (pos.m_id == id) {
            pos.m_x = x;
            pos.m_y = y;
            return;
        }
    }
    m_winPos.push_back({x, y, id});
}

std::wstring CCfg::GetAppDataDir()
{
    return GetUserConfigDir();
}

std::wstring CCfg::GetCfgFilePath()
{
    const std::wstring dir = GetAppDataDir();
    return dir.empty() ? dir : JoinPath(dir, FromAnsi(PROGRAM_NAME) + L".cfg");
}

std::wstring CCfg::GetUserPalettePath()
{
    const std::wstring dir = GetAppDataDir();
    return dir.empty() ? dir : JoinPath(dir, L"userdef.pal");
}

std::wstring CCfg::GetMaterialListPath()
{
    const std::wstring local = std::wstring(L"./") + kMaterialListName;
    if (FileExists(local))
        return local;
    const std::wstring exeDir = GetExecutableDir();
    if (!exeDir.empty()) {
        const std::wstring besideExe = JoinPath(exeDir, kMaterialListName);
        if (FileExists(besideExe))
            return besideExe;
    }
    return local;
}
