// The parameters and lets of a user's surface as typed in one line each, as a dialog's fields
// hold them: "a=2, b=pi/a" and "r=sqrt(1-b^2); s=r*cos(u)".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "surfaces/typed_surface.h"

// Parameters NAME=VALUE or NAME=[LEAST, GREATEST, VALUE] parted by commas outside parentheses and
// brackets; each value or end a formula of numbers, pi, e and the parameters before it. Into
// definition's params, its ranges, and the formulas of those written from earlier ones (derived),
// which then follow them. False with the problem at the parameters' field.
bool ReadParametersText(std::string_view text, SurfaceDefinition& definition, DefinitionProblem& problem);

// Lets NAME=FORMULA parted by semicolons (a comma belongs to the formulas' functions); a part
// without '=' is a let without a name, which the definition's check refuses at the lets' field.
std::vector<NamedFormula> ReadLetsText(std::string_view text);

// text without the blanks around it.
std::string_view Trimmed(std::string_view text);

// The non-blank parts of text between separator characters (outside parentheses and brackets when
// topLevelOnly).
std::vector<std::string_view> Parts(std::string_view text, char separator, bool topLevelOnly);
