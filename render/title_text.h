// A title as runs of text: plain words, and simple mathematics between $…$ (italic letters,
// ^ superscripts, _ subscripts, Greek letters, −, ·), the same runs for every format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TextRun {
    std::string text;      // UTF-8 as drawn ("−" for a typed '-' in mathematics)
    std::string tex;       // in mathematics, the run as LaTeX math source; empty for plain text
    bool italic = false;   // a letter of mathematics
    bool math = false;     // between $ and $
    int  level = 0;        // 1 raised (superscript), -1 lowered (subscript), 0 on the line
};

// The runs of text; a '$' without its pair is plain text, and a text without a pair is one run.
std::vector<TextRun> TextRuns(std::string_view text);

// Whether text holds mathematics, so that a format draws runs rather than one string.
bool HasMath(std::string_view text);

// The width of the runs in capital heights of a DejaVu-Sans-like face, a little generous, for
// fitting a title before any font is at hand.
double EstimatedWidth(const std::vector<TextRun>& runs);

// A script's size and shift, in the text's capital height.
constexpr double kScriptScale = 0.7, kSuperscriptRise = 0.55, kSubscriptDrop = 0.3;

// text cut in two at the space nearest its middle outside mathematics; second empty when none.
void SplitInTwo(std::string_view text, std::string& first, std::string& second);
