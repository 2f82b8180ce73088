#pragma once
// Stored text is bytes. Text shown to a person is UTF-8 where the bytes are valid UTF-8, and
// otherwise read as Windows-1252 (how older packages were written).
#include <string>
#include <string_view>

namespace zta {

bool is_valid_utf8(std::string_view bytes);
std::string display_text(std::string_view bytes);
// Cuts UTF-8 text to at most max_bytes without splitting a character.
std::string cut_at_character(std::string_view utf8, std::size_t max_bytes);
// Whether two stored names are the same text ignoring letter case: ASCII and the letters of
// Windows-1252 (so "Caf\xE9" matches "CAF\xC9"), each side read as display_text reads it.
bool equal_ignoring_case(std::string_view a, std::string_view b);

}  // namespace zta
