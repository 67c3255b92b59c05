// The formula language: muparser's operators and functions, u and v, pi and e, the parameters,
// and the functions a teacher expects that muparser lacks.
#include "surfaces/expression.h"

#include <muParser.h>
#include <muParserTemplateMagic.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>
#include <set>

#include "surfaces/formula_problems.h"
#include "surfaces/formula_number.h"
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

// The names a Spanish textbook writes; each calls the very function muparser's English name
// calls, so a formula draws the same bytes in either language.
using Math = mu::MathImpl<double>;

struct SpanishDefinition {
    SpanishFunction names;
    double (*function)(double);
};

const SpanishDefinition kSpanish[] = {
    {{"sen", "sin"}, Math::Sin},          {{"tg", "tan"}, Math::Tan},         {{"arcsen", "asin"}, Math::ASin},
    {{"arccos", "acos"}, Math::ACos},     {{"arctg", "atan"}, Math::ATan},    {{"senh", "sinh"}, Math::Sinh},
    {{"tgh", "tanh"}, Math::Tanh},        {{"arcsenh", "asinh"}, Math::ASinh}, {{"arccosh", "acosh"}, Math::ACosh},
    {{"arctgh", "atanh"}, Math::ATanh},   {{"raiz", "sqrt"}, Math::Sqrt},     {{"cotg", "cot"}, Cot},
    {{"cosec", "csc"}, Csc},
};

// The decimal point is muparser's default '.', whatever the process's locale. SetDecSep is never
// called: it rewrites a locale shared by every parser, which the preview's thread also reads.
void AddLanguage(mu::Parser& parser)
{
    parser.AddValIdent(ReadFormulaNumber);   // before muparser's own reader, which it replaces
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
    for (const SpanishDefinition& spanish : kSpanish)
        parser.DefineFun(spanish.names.spanish, spanish.function);
}

// A parser that knows the language and nothing else, copied for every formula: building one from
// nothing costs most of reading the gallery.
mu::Parser ParserWithLanguage()
{
    static const mu::Parser prototype = [] {
        mu::Parser parser;
        AddLanguage(parser);
        return parser;
    }();
    return prototype;
}

// The names a text that compiled reads, each once: its identifiers, the numbers (with their
// exponents) passed over. muparser would tell by parsing the text a second time.
std::set<std::string> NamesIn(std::string_view text)
{
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::set<std::string> names;
    for (size_t i = 0; i < text.size();) {
        if (letter(text[i])) {
            const size_t start = i;
            while (i < text.size() && (letter(text[i]) || digit(text[i])))
                ++i;
            names.emplace(text.substr(start, i - start));
        } else if (digit(text[i])) {
            while (i < text.size() && (digit(text[i]) || text[i] == '.'))
                ++i;
            if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
                const size_t sign = i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') ? 1 : 0;
                if (i + 1 + sign < text.size() && digit(text[i + 1 + sign]))
                    for (i += 1 + sign; i < text.size() && digit(text[i]);)
                        ++i;
            }
        } else {
            ++i;
        }
    }
    return names;
}

}   // namespace

const std::vector<SpanishFunction>& SpanishFunctions()
{
    static const std::vector<SpanishFunction> names = [] {
        std::vector<SpanishFunction> list;
        for (const SpanishDefinition& spanish : kSpanish)
            list.push_back(spanish.names);
        return list;
    }();
    return names;
}

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
    for (const SpanishDefinition& spanish : kSpanish)
        if (name == spanish.names.spanish)
            return false;
    static const mu::Parser parser;
    const auto& builtins = parser.GetFunDef();
    return builtins.find(std::string(name)) == builtins.end();
}

struct Formula::Impl {
    mu::Parser         parser = ParserWithLanguage();
    double             u = 0.0, v = 0.0;
    std::deque<double> params;   // the parser keeps their addresses: a deque never moves them
    std::set<std::string> used;  // asked of the library once: it parses the text again to tell
    bool               compiled = false;   // a fresh one serves the first Compile as it is
};

Formula::Formula() : m_impl(std::make_unique<Impl>()) {}
Formula::~Formula() = default;

bool Formula::Compile(std::string_view text, const std::vector<NamedValue>& params, FormulaProblem& problem,
                      const std::vector<BoundName>& bound)
{
    if (m_impl->compiled)
        m_impl = std::make_unique<Impl>();
    m_impl->compiled = true;
    if (!CheckFormulaLimits(text, problem))
        return false;
    mu::Parser& parser = m_impl->parser;
    try {
        parser.DefineVar("u", &m_impl->u);
        parser.DefineVar("v", &m_impl->v);
        for (const NamedValue& param : params)
            parser.DefineVar(param.first, &m_impl->params.emplace_back(param.second));
        for (const BoundName& name : bound)
            parser.DefineVar(name.name, name.value);
        parser.SetExpr(std::string(text));
        parser.Eval();   // muparser parses on first use: errors show here
        if (parser.GetNumResults() != 1) {
            problem = MultipleValues(text);
            return false;
        }
        const auto& variables = parser.GetVar();
        for (const std::string& name : NamesIn(text))
            if (variables.count(name))
                m_impl->used.insert(name);
    } catch (const mu::Parser::exception_type& error) {
        problem = ProblemOf(error, text, parser);
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
    mu::Parser parser = ParserWithLanguage();
    std::deque<double> values;
    try {
        for (const NamedValue& param : params)
            parser.DefineVar(param.first, &values.emplace_back(param.second));
        parser.SetExpr(std::string(text));
        const double value = parser.Eval();
        if (parser.GetNumResults() != 1) {
            problem = MultipleValues(text);
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
        problem = ProblemOf(error, text, parser);
        return std::nullopt;
    }
}
