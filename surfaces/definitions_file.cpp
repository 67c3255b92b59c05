// Reading and writing definitions files with toml++.
#include "surfaces/definitions_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <charconv>
#include <cstring>
#include <sstream>

#include "surfaces/quoted_text.h"
#include "surfaces/shape_keys.h"
#include "surfaces/toml_problem.h"

namespace {

struct BadEntry {
    FileProblem problem;
};

// Reads one [[surface]] table; throws BadEntry naming the surface, the key and the line.
class EntryReader {
public:
    EntryReader(const toml::table& table, const std::string& file) : m_table(table), m_file(file)
    {
        m_line = static_cast<int>(table.source().begin.line);
        m_name = "the surface";
        m_nombre = "la superficie";
        if (const auto id = table["id"].value<std::string>()) {
            size_t unused = 0;   // an id too long to be good is shown in part
            const std::string shown = EscapedExcerpt(*id, 0, 40, unused);
            m_name = "surface '" + shown + "'";
            m_nombre = "superficie «" + shown + "»";
        }
    }

    [[noreturn]] void Fail(const toml::node* at, const std::string& english, const std::string& spanish) const
    {
        const int line = at ? static_cast<int>(at->source().begin.line) : m_line;
        throw BadEntry{{m_file, line, m_name + ": " + english, m_nombre + ": " + spanish}};
    }

    const toml::node* Node(const char* key, bool required) const
    {
        const toml::node* node = m_table.get(key);
        if (!node && required)
            Fail(nullptr, std::string("key '") + key + "' is missing", std::string("falta la clave «") + key + "»");
        return node;
    }

    std::string Text(const char* key) const
    {
        const toml::node* node = Node(key, true);
        if (!node->is_string())
            Fail(node, std::string("key '") + key + "' must be a string", std::string("la clave «") + key + "» debe ser un texto");
        return *node->value<std::string>();
    }

    int Count(const toml::node* node, const char* key) const
    {
        const auto n = node->value_exact<int64_t>();
        if (!n || *n < 1 || *n > 1000000)
            Fail(node, std::string("'") + key + "' must be a whole number of at least 1",
                 std::string("«") + key + "» debe ser un número entero de al menos 1");
        return static_cast<int>(*n);
    }

    std::string Bound(const toml::node& node, const char* key) const
    {
        if (const auto text = node.value_exact<std::string>())
            return *text;
        if (const auto number = node.value<double>(); number && (node.is_integer() || node.is_floating_point()))
            return ShortestNumber(*number);
        Fail(&node, std::string("the ends of '") + key + "' must be numbers or expressions in quotes",
             std::string("los extremos de «") + key + "» deben ser números o expresiones entre comillas");
    }

    ParameterAxis Axis(const char* key) const
    {
        const toml::node* node = Node(key, true);
        const toml::array* array = node->as_array();
        if (!array || array->size() != 3)
            Fail(node, std::string("'") + key + "' must be [START, END, LINES]",
                 std::string("«") + key + "» debe ser [INICIO, FINAL, LÍNEAS]");
        return {Bound(*array->get(0), key), Bound(*array->get(1), key), Count(array->get(2), key)};
    }

    // A parameter's value or one end of its range: a number, or a formula in quotes of numbers,
    // pi, e and the parameters written before it.
    double ParamValue(const toml::node& node, const std::string& name, const std::vector<NamedValue>& earlier) const
    {
        if (node.is_integer() || node.is_floating_point())
            return *node.value<double>();
        const auto text = node.value_exact<std::string>();
        if (!text)
            Fail(&node, "parameter " + Quote(name) + " must be a number, a formula in quotes or [LEAST, GREATEST, VALUE]",
                 "el parámetro " + QuoteSpanish(name) + " debe ser un número, una fórmula entre comillas o [MÍNIMO, MÁXIMO, VALOR]");
        FormulaProblem problem;
        const std::optional<double> value = EvaluateConstant(*text, earlier, problem);
        if (!value)
            Fail(&node, "parameter " + Quote(name) + ": " + problem.english, "parámetro " + QuoteSpanish(name) + ": " + problem.spanish);
        return *value;
    }

