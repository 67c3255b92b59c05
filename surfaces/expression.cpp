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

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The name that starts at position in text (letters, digits, '_'), or nothing.
std::string NameAt(std::string_view text, int position)
{
    size_t end = static_cast<size_t>(std::max(position, 0));
    if (end >= text.size() || !IsLetter(text[end]))
        return {};
    while (end < text.size() && (IsLetter(text[end]) || IsDigit(text[end])))
        ++end;
    return std::string(text.substr(static_cast<size_t>(position), end - static_cast<size_t>(position)));
}

// Edits (insert, delete, change, swap two neighbours) from a to b.
size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The known name closest to an unknown one: one edit away, two for long names; short names get
// no guess, since "w" is one edit from u, v and e alike.
std::string ClosestName(const std::string& unknown, const mu::Parser& parser)
{
    if (unknown.size() < 3)
        return {};
    std::vector<std::string> known;
    for (const auto& [name, unused] : parser.GetFunDef())
        known.push_back(name);
    for (const auto& [name, unused] : parser.GetVar())
        known.push_back(name);
    for (const auto& [name, unused] : parser.GetConst())
        known.push_back(name);
    std::sort(known.begin(), known.end());
    const size_t allowed = unknown.size() >= 6 ? 2 : 1;
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const std::string& name : known)
        if (const size_t d = EditDistance(unknown, name); d < bestDistance && name.size() >= 2) {
            best = name;
            bestDistance = d;
        }
    return best;
}

// Where a number is written straight before a name or '(' ("2cos(v)", "3(u+1)"): the place of
// the name or '(', with the number and what follows; position -1 when there is none.
struct MissingTimes {
    int         position = -1;
    std::string number, next;
};

MissingTimes FindMissingTimes(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        if (IsLetter(text[i])) {   // a name, digits and all
            while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i])))
                ++i;
            continue;
        }
        const bool number = IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1]));
        if (!number) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && (IsDigit(text[i]) || text[i] == '.'))
            ++i;
        if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {   // an exponent, when digits follow
            size_t j = i + 1;
            if (j < text.size() && (text[j] == '+' || text[j] == '-'))
                ++j;
            if (j < text.size() && IsDigit(text[j])) {
                i = j;
                while (i < text.size() && IsDigit(text[i]))
                    ++i;
            }
        }
        size_t next = i;
        while (next < text.size() && text[next] == ' ')
            ++next;
        if (next < text.size() && (IsLetter(text[next]) || text[next] == '(')) {
            const std::string what = text[next] == '(' ? "(" : NameAt(text, static_cast<int>(next));
            return {static_cast<int>(next), std::string(text.substr(start, i - start)), what};
        }
    }
    return {};
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// A function's name used without parentheses ("sen u"): the call it stands for, "sen(u)", or
// nothing when the name is not followed by an argument.
std::string CallWithParentheses(std::string_view text, int position, const std::string& name)
{
    size_t i = static_cast<size_t>(std::max(position, 0)) + name.size();
    while (i < text.size() && text[i] == ' ')
        ++i;
    const size_t start = i;
    while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '.'))
        ++i;
    if (i == start || (start < text.size() && text[start] == '('))
        return {};
    return name + "(" + std::string(text.substr(start, i - start)) + ")";
}

// muparser's own words turned into a short message in both languages, positions counted from 1.
FormulaProblem ProblemOf(const mu::Parser::exception_type& error, std::string_view text, const mu::Parser& parser)
{
    FormulaProblem problem;
    if (const MissingTimes missing = FindMissingTimes(text);
        missing.position >= 0 && (error.GetPos() < 0 || missing.position <= static_cast<int>(error.GetPos()))) {
        const std::string place = std::to_string(missing.position + 1);
        problem.position = missing.position;
        problem.english = "a * is missing between " + missing.number + " and " + missing.next + " at position " + place;
        problem.spanish = "falta un * entre " + missing.number + " y " + missing.next + " en la posición " + place;
        return problem;
    }
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
    case mu::ecUNASSIGNABLE_TOKEN: {
        const std::string name = NameAt(text, problem.position);
        std::string guess = name.empty() ? "" : ClosestName(name, parser);
        if (guess == name)   // a function without its parentheses: the call is the hint
            guess = CallWithParentheses(text, problem.position, name);
        if (!guess.empty()) {
            problem.english = "unknown name '" + name + "'" + at + "; did you mean " + guess + "?";
            problem.spanish = "nombre desconocido «" + name + "»" + en + "; ¿quería decir " + guess + "?";
            break;
        }
        problem.english = "unknown name or symbol " + quoted + at + "; known: u, v, pi, e, the parameters and the functions";
        problem.spanish = "nombre o símbolo desconocido " + citado + en;
        break;
    }
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

// A comma outside every call: a decimal comma between digits (3,5) gets the decimal point shown.
FormulaProblem MultipleValues(std::string_view text)
{
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
        if (text[i] != ',' || depth != 0 || i == 0 || !IsDigit(text[i - 1]) || i + 1 >= text.size() || !IsDigit(text[i + 1]))
            continue;
        size_t start = i, end = i + 1;
        while (start > 0 && IsDigit(text[start - 1]))
            --start;
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        const std::string number = std::string(text.substr(start, i - start)) + "." + std::string(text.substr(i + 1, end - i - 1));
        const std::string place = std::to_string(i + 1);
        return {static_cast<int>(i), "a decimal comma at position " + place + "; use the decimal point: " + number,
                "una coma decimal en la posición " + place + "; use el punto decimal: " + number};
    }
    return {-1, "the formula gives several values (a comma outside a function call)",
            "la fórmula da varios valores (una coma fuera de una llamada a función)"};
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

bool Formula::Compile(std::string_view text, const std::vector<NamedValue>& params, FormulaProblem& problem,
                      const std::vector<BoundName>& bound)
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
        for (const BoundName& name : bound)
            parser.DefineVar(name.name, name.value);
        parser.SetExpr(std::string(text));
        parser.Eval();   // muparser parses on first use: errors show here
        if (parser.GetNumResults() != 1) {
            problem = MultipleValues(text);
            return false;
        }
        for (const auto& [name, address] : parser.GetUsedVar())
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
    mu::Parser parser;
    std::deque<double> values;
    try {
        AddLanguage(parser);
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
