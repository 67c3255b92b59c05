// The page's C functions built natively for a test: nothing to keep from a linker's pruning.
#pragma once
#define EMSCRIPTEN_KEEPALIVE
