// The project's settings file (".3dq") and its palette (".pal").

#include "Cfg.h"
#include "FileIo.h"
#include "Headers.h"
#include "Material.h"
#include "MessageLog.h"
#include "Project.h"
#include "Values.h"
#include "Version.h"

#include <cmath>

namespace {

std::wstring CurrentPaletteName()
{
    const int32_t index = g_cfg.m_nCurPalette;
    if (index < 0 || index >= static_cast<int32_t>(g_cfg.m_paletteNames.size()))
        return std::wstring();
    return g_cfg.m_paletteNames[static_cast<size_t>(index)];
}

const char* Flag(bool value)
{
    return value ? "1" : "0";
}

// Velocities read back as the same value: whole ones as "%.0f", others with the decimals
// they need.
std::string FormatVelocity(double velocity)
{
    if (std::isfinite(velocity) && velocity == std::floor(velocity))
        return FormatReal(velocity, 0);
    return FormatRealShortest(velocity);
}

template <typename T>
void Limit(T& value, T low, T high)
{
    if (!(value >= low))
        value = low;
    else if (value > high)
        value = high;
}

// Keeps every file the readers could take for built (its own name, then its extension in the
// other case) under its name with ".old", beside earlier copies; a link is moved itself.
// False when one could not be moved, which KeepAside logs.
bool MoveAside(const std::wstring& built)
{
    for (std::wstring path = FindCompanionFile(built); FileExists(path); path = FindCompanionFile(built)) {
        if (KeepAside(path, L".old", false).empty())
            return false;
    }
    return true;
}

} // namespace

void CProject::WriteSettings(CHeaders& h) const
{
    const CProjectSettings& s = m_settings;
    const CProcessingParams& p = s.m_params;
    h.SetValue("program name", PROGRAM_NAME);
    h.SetValue("program version", PROGRAM_VERSION);
    if (s.m_iGridMode == 1)
        h.SetValue("project version", "KR V4");
    else if (s.m_iGridMode == 2)
        h.SetValue("project version", "KR V8");
    h.SetValue("gridsize x", FormatInt(s.m_iSizeX));
    h.SetValue("gridsize y", FormatInt(s.m_iSizeY));
    h.SetValue("vert. profiles", FormatInt(s.GetXLineCount()));
    h.SetValue("horz. profiles", FormatInt(s.GetYLineCount()));
    h.SetValue("samples", FormatInt(s.m_iSamples));
    h.SetValue("zsample", FormatInt(s.m_iZeroLevel));
    h.SetValue("fir on", Flag(p.m_bFirOn));
    h.SetValue("filter fir low", FormatInt(p.m_iFirLow));
    h.SetValue("filter fir high", FormatInt(p.m_iFirHigh));
    h.SetValue("filter timegain", FormatInt(p.m_iTimeGain));
    h.SetValue("filter timegain linear", FormatInt(p.m_iTgLinear));
    h.SetValue("filter timegain exp", FormatInt(p.m_iTgExponent));
    h.SetValue("filter timegain start", FormatInt(p.m_iTgStart));
    h.SetValue("filter delmean", FormatInt(p.m_iDelMean));
    h.SetValue("filter delmean On", Flag(p.m_bDelMeanOn));
    h.SetValue("material", s.m_pMaterial ? ToAnsi(s.m_pMaterial->m_strName) : std::string());
    h.SetValue("velocity", FormatVelocity(s.m_dVelocity));
    h.SetValue("migration", Flag(p.m_bMigration));
    h.SetValue("contrast", FormatInt(s.m_iContrast));
    h.SetValue("angle", FormatInt(s.m_iAngle));
    h.SetValue("aperture", FormatInt(p.m_iAperture));
    h.SetValue("threashold", FormatInt(p.m_iThreshold));
    h.SetValue("palette name", ToAnsi(CurrentPaletteName()));
    h.SetValue("depth", FormatReal(m_fCursorDepth, 2));
    h.SetValue("section x", FormatReal(m_fCursorX, 2));
    h.SetValue("section y", FormatReal(m_fCursorY, 2));
    h.SetValue("signature", s.m_signature.ToHex());
    h.SetValue("units", s.m_units == UNITS_SI ? "SI" : "IMP");
    h.SetValue("use zsample", Flag(s.m_bUseZeroLevel));
    h.SetValue("auto gain", FormatReal(s.m_fAutoGain, 6));
}

