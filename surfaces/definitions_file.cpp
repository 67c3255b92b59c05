// Reading and writing definitions files with toml++.
#include "surfaces/definitions_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

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
            m_name = "surface '" + *id + "'";
            m_nombre = "superficie «" + *id + "»";
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

    static std::string NumberText(double value)
    {
        char buffer[32];
#if defined(__cpp_lib_to_chars)
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        return std::string(buffer, end);
#else
        // A library without the shortest form (the page's): the fewest digits that read back the same.
        for (int digits = 1;; ++digits) {
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
            if (digits >= 17 || std::strtod(buffer, nullptr) == value)
                return buffer;
        }
#endif
    }

    std::string Bound(const toml::node& node, const char* key) const
    {
        if (const auto text = node.value_exact<std::string>())
            return *text;
        if (const auto number = node.value<double>(); number && (node.is_integer() || node.is_floating_point()))
            return NumberText(*number);
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
            Fail(&node, "parameter '" + name + "' must be a number, a formula in quotes or [LEAST, GREATEST, VALUE]",
                 "el parámetro «" + name + "» debe ser un número, una fórmula entre comillas o [MÍNIMO, MÁXIMO, VALOR]");
        FormulaProblem problem;
        const std::optional<double> value = EvaluateConstant(*text, earlier, problem);
        if (!value)
            Fail(&node, "parameter '" + name + "': " + problem.english, "parámetro «" + name + "»: " + problem.spanish);
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
            if (!range) {
                def.params.emplace_back(name, ParamValue(*value, name, def.params));
                continue;
            }
            if (range->size() != 3)
                Fail(value, "the range of '" + name + "' must be [LEAST, GREATEST, VALUE]",
                     "el intervalo de «" + name + "» debe ser [MÍNIMO, MÁXIMO, VALOR]");
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
        def.xyz = {Text("x"), Text("y"), Text("z")};
        def.u = Axis("u");
        def.v = Axis("v");
        if (const toml::node* node = Node("samples", false))
            def.samples = Count(node, "samples");
        if (const toml::node* node = Node("families", false)) {
            const auto text = node->value_exact<std::string>();
            if (!text || (*text != "u" && *text != "v" && *text != "uv"))
                Fail(node, "'families' must be \"u\", \"v\" or \"uv\"", "«families» debe ser \"u\", \"v\" o \"uv\"");
            def.families = *text == "u" ? Families::U : *text == "v" ? Families::V : Families::UV;
        }
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
                    Fail(&value, "let '" + std::string(name.str()) + "' must be a formula in quotes",
                         "el let «" + std::string(name.str()) + "» debe ser una fórmula entre comillas");
                def.lets.push_back({std::string(name.str()), *value.value<std::string>()});
            }
        }
        for (const auto& [key, value] : m_table) {
            static constexpr std::string_view kKnown[] = {"id", "caption", "x", "y", "z", "u", "v",
                                                          "samples", "families", "fit", "params", "let"};
            if (std::find(std::begin(kKnown), std::end(kKnown), key.str()) == std::end(kKnown))
                Fail(&value, "unknown key '" + std::string(key.str()) + "'", "clave desconocida «" + std::string(key.str()) + "»");
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
        if (def.caption.empty() || def.caption.size() > 80 || def.caption.find_first_of("\n\r\t") != std::string::npos)
            Fail(m_table.get("caption"), "the caption must be one line of 1 to 80 bytes",
                 "el título debe ser una línea de 1 a 80 bytes");
    }

    const toml::node* FieldNode(DefinitionField field) const
    {
        constexpr const char* kKeys[] = {"x", "y", "z", "u", "u", "u", "v", "v", "v", "samples", "params", "id", "let"};
        return m_table.get(kKeys[static_cast<int>(field)]);
    }

    const toml::table& m_table;
    const std::string& m_file;
    int                m_line = 0;
    std::string        m_name, m_nombre;
};

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
                                 "not valid TOML: " + std::string(error.description()),
                                 "no es TOML válido: " + std::string(error.description())});
        return read;
    }
    const toml::node* surfaces = root.get("surface");
    const toml::array* array = surfaces ? surfaces->as_array() : nullptr;
    if (!array || !array->is_array_of_tables()) {
        read.problems.push_back({fileName, surfaces ? static_cast<int>(surfaces->source().begin.line) : 0,
                                 "no [[surface]] tables found", "no hay tablas [[surface]]"});
        return read;
    }
    for (const toml::node& node : *array) {
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

DefinitionsRead ReadDefinitionsFile(const std::string& path)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || in.bad()) {
        const int reason = errno;   // what the system said, for the user to act on
        DefinitionsRead read;
        read.problems.push_back({path, 0, reason ? std::string("cannot be read: ") + std::strerror(reason) : "cannot be read",
                                 "no se puede leer"});
        return read;
    }
    return ParseDefinitions(text.str(), path);
}

std::string DefinitionsText(const std::vector<SurfaceDefinition>& surfaces)
{
    toml::array list;
    for (const SurfaceDefinition& def : surfaces) {
        toml::table entry;
        entry.insert("id", def.id);
        entry.insert("caption", def.caption);
        entry.insert("x", def.xyz[0]);
        entry.insert("y", def.xyz[1]);
        entry.insert("z", def.xyz[2]);
        entry.insert("u", toml::array{def.u.from, def.u.to, int64_t{def.u.lines}});
        entry.insert("v", toml::array{def.v.from, def.v.to, int64_t{def.v.lines}});
        entry.insert("samples", int64_t{def.samples});
        entry.insert("families", def.families == Families::U ? "u" : def.families == Families::V ? "v" : "uv");
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
