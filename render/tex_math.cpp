// The one table of characters LaTeX sets as math commands: a title's mathematics and the text of
// a pdflatex figure read it alike.
#include "render/tex_math.h"

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

}   // namespace

std::string_view TexMathCommand(char32_t c)
{
    for (const MathName& m : kMath)
        if (m.c == c)
            return m.command;
    return {};
}
