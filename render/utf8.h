// UTF-8 text read one code point at a time, and code points written as UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

// The code point at text[i] and its length; a malformed byte stands for itself (length 1).
inline std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t i)
{
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length <= 1 || i + length > text.size())
        return {b, 1};
    char32_t c = b & (0x7f >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next >> 6) != 2)
            return {b, 1};
        c = (c << 6) | (next & 0x3f);
    }
    return {c, length};
}

// Code point c (at most 0x10FFFF) appended to out in UTF-8.
inline void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    const unsigned char lead[] = {0, 0, 0xc0, 0xe0, 0xf0};
    out += static_cast<char>(lead[length] | (c >> (6 * (length - 1))));
    for (int k = length - 2; k >= 0; --k)
        out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3f));
}
