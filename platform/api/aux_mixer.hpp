#pragma once
// Auxiliary lines of the sound card's mixer (background music, page microphone), addressed by
// index into line_names(). Called on the main thread only; set_volume acts at once.
#include <cstdint>
#include <string>
#include <vector>

namespace zta {

class aux_mixer {
 public:
  virtual ~aux_mixer() = default;

  // Names for the Settings dialog ("card: element"), in line-index order.
  virtual std::vector<std::string> line_names() const = 0;
  // Sets line `index` to the volume word of a level (low 16 bits left, high 16 bits right,
  // 0xFFFF = the line's maximum). False for an index that is not a line or when the line cannot
  // be set; nothing is reported to the user.
  virtual bool set_volume(int index, std::uint32_t word) = 0;
  // Why the last set_volume() failed, as the backend says it; empty after a success or when the
  // backend cannot say. A backend also writes each new reason to stderr.
  virtual std::string last_error() const { return {}; }
};

}  // namespace zta
