// Writing output files whole or not at all.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes through a temporary file beside path and renames it into place, so that a reader never
// sees a half-written file and a failure leaves nothing behind. On failure returns false and sets
// error to a sentence naming the reason.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error);
