// Text for pdflatex: its specials escaped, signs and Greek letters by render/tex_math's table.
#include "export/tex_text.h"

#include <utility>

#include "render/tex_math.h"
#include "render/utf8.h"

namespace {

constexpr std::pair<char32_t, std::string_view> kText[] = {
    {U'–', "--"}, {U'—', "---"}, {U'…', "\\ldots{}"}, {U'“', "``"}, {U'”', "''"}, {U'‘', "`"}, {U'’', "'"},
    {U'«', "\\(\\ll\\)"}, {U'»', "\\(\\gg\\)"}, {U'\u00a0', "~"},
};

}   // namespace

std::string TexText(std::string_view utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto [c, length] = DecodeUtf8(utf8, i);
        const std::string_view raw = utf8.substr(i, length);
        i += length;
        switch (c) {
        case '\\': out += "\\textbackslash{}"; continue;
        case '{': case '}': case '$': case '&': case '#': case '_': case '%':
            out += '\\';
            out += static_cast<char>(c);
            continue;
        case '^': out += "\\textasciicircum{}"; continue;
        case '~': out += "\\textasciitilde{}"; continue;
        case '<': out += "\\textless{}"; continue;
        case '>': out += "\\textgreater{}"; continue;
        case '|': out += "\\textbar{}"; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7f) {
            out += ' ';
            continue;
        }
        if (const std::string_view math = TexMathCommand(c); !math.empty()) {
            out += "\\(" + std::string(math) + "\\)";   // \( \) rather than $ $: two in a row are no $$
            continue;
        }
        bool text = false;
        for (const auto& [from, to] : kText)
            if (from == c) {
                out += to;
                text = true;
            }
        if (!text)
            out += raw;
    }
    return out;
}
