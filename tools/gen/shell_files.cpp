// zta_shell_files OUTDIR: writes the desktop entry and the MIME type of a system-wide
// installation (the Debian package installs them), from the same texts the installer writes.
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_io.hpp"
#include "platform/xdg/xdg_desktop_shell.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zta_shell_files OUTDIR\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  // The program is on PATH in a system-wide installation; it opens a file handed to it.
  const std::string entry = zta::player_entry_text(zta::desktop_exec_value("vrxpar", "%f"), true);
  const std::string mime = zta::mime_package_text();
  const std::string name = zta::program_icon_name;
  for (const auto& [file, text] :
       {std::pair{name + ".desktop", entry}, std::pair{name + ".xml", mime}}) {
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!zta::replace_file_atomically(out + file, bytes)) {
      std::fprintf(stderr, "zta_shell_files: cannot write %s%s\n", out.c_str(), file.c_str());
      return 1;
    }
  }
  return 0;
}
