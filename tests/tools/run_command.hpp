#pragma once
// Runs a shell command and collects what it writes to standard output (and, split, to standard
// error).
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
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

struct split_result {
  int status = -1;  // the exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `err_file` holds standard error while it runs (a path in the test's own folder).
inline split_result run_command_split(const std::string& command, const std::string& err_file) {
  const command_result r = run_command(command + " 2>'" + err_file + "'");
  split_result s;
  s.status = WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1;
  s.out = r.out;
  std::ifstream in(err_file, std::ios::binary);
  s.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return s;
}

}  // namespace zta::test
