#pragma once
// Why a backend's last call failed: the backend's own text (its name, what it was doing and the
// library's reason), kept for last_error() and written to a log (stderr) once per new reason, so
// a failure that repeats every second does not fill the log.
#include <cstdio>
#include <string>

namespace zta {

class error_note {
 public:
  explicit error_note(std::string backend, std::FILE* log = stderr)
      : backend_(std::move(backend)), log_(log) {}

  // Keeps "BACKEND: what" and logs it unless it repeats the text logged last.
  void fail(const std::string& what);
  // The call succeeded: nothing to tell (the next failure is logged even if it repeats).
  void clear() {
    text_.clear();
    logged_.clear();
  }
  const std::string& text() const { return text_; }

 private:
  std::string backend_;
  std::FILE* log_;
  std::string text_;
  std::string logged_;
};

}  // namespace zta
