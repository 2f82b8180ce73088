// zta: the command-line tool of the announcement player (list, settings, resave, remote, ...).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/command_table.hpp"

namespace {

using zta::tool::find_command;

int usage_error() {
  std::fprintf(stderr, "Usage: zta COMMAND [ARGS]...\nTry 'zta --help' for more information.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage_error();
  const std::string_view first = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (first == "--help" || first == "-h") {
    zta::tool::print_tool_help(stdout);
    return 0;
  }
  if (first == "--version") {
    zta::tool::print_tool_version(stdout);
    return 0;
  }
  if (first == "help") {
    if (args.empty()) {
      zta::tool::print_tool_help(stdout);
      return 0;
    }
    const auto* c = find_command(args.front());
    if (c == nullptr) {
      std::fprintf(stderr, "zta: help: unknown command '%s'\n", args.front().c_str());
      return usage_error();
    }
    if (args.size() > 1) {
      std::fprintf(stderr, "zta: help takes one command name\n");
      return usage_error();
    }
    zta::tool::print_command_help(*c, stdout);
    return 0;
  }
  const auto* c = find_command(first);
  if (c == nullptr) {
    std::fprintf(stderr, "zta: unknown command '%s'\n", argv[1]);
    return usage_error();
  }
  for (const auto& a : args) {
    if (a == "--help") {
      zta::tool::print_command_help(*c, stdout);
      return 0;
    }
  }
  return c->run(args);
}
