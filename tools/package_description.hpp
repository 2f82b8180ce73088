#pragma once
// The JSON description of a package that `zta pack` builds (docs/package-json.md).
#include <optional>
#include <string>
#include <vector>

#include "loading/package_writer.hpp"

namespace zta::tool {

struct package_description {
  package_build build;
  // Per announcement (same order as build.records): the sound file, empty for none.
  std::vector<std::string> sound_paths;
  std::vector<std::optional<int>> precisions;  // 8 or 12 from the JSON, else the command's
};

// Reads and checks SPEC.json; on failure prints one clear line and returns nullopt. Sound paths
// are made relative to the JSON file's folder.
std::optional<package_description> read_package_description(const std::string& path);

// Reads a sound: a WAV file becomes exactly the clip `zta import` makes of it (the same decoding,
// channel, rate conversion and processing); any other extension is a raw clip (16-bit
// little-endian mono at 22050 Hz). Prints a line on failure.
std::optional<std::vector<std::int16_t>> read_sound_file(const std::string& path);

}  // namespace zta::tool
