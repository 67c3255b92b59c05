// The messages of a formula that does not compile, for the formula language's own use.
#pragma once

#include <muParser.h>

#include <string_view>

#include "surfaces/expression.h"

// muparser's own words turned into a short message in both languages, positions counted from 1.
FormulaProblem ProblemOf(const mu::Parser::exception_type& error, std::string_view text, const mu::Parser& parser);

// A comma outside every call: a decimal comma between digits (3,5) gets the decimal point shown.
FormulaProblem MultipleValues(std::string_view text);
