#pragma once
// The style of drawing objects: a solid pen (colour and width) and a solid brush (colour).
// They are immutable values held by reference count, shared by the objects of one style, the
// drawing-object manager's current style and its edit buffer; a style lives as long as any of
// them uses it. The painters build their own pens and brushes from these values.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace Tovrik {

struct CDrawPen
{
    uint32_t m_crColor; // 0x00BBGGRR
    int32_t m_nWidth;   // pixels
};

struct CDrawBrush
{
    uint32_t m_crColor; // 0x00BBGGRR
};

using PenPtr = std::shared_ptr<const CDrawPen>;
using BrushPtr = std::shared_ptr<const CDrawBrush>;

inline PenPtr MakePen(uint32_t crColor, int32_t nWidth)
{
    return std::make_shared<const CDrawPen>(CDrawPen{crColor, nWidth});
}

inline BrushPtr MakeBrush(uint32_t crColor)
{
    return std::make_shared<const CDrawBrush>(CDrawBrush{crColor});
}

// Hexadecimal colour text as the drawing files write it ("%x"): leading blanks, an optional
// "0x" and at least one hex digit; values beyond 32 bits saturate. Returns the number of
// characters read, 0 when no colour starts the text (crColor is then left alone).
size_t ReadHexColor(std::string_view text, uint32_t& crColor);

} // namespace Tovrik
