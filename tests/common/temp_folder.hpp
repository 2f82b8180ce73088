#pragma once
// A fresh folder under the system's temporary directory, removed with everything in it.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zta::test {

class temp_folder {
 public:
  temp_folder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zta-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
  }
  ~temp_folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& root() const { return path_; }
  // The folder with a trailing '/'.
  std::string path() const { return path_.string() + "/"; }
  std::string file(const std::string& name) const { return path() + name; }

  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(file(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream out(file(name), std::ios::binary);
    out << text;
  }
  std::vector<std::uint8_t> read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      out.push_back(e.path().filename().string());
    return out;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zta::test
