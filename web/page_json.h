// The page's bridge, one JSON for both ways: what the page's C functions answer is written with
// named fields here, and the objects the page sends are read here by name.
#pragma once

#include <concepts>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// A number written as std::to_string writes a double, six decimals: where the page has always
// received it so (the axes' letters' places).
struct JsonFixed {
    double value;
};

namespace json_detail {
// text as a JSON string, quotes included: UTF-8 passes through, control characters escaped.
void AppendString(std::string& out, std::string_view text);
// Shortest "%.17g", which gives the double back exactly; null for what JSON cannot hold (NaN, ∞).
void AppendNumber(std::string& out, double value);
void AppendFixed(std::string& out, double value);
}   // namespace json_detail

class JsonObject;
class JsonArray;

// What the writers take: a string, a whole number, a double, true/false, or a finished object or array.
template <class T>
concept JsonWritable = std::same_as<T, bool> || std::integral<T> || std::floating_point<T> ||
                       std::same_as<T, JsonFixed> || std::same_as<T, JsonObject> || std::same_as<T, JsonArray> ||
                       std::convertible_to<const T&, std::string_view>;

// A JSON object written as it is built, its fields in the order they are added.
class JsonObject {
public:
    template <JsonWritable T>
    JsonObject& Add(std::string_view name, const T& value);
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

// A JSON array written as it is built.
class JsonArray {
public:
    template <JsonWritable T>
    JsonArray& Add(const T& value);
    std::string Text() const { return "[" + body_ + "]"; }

private:
    std::string body_;
};

namespace json_detail {
template <class T>
void AppendValue(std::string& out, const T& value)
{
    if constexpr (std::same_as<T, bool>)
        out += value ? "true" : "false";
    else if constexpr (std::integral<T>)
        out += std::to_string(value);
    else if constexpr (std::floating_point<T>)
        AppendNumber(out, static_cast<double>(value));
    else if constexpr (std::same_as<T, JsonFixed>)
        AppendFixed(out, value.value);
    else if constexpr (std::same_as<T, JsonObject> || std::same_as<T, JsonArray>)
        out += value.Text();
    else
        AppendString(out, std::string_view(value));
}
}   // namespace json_detail

template <JsonWritable T>
JsonObject& JsonObject::Add(std::string_view name, const T& value)
{
    if (!body_.empty())
        body_ += ',';
    json_detail::AppendString(body_, name);
    body_ += ':';
    json_detail::AppendValue(body_, value);
    return *this;
}

template <JsonWritable T>
JsonArray& JsonArray::Add(const T& value)
{
    if (!body_.empty())
        body_ += ',';
    json_detail::AppendValue(body_, value);
    return *this;
}

// A flat JSON object the page sent, read by name: each field a string, a number, true, false or
// null. Anything else (nesting, a name twice, text after the object, a bad escape, a lone
// surrogate, more than the bounds) is refused whole, with the reason in Spanish.
class JsonFields {
public:
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 22;   // far beyond a definition or a save state
    static constexpr std::size_t kMaxFields = 64;

    static std::optional<JsonFields> Read(std::string_view text, std::string& error);

    bool Has(std::string_view name) const { return fields_.find(name) != fields_.end(); }
    // A string's text; "" when the field is missing or not a string.
    std::string Text(std::string_view name) const;
    // A whole number's value; nothing when missing, not a number, fractional or beyond long long.
    std::optional<long long> Whole(std::string_view name) const;
    // true only for a field that is true.
    bool Flag(std::string_view name) const;

private:
    enum class Kind { String, Number, True, False, Null };
    struct Field {
        Kind        kind;
        std::string text;   // a string's decoded text, a number's as written
    };
    std::map<std::string, Field, std::less<>> fields_;
};
