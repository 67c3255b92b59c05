// The scene's text: written as key=value pairs, read back with every value checked.
#include "session/scene.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "render/hex_text.h"
#include "render/theme.h"
#include "session/scene_text.h"
#include "surfaces/quoted_text.h"

namespace {

constexpr int kMaxLets = 100;
constexpr size_t kMaxTitleBytes = 200;

struct Writer {
    std::string out;
    void Put(std::string_view key, std::string_view value)
    {
        out += out.empty() ? "" : "&";
        out += key;
        out += '=';
        out += PercentEncoded(value);
    }
    void Flag(std::string_view key, bool on)
    {
        if (on)
            Put(key, "1");
    }
};

void PutOwn(Writer& w, const SurfaceDefinition& d)
{
    w.Put("id", d.id);
    w.Put("cap", d.caption);
    w.Put("x", d.xyz[0]);
    w.Put("y", d.xyz[1]);
    w.Put("z", d.xyz[2]);
    w.Put("u0", d.u.from);
    w.Put("u1", d.u.to);
    w.Put("ul", std::to_string(d.u.lines));
    w.Put("v0", d.v.from);
    w.Put("v1", d.v.to);
    w.Put("vl", std::to_string(d.v.lines));
    w.Put("n", std::to_string(d.samples));
    w.Put("fam", d.families == Families::U ? "u" : d.families == Families::V ? "v" : "uv");
    w.Put("fit", !d.fit ? "0" : d.fitEachAxis ? "ejes" : "1");
    for (const ParameterRange& r : d.ranges)
        w.Put("r", r.name + ":" + ShortestNumber(r.least) + ":" + ShortestNumber(r.greatest));
    for (const NamedFormula& let : d.lets)
        w.Put("let", let.name + ":" + let.text);
}

}   // namespace

std::string EncodeScene(const Scene& scene)
{
    Writer w;
    w.Put("v", std::to_string(kSceneVersion));
    if (scene.own)
        PutOwn(w, *scene.own);
    else
        w.Put("s", scene.surfaceId);
    for (const auto& [name, value] : scene.own ? scene.own->params : scene.params)
        w.Put("p", name + ":" + ShortestNumber(value));
    w.Put("eye", TripleText(scene.view.eye));
    w.Put("tgt", TripleText(scene.view.target));
    w.Put("up", TripleText(scene.view.up));
    w.Put("zoom", ShortestNumber(scene.view.zoom));
    const FrameStyle& s = scene.style;
    if (s.hiddenLines)
        w.Put("hid", s.dashedHidden ? "dash" : "1");
    w.Flag("cue", s.depthCue);
    w.Flag("ana", s.anaglyph);
    w.Flag("swap", s.swapEyes);
    w.Flag("par", s.parallel);
    w.Put("w", std::to_string(s.lineWidth));
    if (s.theme != Theme::Pantalla)
        w.Put("theme", InfoOf(s.theme).name);
    if (s.background)
        w.Put("bg", HexColour(*s.background));
    if (s.lineColour)
        w.Put("col", HexColour(*s.lineColour));
    w.Flag("axes", s.axes);
    if (!s.title.empty())
        w.Put("title", s.title);
    if (scene.turnAxis == TurnAxis::Z)
        w.Put("giro", "z");
    if (s.section)
        w.Put("corte", std::string(1, SectionAxisLetter(s.section->axis)) + ":" + ShortestNumber(s.section->value));
    return w.out;
}

