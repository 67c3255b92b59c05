// The command line's words in the user's language, through gettext: English when no catalogue
// of the language is installed, Spanish with LANGUAGE or LC_MESSAGES in Spanish.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Binds the program's catalogue (from $VEXILON_LOCALEDIR, the installed share/locale, or the
// build tree's locale/ beside the program) and takes LC_MESSAGES from the environment. Only the
// messages' category: numbers are read and written with a '.' whatever the locale.
void StartTranslation();

// msgid in the user's language; itself when there is no translation.
const char* Tr(const char* msgid) __attribute__((format_arg(1)));

// msgid translated, with %1, %2, ... replaced by the arguments in order.
std::string TrFormat(const char* msgid, std::initializer_list<std::string_view> args);

// Whether the messages are Spanish, so that problems that carry both languages say the Spanish one.
bool SpanishMessages();
