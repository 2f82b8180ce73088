#pragma once
// Runs the desktop's command-line tools (update-mime-database, xdg-mime, gio, gsettings,
// systemctl, ...) without a shell and waits for them. Their output goes nowhere unless asked for;
// standard input is closed.
#include <string>
#include <utility>
#include <vector>

namespace zta {

using tool_environment = std::vector<std::pair<std::string, std::string>>;

// Runs args[0] (looked up on PATH) with `env` set on top of this process's environment. True when
// it ran and exited with status 0. With `out`, its standard output (at most 64 KiB) is returned.
bool run_tool(const std::vector<std::string>& args, const tool_environment& env = {},
              std::string* out = nullptr);

}  // namespace zta