namespace {

struct SceneError {
    FormulaProblem problem;
};

[[noreturn]] void Refuse(std::string english, std::string spanish)
{
    throw SceneError{{-1, "scene: " + english, "escena: " + spanish}};
}

// The keys a scene may hold; the repeated ones may come up to their count.
struct KeyRule {
    std::string_view key;
    int              most;
};
constexpr KeyRule kKeys[] = {
    {"v", 1},     {"s", 1},    {"id", 1},   {"cap", 1},  {"x", 1},     {"y", 1},    {"z", 1},    {"u0", 1},
    {"u1", 1},    {"ul", 1},   {"v0", 1},   {"v1", 1},   {"vl", 1},    {"n", 1},    {"fam", 1},  {"fit", 1},
    {"p", kMaxParameters},     {"r", kMaxParameters},    {"let", kMaxLets},        {"eye", 1},  {"tgt", 1},
    {"up", 1},    {"zoom", 1}, {"hid", 1},  {"cue", 1},  {"ana", 1},   {"swap", 1}, {"par", 1},  {"w", 1},
    {"theme", 1}, {"bg", 1},   {"col", 1},  {"axes", 1}, {"title", 1}, {"giro", 1}, {"corte", 1},
};

struct Pair {
    std::string key, value;
};

double Bounded(const Pair& pair, std::string_view text, double low, double high)
{
    const std::optional<double> value = ReadSceneNumber(text);
    if (!value || *value < low || *value > high)
        Refuse(pair.key + "=" + Quote(pair.value) + " is not a number from " + ShortestNumber(low) + " to " + ShortestNumber(high),
               pair.key + "=" + QuoteSpanish(pair.value) + " no es un número de " + ShortestNumber(low) + " a " + ShortestNumber(high));
    return *value;
}

int Whole(const Pair& pair, int low, int high)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(pair.value.data(), pair.value.data() + pair.value.size(), value);
    if (pair.value.empty() || ec != std::errc() || end != pair.value.data() + pair.value.size() || value < low ||
        value > high)
        Refuse(pair.key + "=" + Quote(pair.value) + " is not a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high),
               pair.key + "=" + QuoteSpanish(pair.value) + " no es un número entero de " + std::to_string(low) + " a " +
                   std::to_string(high));
    return value;
}

Vec3 ReadTriple(const Pair& pair, double limit)
{
    std::vector<std::string_view> parts;
    std::string_view rest = pair.value;
    for (size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1))
        parts.push_back(rest.substr(0, comma));
    parts.push_back(rest);
    if (parts.size() != 3)
        Refuse(pair.key + "=" + Quote(pair.value) + " is not three numbers X,Y,Z",
               pair.key + "=" + QuoteSpanish(pair.value) + " no son tres números X,Y,Z");
    return {Bounded(pair, parts[0], -limit, limit), Bounded(pair, parts[1], -limit, limit),
            Bounded(pair, parts[2], -limit, limit)};
}

bool Choice(const Pair& pair, std::initializer_list<std::string_view> accepted, std::string_view& chosen)
{
    for (std::string_view a : accepted)
        if (pair.value == a) {
            chosen = a;
            return true;
        }
    std::string list;
    for (std::string_view a : accepted)
        list += (list.empty() ? "" : ", ") + std::string(a);
    Refuse(pair.key + "=" + Quote(pair.value) + " is not accepted; accepted: " + list,
           pair.key + "=" + QuoteSpanish(pair.value) + " no se acepta; se acepta: " + list);
}

std::string Text(const Pair& pair, size_t most)
{
    if (!IsPrintableText(pair.value) || pair.value.size() > most)
        Refuse(pair.key + ": the text is not one line of printable UTF-8 up to " + std::to_string(most) + " bytes",
               pair.key + ": el texto no es una línea de UTF-8 imprimible de hasta " + std::to_string(most) + " bytes");
    return pair.value;
}

Rgb Colour(const Pair& pair)
{
    const std::optional<Rgb> colour = HexRgb(pair.value);
    if (!colour)
        Refuse(pair.key + "=" + Quote(pair.value) + " is not a colour rrggbb",
               pair.key + "=" + QuoteSpanish(pair.value) + " no es un color rrggbb");
    return *colour;
}

// "z:0.5": the section's plane, its axis and its place in the surface's own units.
SectionPlane Section(const Pair& pair)
{
    const std::string_view text = pair.value;
    const size_t axis = text.size() < 3 || text[1] != ':' ? std::string_view::npos : std::string_view("xyz").find(text[0]);
    if (axis > 2)
        Refuse("corte=" + Quote(pair.value) + " is not AXIS:VALUE with an axis x, y or z",
               "corte=" + QuoteSpanish(pair.value) + " no es EJE:VALOR con un eje x, y o z");
    const SectionAxis axes[] = {SectionAxis::X, SectionAxis::Y, SectionAxis::Z};
    return {axes[std::min<size_t>(axis, 2)], Bounded(pair, text.substr(2), -1e300, 1e300)};
}

// "name:rest": the name, a parameter's, and the rest.
std::pair<std::string, std::string> Named(const Pair& pair)
{
    const size_t colon = pair.value.find(':');
    if (colon == std::string::npos || !IsParameterName(pair.value.substr(0, colon)))
        Refuse(pair.key + "=" + Quote(pair.value) + " is not NAME:VALUE with a name of letters, digits and _",
               pair.key + "=" + QuoteSpanish(pair.value) + " no es NOMBRE:VALOR con un nombre de letras, cifras y _");
    return {pair.value.substr(0, colon), pair.value.substr(colon + 1)};
}

