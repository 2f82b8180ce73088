#pragma once
// One load by a method other than the stored one: a file handed to the program (the file method
// with its path), or disks named to the tool (the disk method from drive a:). For that one load
// the load options say so; afterwards the stored method, drive and path are put back, so what the
// user chose in the Load dialog is kept. A save while the scope lasts must write those (put_back
// into a copy): the file on disk never holds the one-load method.
#include <string_view>

#include "announcements/settings_block.hpp"
#include "base/byte_codec.hpp"

namespace zta {

class load_method_scope {
 public:
  // The file method with `path`.
  load_method_scope(load_options& options, std::string_view path)
      : load_method_scope(options, load_method::file) {
    set_field_text(options_.file_path, path);
  }
  // `method`, from drive a: for the disk method.
  load_method_scope(load_options& options, load_method method)
      : options_(options),
        method_(options.method),
        drive_(options.drive),
        path_(options.file_path) {
    options_.method = method;
    if (method == load_method::disk) options_.drive = 0;
  }
  ~load_method_scope() { put_back(options_); }
  // The stored method, drive and path into `options`; the rest of it stays as it is.
  void put_back(load_options& options) const {
    options.method = method_;
    options.drive = drive_;
    options.file_path = path_;
  }
  load_method_scope(const load_method_scope&) = delete;
  load_method_scope& operator=(const load_method_scope&) = delete;

 private:
  load_options& options_;
  load_method method_;
  std::uint8_t drive_;
  decltype(load_options::file_path) path_;
};

}  // namespace zta
