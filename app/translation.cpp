// gettext for vexilon-render, in a domain of its own so that a library's catalogue never answers.
#include "app/translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr char kDomain[] = "vexilon-render";

std::filesystem::path LocaleDirectory()
{
    if (const char* dir = std::getenv("VEXILON_LOCALEDIR"); dir && *dir)
        return dir;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const std::filesystem::path installed = self.parent_path().parent_path() / "share" / "locale";
    if (std::filesystem::exists(installed / "es" / "LC_MESSAGES" / "vexilon-render.mo", error))
        return installed;
    return self.parent_path() / "locale";
}

}   // namespace

void StartTranslation()
{
    std::setlocale(LC_MESSAGES, "");
    bindtextdomain(kDomain, LocaleDirectory().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");   // the terminal's charset is not ours to guess
}

const char* Tr(const char* msgid)
{
    return dgettext(kDomain, msgid);
}

std::string TrFormat(const char* msgid, std::initializer_list<std::string_view> args)
{
    const std::string_view text = Tr(msgid);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        // %N with N of one or two digits, from 1 to the number of arguments; anything else is kept.
        size_t n = 0, end = i + 1;
        while (end < text.size() && end < i + 3 && text[end] >= '0' && text[end] <= '9')
            n = n * 10 + static_cast<size_t>(text[end++] - '0');
        if (text[i] == '%' && n >= 1 && n <= args.size()) {
            out += *(args.begin() + (n - 1));
            i = end - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool SpanishMessages()
{
    // The catalogue's header is the translation of the empty msgid; none when none was found.
    const std::string header = dgettext(kDomain, "");
    return header.find("Language: es") != std::string::npos;
}
