#pragma once
// The zta commands with their help texts: the dispatcher, `zta help` and the man page (made from
// `zta --help` by help2man) all read this one table.
#include <cstdio>
#include <span>
#include <string_view>

#include "tools/commands.hpp"

namespace zta::tool {

struct command_entry {
  const char* name;
  int (*run)(const arg_list& args);
  const char* synopsis;  // the arguments after "zta NAME"
  const char* summary;   // one line for the command list
  const char* details;   // what the command does, its options and exit statuses
};

std::span<const command_entry> command_table();
// The entry named `name`, or nullptr.
const command_entry* find_command(std::string_view name);

// `zta --help`: every command, the options and the exit statuses.
void print_tool_help(std::FILE* to);
// `zta help NAME`, `zta NAME --help`.
void print_command_help(const command_entry& c, std::FILE* to);
void print_tool_version(std::FILE* to);

}  // namespace zta::tool
