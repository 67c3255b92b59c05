// Writing output files whole or not at all, without harming what the name already holds.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes what write puts on its stream to path. A new or existing regular file is written under a
// short temporary name in its folder and renamed into place, so a reader never sees half a file
// and a failure, SIGINT, SIGTERM or SIGHUP leaves nothing behind; a replaced file keeps its mode
// and access list, and its owner and group where the process may set them. Symbolic links are followed and stay.
// A file with other hard links, or in a folder the process may not write, is rewritten in place
// once its whole new content is made in a nameless scratch file (memory does not grow with it).
// A device or FIFO is opened and written in place. A file the process may not write is refused.
// On failure returns false and sets error to the reason.
// The reason given when write fails without the system naming one; the system's reasons come in the
// user's language from the C library, this one is for a front end to translate.
constexpr char kNotEncodedReason[] = "the data could not be encoded";

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error);
