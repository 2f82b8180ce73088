#pragma once
// A file handed to the program is loaded by the file method: for that one load the load options
// say "file" with the given path, and afterwards the stored method and path are put back.
#include <string_view>

#include "announcements/settings_block.hpp"
#include "base/byte_codec.hpp"

namespace zta {

class file_method_scope {
 public:
  file_method_scope(load_options& options, std::string_view path)
      : options_(options), method_(options.method), path_(options.file_path) {
    options_.method = 1;
    set_field_text(options_.file_path, path);
  }
  ~file_method_scope() {
    options_.method = method_;
    options_.file_path = path_;
  }
  file_method_scope(const file_method_scope&) = delete;
  file_method_scope& operator=(const file_method_scope&) = delete;

 private:
  load_options& options_;
  std::uint8_t method_;
  decltype(load_options::file_path) path_;
};

}  // namespace zta
