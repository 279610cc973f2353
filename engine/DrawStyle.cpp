#include "DrawStyle.h"

namespace Tovrik {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

size_t ReadHexColor(std::string_view text, uint32_t& crColor)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')
        && HexDigit(text[i + 2]) >= 0)
        i += 2;
    const size_t first = i;
    uint64_t value = 0;
    for (int digit; i < text.size() && (digit = HexDigit(text[i])) >= 0; ++i) {
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > UINT32_MAX)
            value = UINT32_MAX; // saturate, keep consuming digits
    }
    if (i == first)
        return 0;
    crColor = static_cast<uint32_t>(value);
    return i;
}

} // namespace Tovrik
