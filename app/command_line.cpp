#include "app/command_line.hpp"

#include "app/run_mode.hpp"

#ifndef ZTA_VERSION
#define ZTA_VERSION "unknown"
#endif

namespace zta {

command_line parse_command_line(int argc, const char* const* argv) {
  command_line cl;
  std::vector<std::string> all;
  for (int i = 1; i < argc; ++i) all.emplace_back(argv[i]);
  if (names_existing_file(join_arguments(all))) {
    cl.args = std::move(all);
    return cl;
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    if (a == "--screenshot") {
      if (i + 1 >= all.size()) {
        cl.error = "option '--screenshot' needs a file name";
        return cl;
      }
      cl.screenshot = all[++i];
    } else if (a == "--help") {
      cl.help = true;
    } else if (a == "--version") {
      cl.version = true;
    } else if (a.size() > 1 && a.compare(0, 2, "--") == 0 && !names_existing_file(a)) {
      cl.error = "unknown option '" + a + "'";
      return cl;
    } else {
      cl.args.push_back(a);
    }
  }
  return cl;
}

void print_program_help(std::FILE* to) {
  std::fprintf(
      to,
      "Usage: vrxpar [FILE | /open | /install | /logon | /service]\n"
      "  or:  vrxpar --help | --version\n"
      "Plays a shop's recorded announcements by themselves (at fixed times, every N minutes or\n"
      "in sequence) and on demand, with chimes, music ducking and a day-part volume table.\n"
      "One copy runs per user: a later start hands its command line to the running copy and\n"
      "ends.\n\n"
      "Only the first argument is examined:\n"
      "  (none)      start hidden in the notification area, with the start-up logo\n"
      "  /logon      the same (the log-on start)\n"
      "  /open       start with the window shown, or show the running copy's window\n"
      "  /install    start with the window shown and load the delivered test.ann\n"
      "  /service    the headless player: no window or tray icon (the systemd user unit)\n"
      "  FILE        start with the window shown and load this package (.vrx, .ann) or WAV\n"
      "              file; all arguments joined with spaces name it\n\n"
      "Options:\n"
      "  --screenshot PNG  save a picture of the window after the start and end (no second\n"
      "                    copy is looked for)\n"
      "  --help            display this help and exit\n"
      "  --version         output version information and exit\n\n"
      "Under a file name containing SETUP the program is the installer, under one containing\n"
      "UNINST the uninstaller.\n\n"
      "Environment:\n"
      "  ZTA_AUDIO   the sound backend: unset, empty or \"alsa\" for ALSA; \"sim:DIR\" for the\n"
      "              simulated device, which writes what it plays into DIR/wave_out-1ch.wav.\n"
      "              Unset, and with no ALSA device that opens, the simulated device in the\n"
      "              data folder's \"played\" subfolder stands in, and the program says so\n"
      "              (on stderr, in the window's title and the tray icon)\n\n"
      "Exit status:\n"
      "  0  the player ended, or the command line was handed to the running copy\n"
      "  1  the installer or the uninstaller did not complete\n"
      "  2  usage error, or ZTA_AUDIO cannot be used\n"
      "  4  another copy holds the instance name but does not answer\n");
}

void print_program_version(std::FILE* to) {
  std::fprintf(to, "vrxpar (ZTA Announcement Player) %s\n", ZTA_VERSION);
}

void print_usage_error(const command_line& cl, std::FILE* to) {
  std::fprintf(to, "vrxpar: %s\nTry 'vrxpar --help' for more information.\n", cl.error.c_str());
}

}  // namespace zta
