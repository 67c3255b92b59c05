// The table of characters pdflatex needs as commands.
#include "export/tex_text.h"

#include <utility>

namespace {

struct MathName {
    char32_t         c;
    std::string_view command;
};

constexpr MathName kMath[] = {
    {U'α', "\\alpha"},   {U'β', "\\beta"},     {U'γ', "\\gamma"},   {U'δ', "\\delta"},     {U'ε', "\\varepsilon"},
    {U'ζ', "\\zeta"},    {U'η', "\\eta"},      {U'θ', "\\theta"},   {U'ϑ', "\\vartheta"},  {U'ι', "\\iota"},
    {U'κ', "\\kappa"},   {U'λ', "\\lambda"},   {U'μ', "\\mu"},      {U'ν', "\\nu"},        {U'ξ', "\\xi"},
    {U'ο', "o"},         {U'π', "\\pi"},       {U'ρ', "\\rho"},     {U'σ', "\\sigma"},     {U'ς', "\\varsigma"},
    {U'τ', "\\tau"},     {U'υ', "\\upsilon"},  {U'φ', "\\varphi"},  {U'ϕ', "\\phi"},       {U'χ', "\\chi"},
    {U'ψ', "\\psi"},     {U'ω', "\\omega"},    {U'Γ', "\\Gamma"},   {U'Δ', "\\Delta"},     {U'Θ', "\\Theta"},
    {U'Λ', "\\Lambda"},  {U'Ξ', "\\Xi"},       {U'Π', "\\Pi"},      {U'Σ', "\\Sigma"},     {U'Υ', "\\Upsilon"},
    {U'Φ', "\\Phi"},     {U'Ψ', "\\Psi"},      {U'Ω', "\\Omega"},   {U'Α', "\\mathrm{A}"}, {U'Β', "\\mathrm{B}"},
    {U'Ε', "\\mathrm{E}"}, {U'Ζ', "\\mathrm{Z}"}, {U'Η', "\\mathrm{H}"}, {U'Ι', "\\mathrm{I}"}, {U'Κ', "\\mathrm{K}"},
    {U'Μ', "\\mathrm{M}"}, {U'Ν', "\\mathrm{N}"}, {U'Ο', "\\mathrm{O}"}, {U'Ρ', "\\mathrm{P}"}, {U'Τ', "\\mathrm{T}"},
    {U'Χ', "\\mathrm{X}"}, {U'−', "-"},        {U'±', "\\pm"},      {U'∓', "\\mp"},        {U'×', "\\times"},
    {U'÷', "\\div"},     {U'·', "\\cdot"},     {U'⋅', "\\cdot"},    {U'∘', "\\circ"},      {U'²', "^{2}"},
    {U'³', "^{3}"},      {U'¹', "^{1}"},       {U'°', "^{\\circ}"}, {U'≤', "\\leq"},       {U'≥', "\\geq"},
    {U'≠', "\\neq"},     {U'≈', "\\approx"},   {U'≡', "\\equiv"},   {U'∼', "\\sim"},       {U'∝', "\\propto"},
    {U'∞', "\\infty"},   {U'∈', "\\in"},       {U'∉', "\\notin"},   {U'∋', "\\ni"},        {U'√', "\\surd"},
    {U'∑', "\\sum"},     {U'∏', "\\prod"},     {U'∫', "\\int"},     {U'∮', "\\oint"},      {U'∂', "\\partial"},
    {U'∇', "\\nabla"},   {U'→', "\\to"},       {U'←', "\\leftarrow"}, {U'↔', "\\leftrightarrow"},
    {U'⇒', "\\Rightarrow"}, {U'⇐', "\\Leftarrow"}, {U'⇔', "\\Leftrightarrow"}, {U'↦', "\\mapsto"},
    {U'∀', "\\forall"},  {U'∃', "\\exists"},   {U'∅', "\\emptyset"}, {U'∪', "\\cup"},      {U'∩', "\\cap"},
    {U'⊂', "\\subset"},  {U'⊆', "\\subseteq"}, {U'⊃', "\\supset"},  {U'⊇', "\\supseteq"}, {U'∧', "\\wedge"},
    {U'∨', "\\vee"},     {U'¬', "\\neg"},      {U'ℝ', "\\mathbf{R}"}, {U'ℕ', "\\mathbf{N}"}, {U'ℤ', "\\mathbf{Z}"},
    {U'ℚ', "\\mathbf{Q}"}, {U'ℂ', "\\mathbf{C}"}, {U'′', "'"},    {U'″', "''"},          {U'ℓ', "\\ell"},
    {U'∠', "\\angle"},   {U'⊥', "\\perp"},     {U'∥', "\\parallel"}, {U'⟨', "\\langle"},   {U'⟩', "\\rangle"},
};

constexpr std::pair<char32_t, std::string_view> kText[] = {
    {U'–', "--"}, {U'—', "---"}, {U'…', "\\ldots{}"}, {U'“', "``"}, {U'”', "''"}, {U'‘', "`"}, {U'’', "'"},
    {U'«', "\\(\\ll\\)"}, {U'»', "\\(\\gg\\)"}, {U'\u00a0', "~"},
};

// The code point at text[i] and its length; a malformed byte stands for itself (length 1).
std::pair<char32_t, size_t> Decode(std::string_view text, size_t i)
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

}   // namespace

std::string_view TexMathCommand(char32_t c)
{
    for (const MathName& m : kMath)
        if (m.c == c)
            return m.command;
    return {};
}

std::string TexText(std::string_view utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto [c, length] = Decode(utf8, i);
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
