#include "DrawDataObject.h"

#include "Values.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace Tovrik {

namespace {

const char* const kTypeNames[] = {"line", "rect", "circle"};

// Cuts the field up to the next TAB off the front of rest; false when the line has none.
bool TakeField(std::string_view& rest, std::string_view& field)
{
    const size_t tab = rest.find('\t');
    if (tab == std::string_view::npos)
        return false;
    field = rest.substr(0, tab);
    rest.remove_prefix(tab + 1);
    return true;
}

// A coordinate: a real in single precision; NaN, infinities and values beyond float fail.
bool ReadCoordinate(std::string_view text, float& value)
{
    const double real = ReadReal(text);
    if (!std::isfinite(real) || std::fabs(real) > FLT_MAX)
        return false;
    value = static_cast<float>(real);
    return true;
}

// "x;y;depth".
bool ReadPoint(std::string_view field, float& x, float& y, float& z)
{
    const size_t first = field.find(';');
    if (first == std::string_view::npos)
        return false;
    const size_t second = field.find(';', first + 1);
    if (second == std::string_view::npos)
        return false;
    return ReadCoordinate(field.substr(0, first), x)
        && ReadCoordinate(field.substr(first + 1, second - first - 1), y)
        && ReadCoordinate(field.substr(second + 1), z);
}

// A coordinate as ReadCoordinate takes it back: an infinity is written as the nearest finite
// value, NaN as 0.
std::string FormatCoordinate(float value)
{
    if (std::isnan(value))
        value = 0;
    return FormatReal(std::clamp(value, -FLT_MAX, FLT_MAX), 2);
}

void AppendPoint(std::string& line, float x, float y, float z)
{
    line += FormatCoordinate(x);
    line += ';';
    line += FormatCoordinate(y);
    line += ';';
    line += FormatCoordinate(z);
}

} // namespace

bool FindLine(std::string_view text, size_t pos, size_t& end, size_t& next)
{
    if (pos > text.size())
        return false;
    // A plain scan: find_first_of looks each character up in the set of two.
    end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    if (end == text.size())
        return false;
    next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n')
        ++next;
    return true;
}

std::string CDrawDataObject::Write() const
{
    const bool known = m_nType >= TYPE_LINE && m_nType <= TYPE_CIRCLE;
    // Room for a line of usual coordinates, so that it grows once.
    std::string line;
    line.reserve(96);
    line += kTypeNames[known ? m_nType : TYPE_LINE];
    line += '\t';
    AppendPoint(line, m_fX1, m_fY1, m_fZ1);
    line += '\t';
    AppendPoint(line, m_fX2, m_fY2, m_fZ2);
    line += '\t';
    line += FormatHex(GetPenColor());
    line += '\t';
    line += FormatInt(m_nPenWidth);
    line += '\t';
    line += FormatHex(GetBrushColor());
    line += '\t';
    line += m_bVisible ? '1' : '0';
    line += "\r\n";
    return line;
}

bool CDrawDataObject::Read(std::string_view text, size_t& pos)
{
    // Every field lies within this line: a short line fails instead of reading the next one.
    size_t end = 0;
    size_t next = 0;
    if (!FindLine(text, pos, end, next))
        return false;
    std::string_view rest = text.substr(pos, end - pos);

    std::string_view field;
    if (!TakeField(rest, field))
        return false;
    int32_t type = -1;
    for (int32_t i = TYPE_LINE; i <= TYPE_CIRCLE && type < 0; ++i)
        if (std::string_view(kTypeNames[i]).substr(0, field.size()) == field)
            type = i;
    if (type < 0)
        return false;

    float x1, y1, z1, x2, y2, z2;
    if (!TakeField(rest, field) || !ReadPoint(field, x1, y1, z1))
        return false;
    if (!TakeField(rest, field) || !ReadPoint(field, x2, y2, z2))
        return false;

    uint32_t crLine = 0;
    if (!TakeField(rest, field) || ReadHexColor(field, crLine) == 0)
        return false;

    // Pen width: an optional "-" and digits, directly followed by a TAB.
    size_t digits = rest.empty() || rest[0] != '-' ? 0 : 1;
    const size_t sign = digits;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    if (digits == sign || digits >= rest.size() || rest[digits] != '\t')
        return false;
    int32_t penWidth = ReadInt(rest.substr(0, digits));
    if (penWidth < 0)
        penWidth = 1;
    rest.remove_prefix(digits + 1);

    uint32_t crFill = 0;
    if (!TakeField(rest, field) || ReadHexColor(field, crFill) == 0)
        return false;

    m_nType = type;
    m_fX1 = x1;
    m_fY1 = y1;
    m_fZ1 = z1;
    m_fX2 = x2;
    m_fY2 = y2;
    m_fZ2 = z2;
    m_crLine = crLine;
    m_nPenWidth = penWidth;
    m_crFill = crFill;
    m_bVisible = ReadFlagValue(rest);
    pos = next;
    return true;
}

bool CDrawDataObject::IsEqual(const CDrawDataObject& other) const
{
    const auto near = [](float a, float b) { return std::fabs(a - b) <= COORDINATE_TOLERANCE; };
    return m_nType == other.m_nType && m_crFill == other.m_crFill && m_crLine == other.m_crLine
        && m_bVisible == other.m_bVisible && near(m_fX1, other.m_fX1) && near(m_fY1, other.m_fY1)
        && near(m_fX2, other.m_fX2) && near(m_fY2, other.m_fY2) && near(m_fZ1, other.m_fZ1)
        && near(m_fZ2, other.m_fZ2);
}

bool CDrawDataObject::HasFiniteCoordinates() const
{
    for (const float value : {m_fX1, m_fY1, m_fZ1, m_fX2, m_fY2, m_fZ2})
        if (!std::isfinite(value))
            return false;
    return true;
}

} // namespace Tovrik
