// Formulas of u and v as the user types them, compiled once and evaluated many times (muparser).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A problem with a formula or a value, said in English (the command line) and Spanish (the window).
struct FormulaProblem {
    int         position = -1;   // 0-based character of the formula where it was found; -1 none
    std::string english;         // e.g. "unknown name 'w' at position 3"
    std::string spanish;         // e.g. "nombre desconocido «w» en la posición 3"
};

using NamedValue = std::pair<std::string, double>;   // a named parameter and its value

// A name whose value lives elsewhere and changes between evaluations: a let's value, written by
// whoever evaluates the let before the formulas that read it.
struct BoundName {
    std::string name;
    double*     value;
};

// Our own limits on one formula, checked before the expression library sees it: long or deeply
// nested texts are mistakes, and cost time on every sample.
constexpr int kMaxFormulaLength = 1000;   // characters
constexpr int kMaxFormulaNesting = 100;   // parentheses open at once

// Whether text keeps within kMaxFormulaLength and kMaxFormulaNesting; if not, says which is passed.
bool CheckFormulaLimits(std::string_view text, FormulaProblem& problem);

// Whether name can name a parameter: a letter then letters, digits or '_', not u, v, pi, e nor a
// function's name (English or Spanish).
bool IsParameterName(std::string_view name);

// The Spanish names of functions, each beside the English one it stands for: sen for sin, ...
struct SpanishFunction {
    const char* spanish;
    const char* english;
};
const std::vector<SpanishFunction>& SpanishFunctions();

// The value of a constant expression ("2*pi", "-pi/2") over the parameters given; no u nor v.
std::optional<double> EvaluateConstant(std::string_view text, const std::vector<NamedValue>& params,
                                       FormulaProblem& problem);

// One formula of u and v (and the parameters), compiled once. Not copyable: the parser keeps the
// addresses of its variables. One object is used by one thread at a time.
class Formula {
public:
    Formula();
    ~Formula();
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;

    // Compiles text; on failure says why in problem and returns false. bound names are read
    // through their pointers at every evaluation.
    bool Compile(std::string_view text, const std::vector<NamedValue>& params, FormulaProblem& problem,
                 const std::vector<BoundName>& bound = {});
    bool Uses(std::string_view name) const;   // whether the compiled text reads that variable
    double At(double u, double v);            // NaN and infinities flow through as computed

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
