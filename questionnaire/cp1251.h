#pragma once
// Compile-time facts about UTF-8 literals that are shown or written as code page 1251.
// The questionnaire's texts are kept in UTF-8 source; these let the data files check
// with static_assert that every text fits its fixed capacity and the code page.

#include <array>
#include <cstddef>
#include <string_view>

namespace zorven::cp1251 {

// The characters of code page 1251 above ASCII that are not in the run А..я.
inline constexpr std::array<char32_t, 63> kUpperHalfExtras = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E,
    0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC,
    0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr bool isCharacter(char32_t c)
{
    if (c < 0x80)
        return true;
    if (c >= 0x0410 && c <= 0x044F)
        return true;
    for (char32_t extra : kUpperHalfExtras)
        if (extra == c)
            return true;
    return false;
}

// A character a single line of code page 1251 text can hold: no control characters.
constexpr bool isLineCharacter(char32_t c)
{
    return c >= 0x20 && c != 0x7F && isCharacter(c);
}

// Decodes one UTF-8 sequence starting at `i`; returns the code point and advances `i`.
// A malformed sequence decodes as U+FFFD, which no check accepts.
constexpr char32_t decodeAt(std::string_view s, std::size_t &i)
{
    const auto lead = static_cast<unsigned char>(s[i++]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (; extra > 0; --extra) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

// Number of characters, which in code page 1251 is also the number of bytes.
constexpr std::size_t length(std::string_view utf8)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count)
        decodeAt(utf8, i);
    return count;
}

// True when every character exists in code page 1251 and none breaks the line.
constexpr bool isSingleLineText(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        if (!isLineCharacter(decodeAt(utf8, i)))
            return false;
    }
    return true;
}

} // namespace zorven::cp1251
