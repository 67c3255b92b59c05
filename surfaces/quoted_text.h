// Echoing a text the user gave inside a message: one line of printable text, whatever it holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// text as one line of printable text: a quote or backslash gets a backslash before it, \n \t \r
// \a \b \v \f stand for those controls, any other control byte, C1 control or byte outside valid
// UTF-8 is \ and three octal digits; a character of text direction, a line or paragraph separator,
// an invisible joiner or U+FFFE/U+FFFF is \u and its four hexadecimal digits (\u202E).
std::string EscapeText(std::string_view text);

// Whether text is all printable characters of valid UTF-8 (no control byte, no malformed sequence,
// nothing that EscapeText shows by its number): what a title may hold, valid in XML.
bool IsPrintableText(std::string_view text);

// EscapeText(text) in single quotes, as English messages show a value the user gave; a text of
// more than 200 characters is shown by its first 120 and its last 60, with "…" between.
std::string Quote(std::string_view text);

// The same in « », as Spanish messages show it.
std::string QuoteSpanish(std::string_view text);

// Where the character at byte `at` of text lands in EscapeText(text), counted in characters (not
// bytes) so that a caret line of spaces points at it.
std::size_t EscapedColumn(std::string_view text, std::size_t at);

// At most about `width` characters of text around byte `at`, escaped, with "…" where text was cut;
// column is set to where `at` lands in the excerpt, in characters.
std::string EscapedExcerpt(std::string_view text, std::size_t at, std::size_t width, std::size_t& column);

// The shortest text that reads back as value, with a point whatever the C locale: what a message,
// a file or a link writes of a number.
std::string ShortestNumber(double value);
