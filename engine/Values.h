#pragma once
// Value conventions of the key:value files (whole numbers, reals, flags, text),
// independent of the process locale.

#include <string>
#include <string_view>

// Decimal whole number: leading blanks skipped, optional sign, digits up to the first other
// character; 0 without digits. Saturates at the 32-bit limits instead of wrapping.
int ReadInt(std::string_view text);

// A whole number standing alone: an optional sign and decimal digits, with blanks around them
// at most, within the 32-bit range. False for anything else ("1e3", "7 junk", "", "+-7").
bool ReadWholeNumber(std::string_view text, int& value);

// Decimal real as the C library reads it in the "C" locale; 0 when no number starts the text.
double ReadReal(std::string_view text);

// Flag tested by its first character: true exactly when it is "1".
bool ReadFlagChar(std::string_view text);

// Flag tested by its whole-number value: true exactly when it reads as 1.
bool ReadFlagValue(std::string_view text);

// A text value up to its first "=", unless that "=" is the first character.
std::string_view CutBeforeEquals(std::string_view text);

// "%d", "%x" and "%.Nf" without the locale.
std::string FormatInt(long long value);
std::string FormatHex(unsigned value);
std::string FormatReal(double value, int decimals);
// The fewest decimals that read back as the same value ("80", "80.5", "0.0304").
std::string FormatRealShortest(double value);

// 8-bit text of the files is UTF-8; bytes that are not valid UTF-8 read as Latin-1.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(std::string_view text);
// File names are UTF-8 too, but a name's bytes that are not travel as the characters
// U+DC80..U+DCFF and come back unchanged, so that any name the system gives opens.
std::string ToFileName(const std::wstring& path);
std::wstring FromFileName(std::string_view name);
