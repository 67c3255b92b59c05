// The formula language: muparser's operators and functions, u and v, pi and e, the parameters,
// and the functions a teacher expects that muparser lacks.
#include "surfaces/expression.h"

#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>
#include <set>

#include "surfaces/quoted_text.h"

namespace {

double Cot(double x) { return 1.0 / std::tan(x); }
double Sec(double x) { return 1.0 / std::cos(x); }
double Csc(double x) { return 1.0 / std::sin(x); }
double Hypot(double x, double y) { return std::hypot(x, y); }
double Floor(double x) { return std::floor(x); }
double Ceil(double x) { return std::ceil(x); }
double Pow(double x, double y) { return std::pow(x, y); }
// The remainder with the divisor's sign, as a teacher means x mod y; NaN for y = 0.
double Mod(double x, double y)
{
    const double r = std::fmod(x, y);
    return r != 0.0 && (r < 0.0) != (y < 0.0) ? r + y : r;
}

constexpr const char* kAddedFunctions[] = {"cot", "sec", "csc", "hypot", "mod", "floor", "ceil", "pow"};

// The decimal point is muparser's default '.', whatever the process's locale. SetDecSep is never
// called: it rewrites a locale shared by every parser, which the preview's thread also reads.
void AddLanguage(mu::Parser& parser)
{
    parser.DefineConst("pi", std::numbers::pi);
    parser.DefineConst("e", std::numbers::e);
    parser.DefineFun("cot", Cot);
    parser.DefineFun("sec", Sec);
    parser.DefineFun("csc", Csc);
    parser.DefineFun("hypot", Hypot);
    parser.DefineFun("mod", Mod);
    parser.DefineFun("floor", Floor);
    parser.DefineFun("ceil", Ceil);
    parser.DefineFun("pow", Pow);
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// muparser's own words turned into a short message in both languages, positions counted from 1.
FormulaProblem ProblemOf(const mu::Parser::exception_type& error, std::string_view text)
{
    FormulaProblem problem;
    // muparser may point one past the end; the end is where the user must look.
    const int length = static_cast<int>(text.size());
    problem.position = error.GetPos() < 0 ? -1 : std::min(static_cast<int>(error.GetPos()), length);
    const std::string at = problem.position < 0 ? "" : " at position " + std::to_string(problem.position + 1);
    const std::string en = problem.position < 0 ? "" : " en la posición " + std::to_string(problem.position + 1);
    std::string token = Trimmed(error.GetToken());
    if (const size_t space = token.find(' '); space != std::string::npos)
        token.resize(space);
    // The library may hand back the whole rest of the formula: a few characters of it say enough.
    constexpr size_t kTokenShown = 24;
    size_t unused = 0;
    const std::string shown = EscapedExcerpt(token, 0, kTokenShown, unused);
    const std::string quoted = "'" + shown + "'", citado = "«" + shown + "»";
    switch (error.GetCode()) {
    case mu::ecEMPTY_EXPRESSION:
        problem.english = "the formula is empty";
        problem.spanish = "la fórmula está vacía";
        break;
    case mu::ecUNASSIGNABLE_TOKEN:
        problem.english = "unknown name or symbol " + quoted + at + "; known: u, v, pi, e, the parameters and the functions";
        problem.spanish = "nombre o símbolo desconocido " + citado + en;
        break;
    case mu::ecUNEXPECTED_EOF:
    case mu::ecMISSING_PARENS:
        problem.english = "the formula ends too soon" + at + " (a missing operand or ')')";
        problem.spanish = "la fórmula termina antes de tiempo" + en + " (falta un operando o «)»)";
        break;
    case mu::ecTOO_MANY_PARAMS:
    case mu::ecTOO_FEW_PARAMS:
        problem.english = "wrong number of arguments for " + quoted + at;
        problem.spanish = "número de argumentos incorrecto para " + citado + en;
        break;
    default:
        problem.english = "syntax error" + at + (token.empty() ? "" : " near " + quoted);
        problem.spanish = "error de sintaxis" + en + (token.empty() ? "" : " cerca de " + citado);
        break;
    }
    return problem;
}

FormulaProblem MultipleValues()
{
    return {-1, "the formula gives several values (a comma outside a function call)",
            "la fórmula da varios valores (una coma fuera de una llamada a función)"};
}

}   // namespace

bool CheckFormulaLimits(std::string_view text, FormulaProblem& problem)
{
    int characters = 0, depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80)
            ++characters;
        if (characters > kMaxFormulaLength) {
            const std::string limit = std::to_string(kMaxFormulaLength);
            problem = {-1, "the formula is longer than " + limit + " characters; accepted: at most " + limit,
                       "la fórmula tiene más de " + limit + " caracteres; se aceptan como mucho " + limit};
            return false;
        }
        depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
        if (depth > kMaxFormulaNesting) {
            const std::string limit = std::to_string(kMaxFormulaNesting), at = std::to_string(i + 1);
            problem = {static_cast<int>(i),
                       "parentheses nested deeper than " + limit + " at position " + at + "; accepted: at most " + limit,
                       "paréntesis anidados a más de " + limit + " niveles en la posición " + at + "; se aceptan como mucho " + limit};
            return false;
        }
    }
    return true;
}