std::vector<Pair> Pairs(std::string_view text)
{
    if (const size_t hash = text.find('#'); hash != std::string_view::npos)
        text.remove_prefix(hash + 1);
    if (text.size() > kMaxSceneLength)
        Refuse("longer than " + std::to_string(kMaxSceneLength) + " characters",
               "más larga de " + std::to_string(kMaxSceneLength) + " caracteres");
    std::vector<Pair> pairs;
    int counts[std::size(kKeys)] = {};
    while (!text.empty()) {
        const size_t amp = text.find('&');
        const std::string_view part = text.substr(0, amp);
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
        const size_t eq = part.find('=');
        const std::string key(part.substr(0, eq));
        const KeyRule* rule = nullptr;
        for (const KeyRule& r : kKeys)
            if (r.key == key)
                rule = &r;
        if (!rule || eq == std::string_view::npos)
            Refuse("unknown part " + Quote(part) + "; accepted: key=value pairs joined by &, starting with v=1",
                   "parte desconocida " + QuoteSpanish(part) + "; se acepta: pares clave=valor unidos por &, empezando por v=1");
        if (++counts[rule - kKeys] > rule->most)
            Refuse(rule->most == 1 ? "the key " + key + " is repeated" : "more than " + std::to_string(rule->most) + " " + key,
                   rule->most == 1 ? "la clave " + key + " está repetida" : "más de " + std::to_string(rule->most) + " " + key);
        const std::optional<std::string> value = PercentDecoded(part.substr(eq + 1));
        if (!value)
            Refuse("the value of " + key + " has a % not followed by two hexadecimal digits",
                   "el valor de " + key + " tiene un % sin dos cifras hexadecimales detrás");
        pairs.push_back({key, *value});
    }
    if (pairs.empty() || pairs.front().key != "v" || pairs.front().value != std::to_string(kSceneVersion))
        Refuse("not a scene of version " + std::to_string(kSceneVersion) + "; accepted: a link that starts v=1",
               "no es una escena de la versión " + std::to_string(kSceneVersion) + "; se acepta: un enlace que empieza por v=1");
    return pairs;
}

void ReadOwnPair(SurfaceDefinition& d, const Pair& pair)
{
    const std::string& k = pair.key;
    if (k == "id")
        d.id = Text(pair, kMaxFormulaLength);
    else if (k == "cap")
        d.caption = Text(pair, kMaxFormulaLength);
    else if (k == "x" || k == "y" || k == "z")
        d.xyz[static_cast<size_t>(k[0] - 'x')] = Text(pair, kMaxFormulaLength);
    else if (k == "u0" || k == "u1" || k == "v0" || k == "v1")
        (k[0] == 'u' ? (k[1] == '0' ? d.u.from : d.u.to) : (k[1] == '0' ? d.v.from : d.v.to)) = Text(pair, kMaxFormulaLength);
    else if (k == "ul" || k == "vl")
        (k[0] == 'u' ? d.u.lines : d.v.lines) = Whole(pair, 1, kMaxLinesPerFamily);
    else if (k == "n")
        d.samples = Whole(pair, 1, kMaxSamplesPerLine);
    else if (k == "fam") {
        std::string_view f;
        Choice(pair, {"u", "v", "uv"}, f);
        d.families = f == "u" ? Families::U : f == "v" ? Families::V : Families::UV;
    } else if (k == "fit") {
        std::string_view f;
        Choice(pair, {"0", "1", "ejes"}, f);
        d.fit = f != "0";
        d.fitEachAxis = f == "ejes";
    } else if (k == "r") {
        const auto [name, rest] = Named(pair);
        const size_t colon = rest.find(':');
        ParameterRange range{name, Bounded(pair, rest.substr(0, colon), -1e300, 1e300),
                             colon == std::string::npos ? 0.0 : Bounded(pair, rest.substr(colon + 1), -1e300, 1e300)};
        if (colon == std::string::npos || !(range.least < range.greatest))
            Refuse("r=" + Quote(pair.value) + " is not NAME:LEAST:GREATEST with the least below the greatest",
                   "r=" + QuoteSpanish(pair.value) + " no es NOMBRE:MÍNIMO:MÁXIMO con el mínimo por debajo del máximo");
        d.ranges.push_back(range);
    } else if (k == "let") {
        const auto [name, text] = Named(pair);
        d.lets.push_back({name, text});
        Text(pair, kMaxFormulaLength);
    }
}

