#include "base/error_note.hpp"

#include <errno.h>

namespace zta {

void error_note::fail(const std::string& what) {
  text_ = backend_ + ": " + what;
  if (log_ != nullptr && text_ != logged_) {
    // glibc's name of the running program: the log line says which program met the failure.
    std::fprintf(log_, "%s: %s\n", program_invocation_short_name, text_.c_str());
    std::fflush(log_);
  }
  logged_ = text_;
}

}  // namespace zta