bool IsParameterName(std::string_view name)
{
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !letter(name[0]))
        return false;
    for (char c : name)
        if (!letter(c) && !digit(c) && c != '_')
            return false;
    if (name == "u" || name == "v" || name == "pi" || name == "e")
        return false;
    for (const char* added : kAddedFunctions)
        if (name == added)
            return false;
    mu::Parser parser;
    const auto& builtins = parser.GetFunDef();
    return builtins.find(std::string(name)) == builtins.end();
}

struct Formula::Impl {
    mu::Parser         parser;
    double             u = 0.0, v = 0.0;
    std::deque<double> params;   // the parser keeps their addresses: a deque never moves them
    std::set<std::string> used;  // asked of the library once: it parses the text again to tell
};

Formula::Formula() : m_impl(std::make_unique<Impl>()) {}
Formula::~Formula() = default;

bool Formula::Compile(std::string_view text, const std::vector<NamedValue>& params, FormulaProblem& problem)
{
    m_impl = std::make_unique<Impl>();
    if (!CheckFormulaLimits(text, problem))
        return false;
    mu::Parser& parser = m_impl->parser;
    try {
        AddLanguage(parser);
        parser.DefineVar("u", &m_impl->u);
        parser.DefineVar("v", &m_impl->v);
        for (const NamedValue& param : params)
            parser.DefineVar(param.first, &m_impl->params.emplace_back(param.second));
        parser.SetExpr(std::string(text));
        parser.Eval();   // muparser parses on first use: errors show here
        if (parser.GetNumResults() != 1) {
            problem = MultipleValues();
            return false;
        }
        for (const auto& [name, address] : parser.GetUsedVar())
            m_impl->used.insert(name);
    } catch (const mu::Parser::exception_type& error) {
        problem = ProblemOf(error, text);
        return false;
    }
    return true;
}

bool Formula::Uses(std::string_view name) const
{
    return m_impl->used.count(std::string(name)) > 0;
}

double Formula::At(double u, double v)
{
    m_impl->u = u;
    m_impl->v = v;
    return m_impl->parser.Eval();
}

std::optional<double> EvaluateConstant(std::string_view text, const std::vector<NamedValue>& params,
                                       FormulaProblem& problem)
{
    if (!CheckFormulaLimits(text, problem))
        return std::nullopt;
    mu::Parser parser;
    std::deque<double> values;
    try {
        AddLanguage(parser);
        for (const NamedValue& param : params)
            parser.DefineVar(param.first, &values.emplace_back(param.second));
        parser.SetExpr(std::string(text));
        const double value = parser.Eval();
        if (parser.GetNumResults() != 1) {
            problem = MultipleValues();
            return std::nullopt;
        }
        if (!std::isfinite(value)) {
            size_t unused = 0;
            const std::string shown = EscapedExcerpt(text, 0, 40, unused);
            problem = {-1, "'" + shown + "' is not a finite number", "«" + shown + "» no es un número finito"};
            return std::nullopt;
        }
        return value;
    } catch (const mu::Parser::exception_type& error) {
        problem = ProblemOf(error, text);
        return std::nullopt;
    }
}
