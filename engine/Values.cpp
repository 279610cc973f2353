#include "Values.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

locale_t CLocale()
{
    static locale_t s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_locale;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at p (with its code point), 0 when invalid.
size_t DecodeUtf8(const unsigned char* p, size_t n, char32_t& c)
{
    size_t len;
    char32_t min;
    if (p[0] < 0x80) {
        c = p[0];
        return 1;
    } else if ((p[0] & 0xE0) == 0xC0) {
        len = 2; c = p[0] & 0x1F; min = 0x80;
    } else if ((p[0] & 0xF0) == 0xE0) {
        len = 3; c = p[0] & 0x0F; min = 0x800;
    } else if ((p[0] & 0xF8) == 0xF0) {
        len = 4; c = p[0] & 0x07; min = 0x10000;
    } else {
        return 0;
    }
    if (len > n)
        return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

int ReadInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit; // saturate, keep consuming digits
    }
    return static_cast<int>(negative ? -value : value);
}

bool ReadWholeNumber(std::string_view text, int& value)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsCSpace(text[first]))
        ++first;
    while (end > first && IsCSpace(text[end - 1]))
        --end;
    const size_t digits = first < end && (text[first] == '+' || text[first] == '-') ? first + 1 : first;
    if (digits == end)
        return false;
    long long number = 0;
    for (size_t i = digits; i < end; ++i) {
        if (!IsDigit(text[i]))
            return false;
        number = number * 10 + (text[i] - '0');
        if (number > -static_cast<long long>(INT_MIN))
            return false;
    }
    if (text[first] == '-')
        number = -number;
    if (number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

double ReadReal(std::string_view text)
{
    // A plain decimal, what files mostly hold, without the copy: both conversions round
    // correctly, so they give the same value. Anything else, or out of range, goes to strtod.
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t firstDigit = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    bool bPlain = i > firstDigit;
    if (bPlain && i < text.size()) {
        const size_t point = i++;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        bPlain = text[point] == '.' && i > point + 1 && i == text.size();
    }
    double value = 0;
    if (bPlain && std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc())
        return value;
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, CLocale());
}

bool ReadFlagChar(std::string_view text)
{
    return !text.empty() && text[0] == '1';
}

bool ReadFlagValue(std::string_view text)
{
    return ReadInt(text) == 1;
}

std::string_view CutBeforeEquals(std::string_view text)
{
    const size_t eq = text.find('=');
    return eq != std::string_view::npos && eq > 0 ? text.substr(0, eq) : text;
}

std::string FormatInt(long long value)
{
    return std::to_string(value);
}

std::string FormatHex(unsigned value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    return std::string(buffer, result.ptr);
}

std::string FormatReal(double value, int decimals)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

std::string FormatRealShortest(double value)
{
    if (!std::isfinite(value))
        return FormatReal(value, 0);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

namespace {
// A byte of a file name that is not UTF-8 travels as a lone low surrogate.
constexpr char32_t kRawByteBase = 0xDC00;

std::string EncodeUtf8(const std::wstring& text, bool bRawBytes)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        char32_t c = static_cast<char32_t>(w);
        if (bRawBytes && c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF) {
            out += static_cast<char>(c - kRawByteBase);
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

// Bytes that are not UTF-8 become invalidBase + byte.
std::wstring DecodeUtf8Text(std::string_view text, char32_t invalidBase)
{
    std::wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
    while (n > 0) {
        char32_t c;
        size_t len = DecodeUtf8(p, n, c);
        if (len == 0) {
            c = invalidBase + *p;
            len = 1;
        }
        out += static_cast<wchar_t>(c);
        p += len;
        n -= len;
    }
    return out;
}
} // namespace

std::string ToAnsi(const std::wstring& text)
{
    return EncodeUtf8(text, false);
}

std::wstring FromAnsi(std::string_view text)
{
    return DecodeUtf8Text(text, 0); // Latin-1
}

std::string ToFileName(const std::wstring& path)
{
    return EncodeUtf8(path, true);
}

std::wstring FromFileName(std::string_view name)
{
    return DecodeUtf8Text(name, kRawByteBase);
}