    // The parameters in the order written (a TOML table keeps its keys sorted), so that each may
    // use those before it.
    void ReadParams(const toml::node& node, SurfaceDefinition& def) const
    {
        const toml::table* params = node.as_table();
        if (!params)
            Fail(&node, "'params' must be a table of names and numbers", "«params» debe ser una tabla de nombres y números");
        std::vector<std::pair<std::string, const toml::node*>> written;
        for (const auto& [name, value] : *params)
            written.emplace_back(std::string(name.str()), &value);
        std::stable_sort(written.begin(), written.end(), [](const auto& a, const auto& b) {
            const toml::source_position pa = a.second->source().begin, pb = b.second->source().begin;
            return pa.line != pb.line ? pa.line < pb.line : pa.column < pb.column;
        });
        for (const auto& [name, value] : written) {
            const toml::array* range = value->as_array();
            const toml::node& given = range && range->size() == 3 ? *range->get(2) : *value;
            if (const auto text = given.value_exact<std::string>())
                def.derived.push_back({name, *text});
            if (!range) {
                def.params.emplace_back(name, ParamValue(*value, name, def.params));
                continue;
            }
            if (range->size() != 3)
                Fail(value, "the range of " + Quote(name) + " must be [LEAST, GREATEST, VALUE]",
                     "el intervalo de " + QuoteSpanish(name) + " debe ser [MÍNIMO, MÁXIMO, VALOR]");
            const double least = ParamValue(*range->get(0), name, def.params);
            const double greatest = ParamValue(*range->get(1), name, def.params);
            def.params.emplace_back(name, ParamValue(*range->get(2), name, def.params));
            def.ranges.push_back({name, least, greatest});
        }
    }

    SurfaceDefinition Read() const
    {
        SurfaceDefinition def;
        def.id = Text("id");
        def.caption = Text("caption");
        const bool equation = m_table.get("implicit") != nullptr;
        if (!equation) {
            def.xyz = {Text("x"), Text("y"), Text("z")};
            def.u = Axis("u");
            def.v = Axis("v");
        }
        if (const toml::node* node = Node("samples", false))
            def.samples = Count(node, "samples");
        if (ShapeKeyProblem shape; !ReadShapeKeys(m_table, def, shape))
            Fail(shape.node, shape.english, shape.spanish);
        if (const toml::node* node = Node("fit", false)) {
            const auto text = node->value_exact<std::string>();
            if (!node->is_boolean() && !(text && (*text == "uniform" || *text == "box" || *text == "none")))
                Fail(node, "'fit' must be true, false, \"uniform\", \"box\" or \"none\"",
                     "«fit» debe ser true, false, \"uniform\", \"box\" o \"none\"");
            def.fit = node->is_boolean() ? *node->value<bool>() : *text != "none";
            def.fitEachAxis = text && *text == "box";
        }
        if (const toml::node* node = Node("params", false))
            ReadParams(*node, def);
        if (const toml::node* node = Node("let", false)) {
            const toml::table* lets = node->as_table();
            if (!lets)
                Fail(node, "'let' must be a table of names and formulas in quotes", "«let» debe ser una tabla de nombres y fórmulas entre comillas");
            for (const auto& [name, value] : *lets) {
                if (!value.is_string())
                    Fail(&value, "let " + Quote(name.str()) + " must be a formula in quotes",
                         "el let " + QuoteSpanish(name.str()) + " debe ser una fórmula entre comillas");
                def.lets.push_back({std::string(name.str()), *value.value<std::string>()});
            }
        }
        for (const auto& [key, value] : m_table) {
            static constexpr std::string_view kKnown[] = {"id", "caption", "x", "y", "z", "u", "v", "samples", "families",
                                                          "fit", "params", "let", "implicit", "box", "grid", "planes"};
            static constexpr std::string_view kParametric[] = {"x", "y", "z", "u", "v", "samples"};
            const bool parametricOnly = std::find(std::begin(kParametric), std::end(kParametric), key.str()) != std::end(kParametric);
            if (std::find(std::begin(kKnown), std::end(kKnown), key.str()) == std::end(kKnown) || (equation && parametricOnly))
                Fail(&value, "unknown key " + Quote(key.str()), "clave desconocida " + QuoteSpanish(key.str()));
        }
        CheckIdAndCaption(def);
        DefinitionProblem problem;
        if (!CheckDefinition(def, problem))
            Fail(FieldNode(problem.field), std::string(FieldName(problem.field)) + ": " + problem.what.english,
                 std::string(FieldNameSpanish(problem.field)) + ": " + problem.what.spanish);
        return def;
    }