bool CProject::SaveSettings() const
{
    const std::wstring path = FindCompanionFile(GetSettingsFilePath());
    const std::wstring palettePath = FindCompanionFile(GetPaletteFilePath());
    const bool bPalette = CurrentPaletteName() == PALETTE_USER_DEFINED;
    // Files that cannot be read, and a rejected file that could not be moved aside, are kept:
    // they may hold what the user saved. Nothing is written when one of them stands in the way.
    const bool bBlocked = m_bRejectedFileInPlace || IsUnreadableFile(path, CHeaders::MAX_FILE_SIZE) ||
                       (bPalette && IsUnreadableFile(palettePath, PALETTE_FILE_MAX_SIZE));
    CHeaders headers;
    WriteSettings(headers);
    if (bBlocked || !headers.Save(path, false)) {
        g_messageLog.LogString(LOG_ERROR, L"CProject::SaveSettings(): unable to write " + path);
        return false;
    }
    if (bPalette && !CCfg::WritePaletteFile(g_cfg.m_curColors, palettePath)) {
        g_messageLog.LogString(LOG_ERROR, L"CProject::SaveSettings(): unable to write " + palettePath);
        return false;
    }
    return true;
}

int CProject::ReadSettings()
{
    const std::wstring path = FindCompanionFile(GetSettingsFilePath());
    CHeaders h;
    // A settings file that cannot be read opens the project as one without settings file.
    const bool bReadable = FileExists(path) && !IsUnreadableFile(path, CHeaders::MAX_FILE_SIZE);
    if (bReadable)
        h.Load(path);
    const std::string narrow = NativePath(path);
    // Bytes without a key line are no settings, but may be what is left of them.
    if (h.IsEmpty() && bReadable && GetFileSize(path) > 0) {
        g_messageLog.Log(LOG_ERROR, "CProject::ReadSettings(): %s holds no setting.", narrow.c_str());
        return SETTINGS_REJECTED;
    }
    CProjectSettings& s = m_settings;
    CProcessingParams& p = s.m_params;

    int result = SETTINGS_NONE;
    bool bUserPalette = false;
    if (!h.IsEmpty()) {
        // A missing required key or a failed check rejects the file.
        bool bValid = true;
        const char* rejectedAt = nullptr; // the first key that failed
        auto reject = [&](const char* key) {
            if (bValid)
                rejectedAt = key;
            bValid = false;
        };
        auto value = [&](const char* key) -> std::string_view {
            const CHeaders::CItem* item = h.Find(key);
            if (!item)
                reject(key);
            return item ? std::string_view(item->m_szValue) : std::string_view();
        };
        auto number = [&](const char* key) { return ReadInt(value(key)); };
        // Sizes and counts are compared as written: "51 junk" or "5.1e1" is no 51.
        auto check = [&](const char* key, int32_t expected) {
            int stored = 0;
            if (bValid && (!ReadWholeNumber(value(key), stored) || stored != expected))
                reject(key);
        };

        value("program name");
        value("program version");
        // A "KR V8" file must hold the grid; in any other, a grid it holds must be this one too.
        const bool bGridRequired = h.GetValue("project version") == "KR V8";
        const struct { const char* key; int32_t expected; } grid[] = {
            {"gridsize x", s.m_iGridSizeX}, {"gridsize y", s.m_iGridSizeY},
            {"vert. profiles", s.GetXLineCount()}, {"horz. profiles", s.GetYLineCount()}};
        for (const auto& item : grid)
            if (bGridRequired || h.Find(item.key))
                check(item.key, item.expected);
        if (bValid)
            s.m_iZeroLevel = number("zsample");
        check("samples", s.m_iSamples);
        if (bValid) {
            p.m_bFirOn = ReadFlagChar(value("fir on"));
            p.m_iFirLow = static_cast<uint32_t>(number("filter fir low"));
            p.m_iFirHigh = static_cast<uint32_t>(number("filter fir high"));
            p.m_iTimeGain = number("filter timegain");
            p.m_iTgLinear = number("filter timegain linear");
            p.m_iTgExponent = number("filter timegain exp");
            p.m_iTgStart = number("filter timegain start");
            p.m_iDelMean = number("filter delmean");
            const CHeaders::CItem* delMeanOn = h.Find("filter delmean On");
            p.m_bDelMeanOn = delMeanOn ? ReadFlagChar(delMeanOn->m_szValue) : p.m_iDelMean != 0;
            const std::string_view material = value("material");
            if (bValid)
                s.m_pMaterial = g_cfg.FindProjectMaterial(FromAnsi(material));
            s.m_dVelocity = ReadReal(value("velocity"));
            p.m_bMigration = ReadFlagChar(value("migration"));
            s.m_iContrast = number("contrast");
            s.m_iAngle = number("angle");
            p.m_iAperture = number("aperture");
            p.m_iThreshold = number("threashold");
            m_fCursorDepth = static_cast<float>(ReadReal(value("depth")));
            m_fCursorX = static_cast<float>(ReadReal(value("section x")));
            m_fCursorY = static_cast<float>(ReadReal(value("section y")));
            s.m_signature.FromHex(value("signature"));
            if (!g_cfg.m_bPaletteAll) {
                const std::wstring palette = FromAnsi(value("palette name"));
                if (bValid) {
                    g_cfg.SelectPalette(palette);
                    bUserPalette = palette == PALETTE_USER_DEFINED;
                }
            }
            s.m_units = value("units") == "SI" ? UNITS_SI : UNITS_IMP;
            s.m_bUseZeroLevel = ReadFlagChar(value("use zsample"));
            s.m_fAutoGain = static_cast<float>(ReadReal(value("auto gain")));
        }
        if (!bValid) {
            g_messageLog.Log(LOG_ERROR, "CProject::ReadSettings(): %s does not fit the project at \"%s\".",
                             narrow.c_str(), rejectedAt);
            return SETTINGS_REJECTED;
        }
        result = SETTINGS_LOADED;

        // Values from a hand-edited or damaged file stay inside the data.
        const int lastSample = std::max(s.m_iSamples - 1, 0);
        Limit(s.m_iZeroLevel, 0, lastSample);
        Limit(m_fCursorDepth, 0.0f, static_cast<float>(lastSample));
        Limit(m_fCursorX, 0.0f, static_cast<float>(std::max(s.m_iSizeX - 1, 0)));
        Limit(m_fCursorY, 0.0f, static_cast<float>(std::max(s.m_iSizeY - 1, 0)));
        s.m_iDepthIndex = static_cast<int32_t>(m_fCursorDepth);
    }

    if (g_cfg.m_bUnitsAll)
        s.m_units = g_cfg.m_units;
    // The project palette is the user palette of this project; a stale one must not replace
    // a palette chosen later.
    if (!g_cfg.m_bPaletteAll && (bUserPalette || result == SETTINGS_NONE)) {
        // A short file replaces the entries it holds of the user colours.
        TPaletteTable table = g_cfg.m_userColors;
        if (CCfg::ReadPaletteFile(table, FindCompanionFile(GetPaletteFilePath())))
            g_cfg.ShowAsUserPalette(table);
    }
    p.Clamp();
    return result;
}

