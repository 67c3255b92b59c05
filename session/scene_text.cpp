// The scene's text beneath its keys.
#include "session/scene_text.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "render/hex_text.h"
#include "surfaces/quoted_text.h"

namespace {

bool KeptAsIs(unsigned char c)
{
    return std::isalnum(c) != 0 || std::string_view("-._~!$'()*,;:@/?").find(static_cast<char>(c)) != std::string_view::npos;
}

}   // namespace

std::string PercentEncoded(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x80 && KeptAsIs(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> PercentDecoded(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::optional<double> ReadSceneNumber(std::string_view text)
{
    if (text.empty() || text.size() > 40 || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '.'))
        return std::nullopt;
    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = ec == std::errc() && end == text.data() + text.size();
#else
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    const bool whole = end == copy.c_str() + copy.size() && copy.find_first_of("xXnN") == std::string::npos;
#endif
    if (!whole || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string TripleText(Vec3 v)
{
    return ShortestNumber(v.x) + "," + ShortestNumber(v.y) + "," + ShortestNumber(v.z);
}
