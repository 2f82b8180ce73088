// Feeds arbitrary bytes to the settings file reader, then writes and reads the result again: a
// damaged file must load without a crash, and whatever loaded must survive a save.
#include <cstddef>
#include <cstdint>
#include <span>

#include "announcements/settings_store.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zta::station st("/nonexistent/", 0);
  zta::decode_settings_file(std::span(data, size), st);
  const auto bytes = zta::encode_settings_file(st);
  zta::station again("/nonexistent/", 0);
  if (!zta::decode_settings_file(bytes, again)) __builtin_trap();
  if (zta::encode_settings_file(again) != bytes) __builtin_trap();
  return 0;
}