bool CProject::IsSettingsChanged() const
{
    // Compared as written and read back, so that an empty value (no material, no signature
    // yet) does not count as a change of a file just saved.
    CHeaders built;
    WriteSettings(built);
    const std::string text = built.ToText();
    CHeaders current;
    current.Parse(text.data(), text.size());
    const std::wstring path = FindCompanionFile(GetSettingsFilePath());
    CHeaders stored;
    if (FileExists(path))
        stored.Load(path);
    if (!current.IsEqual(stored))
        return true;
    if (current.GetValue("palette name") != ToAnsi(PALETTE_USER_DEFINED))
        return false;
    // Read as ReadSettings reads it: a short file over the user colours.
    TPaletteTable table = g_cfg.m_userColors;
    if (!CCfg::ReadPaletteFile(table, FindCompanionFile(GetPaletteFilePath())))
        return true;
    return table != g_cfg.m_curColors;
}

bool CProject::KeepRejectedSettings() const
{
    const bool bSettings = MoveAside(GetSettingsFilePath());
    const bool bPalette = MoveAside(GetPaletteFilePath());
    return bSettings && bPalette;
}

bool CProject::DeleteSettingsFiles() const
{
    bool bMoved = true;
    for (const std::wstring& built : {GetSettingsFilePath(), GetPaletteFilePath(), GetObjectListPath()})
        bMoved = MoveAside(built) && bMoved;
    return bMoved;
}