    int Line() const { return m_line; }

private:
    void CheckIdAndCaption(const SurfaceDefinition& def) const
    {
        bool good = !def.id.empty() && def.id.size() <= 40;
        for (char c : def.id)
            good = good && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_');
        if (good && def.id.find_first_not_of("0123456789") == std::string::npos)
            good = false;
        if (!good)
            Fail(m_table.get("id"), "the id must be 1 to 40 letters, digits, '-' or '_', not a number alone",
                 "el id debe tener de 1 a 40 letras, cifras, «-» o «_», y no ser solo un número");
        std::string lower = def.id;
        for (char& c : lower)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower == kTypedSurfaceId)
            Fail(m_table.get("id"), std::string("the id '") + kTypedSurfaceId + "' is kept for the surface typed as formulas; accepted: any other id",
                 std::string("el id «") + kTypedSurfaceId + "» está reservado para la superficie escrita con fórmulas; use otro");
        const bool control = std::any_of(def.caption.begin(), def.caption.end(),
                                         [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
        if (def.caption.empty() || def.caption.size() > 80 || control)
            Fail(m_table.get("caption"), "the caption must be one line of 1 to 80 bytes without control characters",
                 "el título debe ser una línea de 1 a 80 bytes sin caracteres de control");
    }

    const toml::node* FieldNode(DefinitionField field) const
    {
        constexpr const char* kKeys[] = {"x", "y", "z", "u", "u", "u", "v", "v", "v", "samples", "params", "id", "let",
                                         "implicit", "box", "grid", "families", "planes"};
        return m_table.get(kKeys[static_cast<int>(field)]);
    }

    const toml::table& m_table;
    const std::string& m_file;
    int                m_line = 0;
    std::string        m_name, m_nombre;
};

// The characters of an entry's formulas and range ends, as given, before any is checked.
long long FormulaCharacters(const toml::table& table)
{
    long long characters = 0;
    for (const char* key : {"x", "y", "z", "implicit"})
        if (const auto text = table[key].value_exact<std::string>())
            characters += static_cast<long long>(text->size());
    for (const char* key : {"u", "v"})
        if (const toml::array* ends = table[key].as_array())
            for (const toml::node& end : *ends)
                if (const auto text = end.value_exact<std::string>())
                    characters += static_cast<long long>(text->size());
    return characters;
}

}   // namespace

std::string FileProblem::English() const
{
    return line > 0 ? file + ":" + std::to_string(line) + ": " + english : file + ": " + english;
}

std::string FileProblem::Spanish() const
{
    return line > 0 ? file + ", línea " + std::to_string(line) + ": " + spanish : file + ": " + spanish;
}

DefinitionsRead ParseDefinitions(std::string_view text, const std::string& fileName)
{
    DefinitionsRead read;
    toml::table root;
    try {
        root = toml::parse(text, fileName);
    } catch (const toml::parse_error& error) {
        read.problems.push_back({fileName, static_cast<int>(error.source().begin.line),
                                 "not valid TOML: " + EscapeText(error.description()),
                                 TomlProblemInSpanish(error.description(), static_cast<int>(error.source().begin.column))});
        return read;
    }
    const toml::node* surfaces = root.get("surface");
    const toml::array* array = surfaces ? surfaces->as_array() : nullptr;
    if (!array || !array->is_array_of_tables()) {
        read.problems.push_back({fileName, surfaces ? static_cast<int>(surfaces->source().begin.line) : 0,
                                 "no [[surface]] tables found", "no hay tablas [[surface]]"});
        return read;
    }
    long long characters = 0;
    for (const toml::node& node : *array) {
        const int line = static_cast<int>(node.source().begin.line);
        if (read.surfaces.size() + read.problems.size() == static_cast<size_t>(kMaxSurfacesPerFile)) {
            const std::string limit = std::to_string(kMaxSurfacesPerFile);
            read.problems.push_back({fileName, line,
                                     "more than " + limit + " surfaces; accepted: at most " + limit + " a file, the rest left out",
                                     "más de " + limit + " superficies; se aceptan como mucho " + limit + " por archivo, el resto se omite"});
            break;
        }
        characters += FormulaCharacters(*node.as_table());
        if (characters > kMaxFormulaCharactersPerFile) {
            const std::string limit = std::to_string(kMaxFormulaCharactersPerFile);
            read.problems.push_back({fileName, line,
                                     "the formulas pass " + limit + " characters in all; accepted: at most " + limit + " a file, the rest left out",
                                     "las fórmulas pasan de " + limit + " caracteres en total; se aceptan como mucho " + limit + " por archivo, el resto se omite"});
            break;
        }
        try {
            EntryReader reader(*node.as_table(), fileName);
            read.surfaces.push_back(reader.Read());
            read.lines.push_back(reader.Line());
        } catch (const BadEntry& bad) {
            read.problems.push_back(bad.problem);
        }
    }
    return read;
}

std::string SpanishSummary(const std::vector<FileProblem>& problems, size_t shown)
{
    std::string text;
    for (size_t i = 0; i < problems.size() && i < shown; ++i)
        text += problems[i].Spanish() + "\n";
    if (problems.size() > shown)
        text += "y " + std::to_string(problems.size() - shown) + " más\n";
    return text;
}

std::string DefinitionsText(const std::vector<SurfaceDefinition>& surfaces)
{
    toml::array list;
    for (const SurfaceDefinition& def : surfaces) {
        toml::table entry;
        entry.insert("id", def.id);
        entry.insert("caption", def.caption);
        if (def.equation.empty()) {
            entry.insert("x", def.xyz[0]);
            entry.insert("y", def.xyz[1]);
            entry.insert("z", def.xyz[2]);
            entry.insert("u", toml::array{def.u.from, def.u.to, int64_t{def.u.lines}});
            entry.insert("v", toml::array{def.v.from, def.v.to, int64_t{def.v.lines}});
            entry.insert("samples", int64_t{def.samples});
        }
        WriteShapeKeys(def, entry);
        if (def.fit && def.fitEachAxis)
            entry.insert("fit", "box");
        else
            entry.insert("fit", def.fit);
        if (!def.params.empty()) {
            toml::table params;
            for (const NamedValue& param : def.params) {
                const auto range = std::find_if(def.ranges.begin(), def.ranges.end(),
                                                [&](const ParameterRange& r) { return r.name == param.first; });
                if (range == def.ranges.end())
                    params.insert(param.first, param.second);
                else
                    params.insert(param.first, toml::array{range->least, range->greatest, param.second});
            }
            entry.insert("params", std::move(params));
        }
        if (!def.lets.empty()) {
            toml::table lets;
            for (const NamedFormula& let : def.lets)
                lets.insert(let.name, let.text);
            entry.insert("let", std::move(lets));
        }
        list.push_back(std::move(entry));
    }
    toml::table root;
    root.insert("surface", std::move(list));
    std::ostringstream out;
    out << "# Superficies propias de Vexilon\n" << root << "\n";
    return out.str();
}
