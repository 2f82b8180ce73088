#pragma once
// The number a typed text starts with, read the way the dialogs read their edit fields: leading
// white space, an optional sign, then decimal digits; no digits give 0. Far too many digits stop
// at the 32-bit range instead of overflowing.
#include <cstdint>
#include <string_view>

namespace zta {

std::int32_t leading_integer(std::string_view text);

}  // namespace zta
