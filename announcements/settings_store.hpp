#pragma once
// The settings file "vrxpa.dat": settings block, load options, owner block, the announcements and
// the notice, little-endian, no header.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "announcements/station.hpp"

namespace zta {

inline constexpr char settings_file_name[] = "vrxpa.dat";

std::vector<std::uint8_t> encode_settings_file(const station& st);
// Reads as much as the bytes hold; a truncated or damaged file loads what was read up to the end
// of its data. Returns false when the data ended early.
bool decode_settings_file(std::span<const std::uint8_t> bytes, station& st);

// Reads "vrxpa.dat" from the data folder (silently keeps the defaults when it cannot), then
// runs the clip clean-up.
void load_settings(station& st);
// Runs the clip clean-up, then replaces "vrxpa.dat" safely. Silent on failure; returns whether
// the file was written.
bool save_settings(station& st);

}  // namespace zta
