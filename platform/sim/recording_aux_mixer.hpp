#pragma once
// Mixer lines that only remember the volume words they were given (tests, preview, the
// simulated device).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/api/aux_mixer.hpp"

namespace zta {

class recording_aux_mixer : public aux_mixer {
 public:
  explicit recording_aux_mixer(std::vector<std::string> names = {"test: Line", "test: Mic"})
      : names_(std::move(names)), last_(names_.size(), 0) {}

  std::vector<std::string> line_names() const override { return names_; }
  bool set_volume(int index, std::uint32_t word) override {
    if (index < 0 || index >= static_cast<int>(names_.size())) return false;
    last_[static_cast<std::size_t>(index)] = word;
    history.emplace_back(index, word);
    changed();
    return true;
  }
  std::uint32_t last(int index) const { return last_.at(static_cast<std::size_t>(index)); }

  std::vector<std::pair<int, std::uint32_t>> history;  // (line, word) in order

 protected:
  virtual void changed() {}

 private:
  std::vector<std::string> names_;
  std::vector<std::uint32_t> last_;
};

}  // namespace zta
