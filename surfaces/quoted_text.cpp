// One way of echoing what the user typed: escaped, so a message stays one line and a terminal
// never obeys bytes it was sent.
#include "surfaces/quoted_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::string_view kNamedControls = "\a\b\t\n\v\f\r";
constexpr std::string_view kControlLetters = "abtnvfr";
constexpr std::string_view kEllipsis = "…";

// The length of a well-formed UTF-8 sequence at text's start, its character in code; 0 for a
// malformed, overlong or surrogate sequence.
size_t Decode(std::string_view text, char32_t& code)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    code = lead;
    if (lead < 0x80)
        return 1;
    const size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                        : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
    if (length == 0 || text.size() < length)
        return 0;
    code = lead & (0x7f >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3f);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
        return 0;
    return length;
}

// Characters that print nothing yet change how a line reads: the marks, embeddings, overrides and
// isolates of text direction, the line and paragraph separators, the invisible joiners, and the
// two that XML refuses (U+FFFE, U+FFFF). A terminal or a picture would obey them, so they are
// escaped in messages and refused in titles.
bool IsInvisibleFormat(char32_t code)
{
    return code == 0x061c || (code >= 0x200b && code <= 0x200f) || (code >= 0x2028 && code <= 0x202e) ||
           (code >= 0x2060 && code <= 0x206f) || code == 0xfeff || (code >= 0xfff9 && code <= 0xfffb) ||
           code == 0xfffe || code == 0xffff;
}

// The length of the UTF-8 sequence of a printable character at text's start; 0 for anything else
// (a control byte, a C1 control, an invisible format character, a malformed sequence).
size_t PrintableSequence(std::string_view text)
{
    char32_t code = 0;
    const size_t length = Decode(text, code);
    if (length == 0 || code < 0x20 || (code >= 0x7f && code < 0xa0) || IsInvisibleFormat(code))
        return 0;
    return length;
}

}   // namespace

bool IsPrintableText(std::string_view text)
{
    while (!text.empty()) {
        const size_t printable = PrintableSequence(text);
        if (printable == 0)
            return false;
        text.remove_prefix(printable);
    }
    return true;
}

namespace {

// Escapes the character at text's start onto out; returns the bytes of text it took and adds the
// characters it wrote to columns.
size_t EscapeOne(std::string_view text, std::string& out, size_t& columns)
{
    const size_t printable = PrintableSequence(text);
    const char c = text.front();
    if (c == '\\' || c == '\'') {
        out += '\\';
        out += c;
        columns += 2;
        return 1;
    }
    if (printable > 0) {
        out += text.substr(0, printable);
        columns += 1;
        return printable;
    }
    if (char32_t code = 0; Decode(text, code) > 1 && IsInvisibleFormat(code)) {   // shown by its number
        char number[9];
        std::snprintf(number, sizeof number, "\\u%04X", static_cast<unsigned>(code));
        out += number;
        columns += 6;
        return Decode(text, code);
    }
    if (const size_t named = kNamedControls.find(c); named != std::string_view::npos) {
        out += '\\';
        out += kControlLetters[named];
        columns += 2;
        return 1;
    }
    char octal[5];
    std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
    out += octal;
    columns += 4;
    return 1;
}

}   // namespace

std::string EscapeText(std::string_view text)
{
    std::string escaped;
    size_t columns = 0;
    while (!text.empty())
        text.remove_prefix(EscapeOne(text, escaped, columns));
    return escaped;
}

namespace {

// A text of many characters is shown by its start and end: a message stays short whatever was given.
constexpr size_t kShownWhole = 200, kShownStart = 120, kShownEnd = 60;

std::string Shortened(std::string_view text)
{
    auto lead = [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; };
    size_t characters = 0;
    for (const char c : text)
        characters += lead(c) ? 1 : 0;
    if (characters <= kShownWhole)
        return EscapeText(text);
    size_t start = 0;
    for (size_t seen = 0; start < text.size() && !(lead(text[start]) && seen++ == kShownStart);)
        ++start;
    size_t end = text.size();
    for (size_t seen = 0; end > 0 && seen < kShownEnd;)
        seen += lead(text[--end]) ? 1 : 0;
    return EscapeText(text.substr(0, start)) + std::string(kEllipsis) + EscapeText(text.substr(end));
}

}   // namespace

std::string Quote(std::string_view text)
{
    return "'" + Shortened(text) + "'";
}

std::string QuoteSpanish(std::string_view text)
{
    return "«" + Shortened(text) + "»";
}

std::size_t EscapedColumn(std::string_view text, std::size_t at)
{
    std::string scratch;
    size_t columns = 0, done = 0;
    while (done < at && done < text.size()) {
        done += EscapeOne(text.substr(done), scratch, columns);
        scratch.clear();
    }
    return columns;
}

std::string EscapedExcerpt(std::string_view text, std::size_t at, std::size_t width, std::size_t& column)
{
    at = std::min(at, text.size());
    const size_t half = width / 2;
    size_t from = at > half ? at - half : 0;
    size_t to = std::min(text.size(), from + width);
    // Whole UTF-8 characters only: never start or end inside one.
    auto continuation = [&](size_t i) { return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xc0) == 0x80; };
    while (from > 0 && continuation(from))
        --from;
    while (to < text.size() && continuation(to))
        ++to;
    std::string excerpt = from > 0 ? std::string(kEllipsis) : std::string();
    const size_t lead = from > 0 ? 1 : 0;
    const std::string_view piece = text.substr(from, to - from);
    column = lead + EscapedColumn(piece, at - from);
    excerpt += EscapeText(piece);
    if (to < text.size())
        excerpt += kEllipsis;
    return excerpt;
}

std::string ShortestNumber(double value)
{
    char text[40];
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string("nan");
#else
    // A library without the shortest form (the page's, always in the C locale): the fewest digits
    // that read back the same.
    for (int digits = 1;; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (digits >= 17 || std::strtod(text, nullptr) == value)
            return text;
    }
#endif
}
