#pragma once
// Runs a shell command and collects what it writes to standard output.
#include <array>
#include <cstdio>
#include <string>

namespace zta::test {

struct command_result {
  int status = -1;
  std::string out;
};

inline command_result run_command(const std::string& command) {
  command_result r;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return r;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  r.status = ::pclose(p);
  return r;
}

}  // namespace zta::test
