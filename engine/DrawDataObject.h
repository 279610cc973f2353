#pragma once
// One drawing object: a line, rectangle or circle between two points of the survey (x and y
// in grid units, depth in samples) with the pen and brush of its style, and its line of the
// ".3qo" object file.

#include "DrawStyle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tovrik {

// The line of text that begins at pos: end is where its line end (CR LF, LF or CR) begins,
// next where the following line begins. False when the text ends before a line end.
bool FindLine(std::string_view text, size_t pos, size_t& end, size_t& next);

class CDrawDataObject
{
public:
    enum : int32_t { TYPE_LINE = 0, TYPE_RECT = 1, TYPE_CIRCLE = 2 };
    // How far coordinates of equal objects may lie apart.
    static constexpr float COORDINATE_TOLERANCE = 0.0001f;

    // The object's file line: type name, the two points "x;y;depth" with two decimals, pen
    // colour "%x", pen width, fill colour "%x", visible "1"/"0", TAB-separated, CR LF. Read
    // takes back every line written: an infinite coordinate is written as the largest finite
    // value of its sign, NaN as 0.
    std::string Write() const;
    // Parses the line that begins at pos; on success sets the values (pen and brush are left
    // alone) and moves pos past the line's end (CR LF, LF or CR). A malformed line changes
    // nothing.
    bool Read(std::string_view text, size_t& pos);
    // Same type, fill and line colour and visibility, coordinates within 0.0001; the pen width
    // is not compared.
    bool IsEqual(const CDrawDataObject& other) const;
    // No coordinate is NaN or infinite.
    bool HasFiniteCoordinates() const;

    // Colours as written: the pen's (the line colour without a pen) and the brush's (the pen
    // colour without a brush).
    uint32_t GetPenColor() const { return m_pPen ? m_pPen->m_crColor : m_crLine; }
    uint32_t GetBrushColor() const { return m_pBrush ? m_pBrush->m_crColor : GetPenColor(); }

    int32_t m_nType = TYPE_LINE;
    float m_fX1 = 0, m_fY1 = 0;
    float m_fX2 = 0, m_fY2 = 0;
    float m_fZ1 = 0, m_fZ2 = 0; // depths of the first and second point
    PenPtr m_pPen;
    BrushPtr m_pBrush;
    uint32_t m_crFill = 0;
    uint32_t m_crLine = 0;
    int32_t m_nPenWidth = 1;
    bool m_bVisible = true;
};

} // namespace Tovrik
