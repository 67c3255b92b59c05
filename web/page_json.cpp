#include "web/page_json.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "render/utf8.h"

namespace json_detail {

void AppendString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendNumber(std::string& out, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    out += std::isfinite(value) ? text : "null";
}

void AppendFixed(std::string& out, double value)
{
    out += std::isfinite(value) ? std::to_string(value) : "null";
}

}   // namespace json_detail

namespace {

// Reads one flat object; every step checks what is left, so that no input reads past its end.
class FlatReader {
public:
    explicit FlatReader(std::string_view text) : text_(text) {}

    bool Fail(const std::string& why)
    {
        if (error_.empty())
            error_ = why + " (en el carácter " + std::to_string(at_ + 1) + ")";
        return false;
    }
    const std::string& Error() const { return error_; }

    void SkipSpace()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
    bool Take(char c)
    {
        if (AtEnd() || text_[at_] != c)
            return false;
        ++at_;
        return true;
    }

    bool Literal(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return Fail("se esperaba un valor");
        at_ += word.size();
        return true;
    }

    bool String(std::string& out)
    {
        if (!Take('"'))
            return Fail("se esperaba un texto entre comillas");
        for (;;) {
            if (AtEnd())
                return Fail("falta la comilla que cierra un texto");
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("un carácter de control sin escapar en un texto");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd())
                return Fail("un escape sin terminar");
            const char e = text_[at_++];
            switch (e) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u':
                if (!Unicode(out))
                    return false;
                break;
            default: return Fail("un escape que JSON no tiene");
            }
        }
    }

    bool Number(std::string& out)
    {
        const std::size_t start = at_;
        Take('-');
        if (!Take('0')) {
            if (!Digits())
                return Fail("se esperaba un número");
        }
        if (Take('.') && !Digits())
            return Fail("faltan las cifras tras el punto");
        if (Take('e') || Take('E')) {
            if (!Take('+'))
                Take('-');
            if (!Digits())
                return Fail("faltan las cifras del exponente");
        }
        out.assign(text_.substr(start, at_ - start));
        return true;
    }

private:
    bool Digits()
    {
        const std::size_t start = at_;
        while (Peek() >= '0' && Peek() <= '9')
            ++at_;
        return at_ > start;
    }

    bool Hex4(unsigned& value)
    {
        if (text_.size() - at_ < 4)
            return Fail("un escape \\u sin sus cuatro cifras");
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            const int digit = h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
            if (digit < 0)
                return Fail("un escape \\u con una cifra que no es hexadecimal");
            value = value * 16 + static_cast<unsigned>(digit);
        }
        return true;
    }

    // A \u escape, a pair of them for a character beyond the first 65536, written as UTF-8.
    bool Unicode(std::string& out)
    {
        unsigned code = 0;
        if (!Hex4(code))
            return false;
        if (code >= 0xdc00 && code <= 0xdfff)
            return Fail("una mitad baja de un par sustituto sin la alta");
        if (code >= 0xd800 && code <= 0xdbff) {
            unsigned low = 0;
            if (!Take('\\') || !Take('u') || !Hex4(low) || low < 0xdc00 || low > 0xdfff)
                return Fail("una mitad alta de un par sustituto sin la baja");
            code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
        }
        AppendUtf8(out, code);
        return true;
    }

    std::string_view text_;
    std::size_t      at_ = 0;
    std::string      error_;
};

}   // namespace

std::optional<JsonFields> JsonFields::Read(std::string_view text, std::string& error)
{
    if (text.size() > kMaxBytes) {
        error = "el objeto JSON pasa de " + std::to_string(kMaxBytes) + " bytes";
        return std::nullopt;
    }
    FlatReader in(text);
    JsonFields read;
    const auto refuse = [&](const std::string& why) {
        in.Fail(why);
        error = in.Error();
        return std::nullopt;
    };
    in.SkipSpace();
    if (!in.Take('{'))
        return refuse("se esperaba un objeto JSON, que empieza por {");
    in.SkipSpace();
    bool more = !in.Take('}');
    while (more) {
        in.SkipSpace();
        std::string name;
        if (!in.String(name))
            return refuse("");
        if (read.Has(name))
            return refuse("el campo «" + name + "» está dos veces");
        if (read.fields_.size() == kMaxFields)
            return refuse("más de " + std::to_string(kMaxFields) + " campos");
        in.SkipSpace();
        if (!in.Take(':'))
            return refuse("se esperaban dos puntos tras el nombre de un campo");
        in.SkipSpace();
        Field field{Kind::Null, {}};
        const char c = in.Peek();
        bool parsed = true;
        if (c == '"') {
            field.kind = Kind::String;
            parsed = in.String(field.text);
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            field.kind = Kind::Number;
            parsed = in.Number(field.text);
        } else if (c == 't') {
            field.kind = Kind::True;
            parsed = in.Literal("true");
        } else if (c == 'f') {
            field.kind = Kind::False;
            parsed = in.Literal("false");
        } else if (c == 'n') {
            parsed = in.Literal("null");
        } else {
            return refuse(c == '{' || c == '[' ? "un campo anidado, que este objeto plano no admite" : "se esperaba un valor");
        }
        if (!parsed)
            return refuse("");
        read.fields_.emplace(std::move(name), std::move(field));
        in.SkipSpace();
        if (in.Take('}'))
            more = false;
        else if (!in.Take(','))
            return refuse("se esperaba una coma o } tras un campo");
    }
    in.SkipSpace();
    if (!in.AtEnd())
        return refuse("hay texto tras el objeto");
    return read;
}

std::string JsonFields::Text(std::string_view name) const
{
    const auto found = fields_.find(name);
    return found != fields_.end() && found->second.kind == Kind::String ? found->second.text : std::string();
}

std::optional<long long> JsonFields::Whole(std::string_view name) const
{
    const auto found = fields_.find(name);
    if (found == fields_.end() || found->second.kind != Kind::Number ||
        found->second.text.find_first_of(".eE") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(found->second.text.c_str(), nullptr, 10);
    return errno == ERANGE ? std::nullopt : std::optional(value);
}

bool JsonFields::Flag(std::string_view name) const
{
    const auto found = fields_.find(name);
    return found != fields_.end() && found->second.kind == Kind::True;
}