bool IsOwnKey(std::string_view key)
{
    for (std::string_view k : {"id", "cap", "x", "y", "z", "u0", "u1", "ul", "v0", "v1", "vl", "n", "fam", "fit", "r", "let"})
        if (key == k)
            return true;
    return false;
}

Scene Read(std::string_view text)
{
    const std::vector<Pair> pairs = Pairs(text);
    Scene scene;
    std::set<std::string> seen;
    for (const Pair& pair : pairs)
        seen.insert(pair.key);
    const bool own = seen.count("x") > 0;
    for (const char* needed : {"eye", "tgt", "up", "zoom"})
        if (!seen.count(needed))
            Refuse(std::string("the view's ") + needed + " is missing", std::string("falta ") + needed + " de la vista");
    if (own == (seen.count("s") > 0))
        Refuse("no surface or two; accepted: s=ID, or one's own formulas x, y, z, u0, u1, v0, v1",
               "ninguna superficie o dos; se acepta: s=ID, o fórmulas propias x, y, z, u0, u1, v0, v1");
    if (own) {
        scene.own.emplace();
        for (const char* needed : {"y", "z", "u0", "u1", "v0", "v1"})
            if (!seen.count(needed))
                Refuse(std::string("one's own formulas lack ") + needed, std::string("a las fórmulas propias les falta ") + needed);
    }
    for (const Pair& pair : pairs) {
        const std::string& k = pair.key;
        FrameStyle& s = scene.style;
        std::string_view choice;
        if (IsOwnKey(k)) {
            if (!own)
                Refuse(k + " belongs to one's own formulas; accepted with s=ID: p, the view and the options",
                       k + " es de las fórmulas propias; se acepta con s=ID: p, la vista y las opciones");
            ReadOwnPair(*scene.own, pair);
        } else if (k == "s")
            scene.surfaceId = Text(pair, kMaxFormulaLength);
        else if (k == "p") {
            const auto [name, value] = Named(pair);
            (own ? scene.own->params : scene.params).emplace_back(name, Bounded(pair, value, -1e300, 1e300));
        } else if (k == "eye")
            scene.view.eye = ReadTriple(pair, kMaxSceneCoordinate);
        else if (k == "tgt")
            scene.view.target = ReadTriple(pair, kMaxSceneCoordinate);
        else if (k == "up")
            scene.view.up = ReadTriple(pair, 2.0);
        else if (k == "zoom")
            scene.view.zoom = Bounded(pair, pair.value, 0.0, 100.0);
        else if (k == "hid") {
            Choice(pair, {"1", "dash"}, choice);
            s.hiddenLines = true;
            s.dashedHidden = choice == "dash";
        } else if (k == "cue" || k == "ana" || k == "swap" || k == "par" || k == "axes") {
            Choice(pair, {"1"}, choice);
            (k == "cue" ? s.depthCue : k == "ana" ? s.anaglyph : k == "swap" ? s.swapEyes : k == "par" ? s.parallel : s.axes) = true;
        } else if (k == "w")
            s.lineWidth = Whole(pair, kLineWidthMin, kLineWidthMax);
        else if (k == "theme") {
            Choice(pair, {"papel", "proyector"}, choice);
            s.theme = *ThemeNamed(choice);
        } else if (k == "bg" || k == "col")
            (k == "bg" ? s.background : s.lineColour) = Colour(pair);
        else if (k == "title")
            s.title = Text(pair, kMaxTitleBytes);
        else if (k == "giro") {
            Choice(pair, {"z"}, choice);
            scene.turnAxis = TurnAxis::Z;
        } else if (k == "corte")
            s.section = Section(pair);
    }
    const double upLength = VecLength(scene.view.up);
    if (!(upLength > 0.5 && upLength < 2.0))
        Refuse("up is not a direction of length about 1", "up no es una dirección de longitud cercana a 1");
    if (VecLength(VecSub(scene.view.eye, scene.view.target)) < 1e-3)
        Refuse("the eye stands on the target", "el ojo está sobre el punto mirado");
    return scene;
}

}   // namespace

std::optional<Scene> DecodeScene(std::string_view text, FormulaProblem& problem)
{
    try {
        return Read(text);
    } catch (const SceneError& error) {
        problem = error.problem;
        return std::nullopt;
    }
}
