// The scene's text beneath its keys: values percent-encoded as a fragment keeps them, numbers
// written so that they read back exactly (colours: render/hex_text.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geometry/vec3.h"

// Letters, digits and "-._~!$'()*,;:@/?" as they are; any other byte, '&', '=', '+', '%' and '#'
// among them, as %XX.
std::string PercentEncoded(std::string_view text);
// Nothing when a '%' is not followed by two hexadecimal digits.
std::optional<std::string> PercentDecoded(std::string_view text);

// The whole text one finite number, up to 40 characters, starting with a digit, '-' or '.'.
std::optional<double> ReadSceneNumber(std::string_view text);
std::string TripleText(Vec3 v);   // "x,y,z", each shortest
