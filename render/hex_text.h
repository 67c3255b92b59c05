// Hexadecimal digits in text: a colour's "rrggbb", a link's "%2B".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/canvas.h"

// The value of a hexadecimal digit, either case; -1 for any other character.
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "rrggbb" in lower case: what every file and link writes, and HexRgb reads back.
inline std::string HexColour(Rgb c)
{
    constexpr char kDigits[] = "0123456789abcdef";
    std::string out(6, '0');
    const std::uint8_t channels[3] = {c.r, c.g, c.b};
    for (std::size_t i = 0; i < 3; ++i) {
        out[2 * i] = kDigits[channels[i] >> 4];
        out[2 * i + 1] = kDigits[channels[i] & 15];
    }
    return out;
}

// "#rrggbb": a colour as SVG and the page's canvas take it.
inline std::string WebColour(Rgb c)
{
    return "#" + HexColour(c);
}

// "rrggbb": six hexadecimal digits, either case; nothing for any other text.
inline std::optional<Rgb> HexRgb(std::string_view digits)
{
    int v[6];
    for (std::size_t i = 0; i < 6; ++i)
        if ((v[i] = digits.size() == 6 ? HexDigit(digits[i]) : -1) < 0)
            return std::nullopt;
    return Rgb{static_cast<std::uint8_t>(v[0] * 16 + v[1]), static_cast<std::uint8_t>(v[2] * 16 + v[3]),
               static_cast<std::uint8_t>(v[4] * 16 + v[5])};
}
