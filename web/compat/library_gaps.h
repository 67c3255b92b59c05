// What the page's C++ library (emscripten 3.1.6's libc++) lacks of C++20 and the core uses:
// included before every source of the page's build only.
#pragma once

#include <bit>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
