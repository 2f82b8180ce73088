#pragma once
// The customer number and owner text of the owner block, and writing only that block into the
// settings file (the customer number names the package on the distributor's server; the text
// identifies the installation and is otherwise carried unchanged).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "announcements/settings_block.hpp"

namespace zta {

// The text is the 103 bytes after the customer number, up to its first NUL.
inline constexpr std::size_t owner_text_limit = owner_block_size - 5;  // bytes, then a NUL

std::string owner_text(const owner_block& o);
// Replaces the text: at most 102 bytes of `utf8` (cut at a character boundary), NUL-padded.
void set_owner_text(owner_block& o, std::string_view utf8);

// A customer number as typed: decimal digits only (white space around them allowed), 0 to
// 2147483647; anything else is none.
std::optional<std::int32_t> parse_customer_number(std::string_view text);
inline constexpr char customer_number_error_text[] =
    "The customer number must be a whole number from 0 to 2147483647.";

// Offset of the owner block in "vrxpa.dat".
inline constexpr std::size_t owner_block_offset = settings_block_size + load_options_size;

enum class owner_write_result { written, damaged_file, failed };

// Reads the owner block of the settings file in `data_folder` (trailing '/'); the default (all
// zero) when there is no file. False when a file is there but cannot be read or is too short to
// hold the block.
bool read_owner_block(const std::string& data_folder, owner_block& out);
// Replaces only the owner block's bytes of the settings file, safely (a temporary file renamed
// over it); every other byte stays as it was. Without a settings file, writes one with the
// defaults of a first start at `now` and this owner block. A file too short to hold the block is
// left alone (damaged_file).
owner_write_result write_owner_block(const std::string& data_folder, const owner_block& o,
                                     std::int32_t now);

}  // namespace zta
