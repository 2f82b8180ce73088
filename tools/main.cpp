// zta: the command-line tool of the announcement player (list, settings, resave, ...).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/commands.hpp"

namespace {

struct command_entry {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
  const char* usage;
};

const command_entry commands[] = {
    {"list", zta::tool::cmd_list, "list --data DIR [--json]"},
    {"settings", zta::tool::cmd_settings, "settings --data DIR [--json]"},
    {"resave", zta::tool::cmd_resave, "resave --data DIR"},
    {"chime", zta::tool::cmd_chime, "chime N --out FILE   (N-note chime clip, N = 1..3)"},
    {"import", zta::tool::cmd_import, "import --data DIR FILE.wav..."},
    {"pack", zta::tool::cmd_pack,
     "pack SPEC.json --out FILE.vrx [--precision 8|12] [--disk-size N]"},
    {"unpack", zta::tool::cmd_unpack, "unpack --data DIR FILE | --data DIR --disk MOUNTDIR..."},
    {"inspect", zta::tool::cmd_inspect, "inspect FILE"},
    {"preview", zta::tool::cmd_preview,
     "preview --data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to \"YYYY-MM-DD HH:MM:SS\""},
    {"report", zta::tool::cmd_report,
     "report --data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to \"YYYY-MM-DD HH:MM:SS\" [--json] "
     "[--slack SECONDS]"},
    {"owner", zta::tool::cmd_owner, "owner --data DIR --customer N [--text T]"},
    {"mksetup", zta::tool::cmd_mksetup,
     "mksetup --program FILE --manual FILE --chimes DIR --test FILE --out SETUP"},
};

int usage() {
  std::fprintf(stderr, "usage: zta COMMAND [ARGS]\ncommands:\n");
  for (const auto& c : commands) std::fprintf(stderr, "  zta %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& c : commands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
  }
  std::fprintf(stderr, "zta: unknown command '%s'\n", argv[1]);
  return usage();
}
