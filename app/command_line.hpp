#pragma once
// The program's own options (--help, --version, --screenshot FILE), taken out of the command
// line before the run mode sees the rest: the switches ("/open", "/install", "/logon",
// "/service") and file names pass through unchanged. Arguments that together name an existing
// file are that file, whatever they look like.
#include <cstdio>
#include <string>
#include <vector>

namespace zta {

struct command_line {
  std::vector<std::string> args;  // what the run mode examines
  std::string screenshot;         // --screenshot FILE: a picture of the window, then end
  bool help = false;
  bool version = false;
  std::string error;  // a usage error (unknown option, missing value), empty when none
};

command_line parse_command_line(int argc, const char* const* argv);

// Exit status of a usage error.
inline constexpr int usage_error_status = 2;
// Exit status when the instance name stays taken by a copy that does not answer.
inline constexpr int name_taken_status = 4;

void print_program_help(std::FILE* to);
void print_program_version(std::FILE* to);
// The error and a pointer to --help, for stderr.
void print_usage_error(const command_line& cl, std::FILE* to);

}  // namespace zta
