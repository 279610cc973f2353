#include "Palettes.h"

#include <algorithm>

#include "Cfg.h"
#include "FileIo.h"
#include "MessageLog.h"

#include <cmath>
#include <cstdio>

namespace {

void SplitColor(uint32_t color, double& r, double& g, double& b)
{
    r = ((color & 0xFF) + 0.0) / 255;
    g = (((color >> 8) & 0xFF) + 0.0) / 255;
    b = (((color >> 16) & 0xFF) + 0.0) / 255;
}

// A component times 255, truncated and kept to 8 bits.
uint32_t ToByte(double component)
{
    const double scaled = component * 255;
    if (!(scaled > -65536.0 && scaled < 65536.0))
        return 0;
    return static_cast<uint32_t>(static_cast<int>(scaled)) & 0xFF;
}

bool IsHueDefined(double h)
{
    return !std::isnan(h) && h != -1.0;
}

} // namespace

void RgbToHsv(double r, double g, double b, double& h, double& s, double& v)
{
    const double max = std::fmax(r, std::fmax(g, b));
    const double min = std::fmin(r, std::fmin(g, b));
    const double delta = max - min;
    v = max;
    if (std::fabs(delta) <= 0.00001) {
        s = 0;
        h = std::nan("");
        return;
    }
    s = delta / max;
    if (max == r)
        h = 60 * (g - b) / delta;
    else if (max == g)
        h = 60 * ((b - r) / delta + 2);
    else
        h = 60 * ((r - g) / delta + 4);
}

void HsvToRgb(double h, double s, double v, double& r, double& g, double& b)
{
    if (s == 0) {
        r = g = b = v;
        return;
    }
    const double x = h / 60;
    // A hue that is no finite number falls into the last sector without a fraction.
    const double sector = std::isfinite(x) ? std::floor(x) : -1.0;
    const double f = std::isfinite(x) ? x - sector : 0.0;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    const int i = (sector >= 0 && sector <= 4) ? static_cast<int>(sector) : 5;
    switch (i) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
    }
}

void FillPaletteHsv(TPaletteTable& table, int from, int to)
{
    if (from < 0 || to < 0 || from >= static_cast<int>(table.size()) ||
        to >= static_cast<int>(table.size()) || from >= to)
        return;
    double r, g, b;
    double h1, s1, v1, h2, s2, v2;
    SplitColor(table[from], r, g, b);
    RgbToHsv(r, g, b, h1, s1, v1);
    SplitColor(table[to], r, g, b);
    RgbToHsv(r, g, b, h2, s2, v2);

    const double n = to - from;
    double h = 0;
    double hStep = 0;
    if (IsHueDefined(h1) && IsHueDefined(h2)) {
        h = h1;
        hStep = (h2 - h1) / n;
    } else if (IsHueDefined(h1)) {
        h = h1;
    } else if (IsHueDefined(h2)) {
        h = h2;
    }
    double s = s1;
    double v = v1;
    const double sStep = (s2 - s1) / n;
    const double vStep = (v2 - v1) / n;
    for (int k = from; k < to; ++k) {
        HsvToRgb(h, s, v, r, g, b);
        table[k] = (ToByte(b) << 16) | (ToByte(g) << 8) | ToByte(r);
        h += hStep;
        s += sStep;
        v += vStep;
    }
}

void FillGrayPalette(TPaletteTable& table)
{
    for (uint32_t i = 0; i < table.size(); ++i)
        table[i] = i | (i << 8) | (i << 16);
}

// The configuration's palette members.

void CCfg::InitPalettes()
{
    m_paletteNames.clear();
    m_bPaletteWrap = false;
    m_paletteNames.emplace_back(PALETTE_BLACK_WHITE);
    m_paletteNames.emplace_back(PALETTE_RED_BLUE);
    m_paletteNames.emplace_back(PALETTE_USER_DEFINED);
    SelectPalette(PALETTE_BLACK_WHITE);
    FillGrayPalette(m_userColors);
    m_ownUserColors = m_userColors;
}

void CCfg::GetPaletteColors(const std::wstring& name, TPaletteTable& table) const
{
    if (name == PALETTE_BLACK_WHITE) {
        FillGrayPalette(table);
    } else if (name == PALETTE_RED_BLUE) {
        table[0] = 0x00FF0000;
        table[128] = 0x00FFFFFF;
        table[255] = 0x00171DE8;
        FillPaletteHsv(table, 0, 128);
        FillPaletteHsv(table, 128, 255);
    } else if (name == PALETTE_USER_DEFINED) {
        table = m_userColors;
    }
}

void CCfg::SelectPalette(const std::wstring& name)
{
    for (size_t i = 0; i < m_paletteNames.size(); ++i) {
        if (m_paletteNames[i] == name) {
            GetPaletteColors(name, m_curColors);
            m_nCurPalette = static_cast<int32_t>(i);
            return;
        }
    }
    if (!m_paletteNames.empty())
        GetPaletteColors(m_paletteNames.front(), m_curColors);
    m_nCurPalette = 0;
}

void CCfg::SetUserPalette(const TPaletteTable& table)
{
    // Applying a project's palette unchanged is no change of the user's own.
    if (table != m_userColors)
        m_ownUserColors = table;
    ShowAsUserPalette(table);
}

void CCfg::ShowAsUserPalette(const TPaletteTable& table)
{
    m_userColors = table;
    m_curColors = table;
    for (size_t i = 0; i < m_paletteNames.size(); ++i) {
        if (m_paletteNames[i] == PALETTE_USER_DEFINED)
            m_nCurPalette = static_cast<int32_t>(i);
    }
}

bool CCfg::WritePaletteFile(const TPaletteTable& table, const std::wstring& path)
{
    unsigned char bytes[PALETTE_FILE_SIZE];
    for (size_t i = 0; i < table.size(); ++i) {
        for (size_t k = 0; k < 4; ++k)
            bytes[4 * i + k] = static_cast<unsigned char>((table[i] >> (8 * k)) & 0xFF);
    }
    CSaveFile file(path);
    if (!file.Open() || !file.Write(bytes, sizeof(bytes)) || !file.Commit()) {
        g_messageLog.LogFileError(path, file.GetCause());
        return false;
    }
    return true;
}

bool CCfg::ReadPaletteFile(TPaletteTable& table, const std::wstring& path)
{
    FILE* file = OpenFile(path, "rb");
    if (!file)
        return false;
    unsigned char bytes[PALETTE_FILE_SIZE + 1];
    const size_t read = std::fread(bytes, 1, sizeof(bytes), file);
    const bool bError = std::ferror(file) != 0;
    std::fclose(file);
    const std::string narrow = NativePath(path);
    if (bError) {
        g_messageLog.Log(LOG_ERROR, "Unable to read palette file %s.", narrow.c_str());
        return false;
    }
    // The bytes read replace the table's bytes from its start; a short file leaves the
    // entries past its end as they were, bytes beyond the table are ignored.
    const size_t used = std::min(read, PALETTE_FILE_SIZE);
    if (used < PALETTE_FILE_SIZE)
        g_messageLog.Log(LOG_DEBUG, "Palette file %s holds only %zu bytes.", narrow.c_str(), used);
    for (size_t k = 0; k < used; ++k) {
        uint32_t& entry = table[k / 4];
        const unsigned shift = 8 * static_cast<unsigned>(k % 4);
        entry = (entry & ~(0xFFu << shift)) | (static_cast<uint32_t>(bytes[k]) << shift);
    }
    return true;
}
