// Reading $…$ into runs and sizing them.
#include "render/title_text.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "render/tex_math.h"
#include "render/utf8.h"

namespace {

// One character of mathematics: what is drawn, its LaTeX, whether italic.
struct MathChar {
    std::string text, tex;
    bool italic = false;
};

MathChar OfMath(char32_t c, std::string_view raw)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return {std::string(raw), std::string(raw), true};
    if (c == '-')
        return {"\u2212", "-", false};
    if (c == '*')
        return {"\u00b7", "\\cdot ", false};
    if ((c >= '0' && c <= '9') || std::string_view("+=()[],./<>|!?:;' ").find(static_cast<char>(c)) != std::string_view::npos)
        return {std::string(raw), std::string(raw), false};
    if (const std::string_view command = TexMathCommand(c); !command.empty()) {
        // A sign's command word is closed by a space; a Greek letter's by its braces alone.
        const bool greek = c >= 0x370 && c <= 0x3ff;
        const char last = command.back();
        const bool word = command[0] == '\\' && ((last >= 'a' && last <= 'z') || (last >= 'A' && last <= 'Z'));
        return {std::string(raw), "{" + std::string(command) + (word && !greek ? " " : "") + "}", c >= U'α' && c <= U'ω'};
    }
    switch (c) {
    case '#': return {"#", "\\#", false};
    case '%': return {"%", "\\%", false};
    case '&': return {"&", "\\&", false};
    case '~': return {"~", "\\sim ", false};
    case '\\': return {"\\", "\\backslash ", false};
    case '{': return {"{", "\\{", false};
    case '}': return {"}", "\\}", false};
    default: break;
    }
    // Anything else is set as text inside the mathematics; control characters are left out.
    if (c < 0x20 || c == 0x7f)
        return {};
    return {std::string(raw), "\\mbox{?}", false};
}

void Append(std::vector<TextRun>& runs, const MathChar& m, bool math, int level)
{
    if (m.text.empty())
        return;
    if (!runs.empty() && runs.back().math == math && runs.back().italic == m.italic && runs.back().level == level) {
        runs.back().text += m.text;
        runs.back().tex += m.tex;
        return;
    }
    runs.push_back({m.text, m.tex, m.italic, math, level});
}

// The LaTeX of a function's name, upright in mathematics; empty for any other word. The Spanish
// names have no command of their own.
std::string FunctionTex(std::string_view word)
{
    constexpr std::string_view kLatex[] = {"sin", "cos", "tan", "cot", "sec", "csc", "sinh", "cosh", "tanh",
                                           "arcsin", "arccos", "arctan", "ln", "log", "exp", "lim", "max", "min"};
    constexpr std::string_view kSpanish[] = {"sen", "tg", "senh", "tgh", "arcsen", "arctg"};
    for (const std::string_view name : kLatex)
        if (word == name)
            return "\\" + std::string(word) + " ";
    for (const std::string_view name : kSpanish)
        if (word == name)
            return "\\mathrm{" + std::string(word) + "}\\,";
    return {};
}

// The mathematics between two $: scripts take the next character or a {group}.
void ReadMath(std::string_view math, std::vector<TextRun>& runs)
{
    size_t i = 0;
    auto next = [&](int level) {
        const auto [c, length] = DecodeUtf8(math, i);
        Append(runs, OfMath(c, math.substr(i, length)), true, level);
        i += length;
    };
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while (i < math.size()) {
        const char c = math[i];
        if (isLetter(c) && (i == 0 || !isLetter(math[i - 1]))) {   // a function's name stands upright
            size_t end = i;
            while (end < math.size() && isLetter(math[end]))
                ++end;
            const std::string_view word = math.substr(i, end - i);
            if (const std::string tex = FunctionTex(word); !tex.empty()) {
                Append(runs, {std::string(word), tex, false}, true, 0);
                i = end;
                continue;
            }
        }
        if (c != '^' && c != '_') {
            next(0);
            continue;
        }
        const int level = c == '^' ? 1 : -1;
        ++i;
        if (i < math.size() && math[i] == '{') {
            const size_t close = math.find('}', i);
            const size_t end = close == std::string_view::npos ? math.size() : close;
            ++i;
            while (i < end)
                next(level);
            i = end + (close == std::string_view::npos ? 0 : 1);
        } else if (i < math.size() && math[i] != '^' && math[i] != '_') {
            next(level);
        }
    }
}

// The width of one character in capital heights (the face's capitals are 0.72 of its size).
double Advance(char32_t c)
{
    double em = 0.62;
    if (c == ' ')
        em = 0.32;
    else if (std::u32string_view(U"iljI.,:;'!|").find(c) != std::u32string_view::npos)
        em = 0.3;
    else if (std::u32string_view(U"frt()[]{}").find(c) != std::u32string_view::npos)
        em = 0.42;
    else if (std::u32string_view(U"mwMW").find(c) != std::u32string_view::npos)
        em = 0.95;
    else if (c >= 'A' && c <= 'Z')
        em = 0.74;
    return em / 0.72;
}

}   // namespace

bool HasMath(std::string_view text)
{
    const size_t open = text.find('$');
    return open != std::string_view::npos && text.find('$', open + 1) != std::string_view::npos;
}

std::vector<TextRun> TextRuns(std::string_view text)
{
    std::vector<TextRun> runs;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('$', i);
        const size_t close = open == std::string_view::npos ? open : text.find('$', open + 1);
        const size_t plainEnd = close == std::string_view::npos ? text.size() : open;
        if (plainEnd > i)
            runs.push_back({std::string(text.substr(i, plainEnd - i)), "", false, false, 0});
        if (close == std::string_view::npos)
            break;
        ReadMath(text.substr(open + 1, close - open - 1), runs);
        i = close + 1;
    }
    return runs;
}

double EstimatedWidth(const std::vector<TextRun>& runs)
{
    double width = 0.0;
    for (const TextRun& run : runs)
        for (size_t i = 0; i < run.text.size();) {
            const auto [c, length] = DecodeUtf8(run.text, i);
            i += length;
            width += Advance(c) * (run.level != 0 ? kScriptScale : 1.0);
        }
    return width;
}

void SplitInTwo(std::string_view text, std::string& first, std::string& second)
{
    size_t best = std::string_view::npos;
    bool inMath = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '$')
            inMath = !inMath && text.find('$', i + 1) != std::string_view::npos;
        else if (text[i] == ' ' && !inMath &&
                 (best == std::string_view::npos || std::fabs(double(i) - text.size() / 2.0) < std::fabs(double(best) - text.size() / 2.0)))
            best = i;
    }
    if (best == std::string_view::npos) {
        first = std::string(text);
        second.clear();
        return;
    }
    first = std::string(text.substr(0, best));
    second = std::string(text.substr(best + 1));
}
