#include "tools/command_table.hpp"

#include <array>

#ifndef ZTA_VERSION
#define ZTA_VERSION "unknown"
#endif

namespace zta::tool {

namespace {

const std::array<command_entry, 13> commands{{
    {"list", cmd_list, "--data DIR [--json]", "every announcement of DIR/vrxpa.dat",
     "Prints every announcement of the settings file DIR/vrxpa.dat, one line each.\n\n"
     "  --data DIR  the data folder\n"
     "  --json      one JSON document instead of lines\n"},
    {"settings", cmd_settings, "--data DIR [--json]",
     "the settings block, load options and owner block",
     "Prints the settings block, the load options and the owner block of DIR/vrxpa.dat.\n\n"
     "  --data DIR  the data folder\n"
     "  --json      one JSON document instead of lines\n"},
    {"resave", cmd_resave, "--data DIR", "load and save the settings file again",
     "Loads DIR/vrxpa.dat and saves it again, as the player does.\n\n"
     "  --data DIR  the data folder\n"},
    {"pack", cmd_pack, "SPEC.json --out FILE.vrx [--precision 8|12] [--disk-size N]",
     "build a package or a disk set from a JSON description",
     "Builds an announcement package from the JSON description SPEC.json\n"
     "(docs/package-json.md).\n\n"
     "  --out FILE       the package file, or the folder of the disk set\n"
     "  --precision P    bits per coded sample, 8 or 12\n"
     "  --disk-size N    split into disks of at most N bytes each\n"},
    {"unpack", cmd_unpack, "--data DIR FILE | --data DIR --disk MOUNTDIR...",
     "load a package, a WAV file or disk sets into DIR",
     "Loads a package (or a WAV file) into the data folder as the file method does, or disk\n"
     "sets, disk after disk in the order given, then saves the settings.\n\n"
     "  --data DIR       the data folder\n"
     "  --disk MOUNTDIR  a disk of a disk set (repeat for each disk)\n\n"
     "Exit status 3: saved, but the load stopped early (it says why).\n"},
    {"inspect", cmd_inspect, "FILE", "header, records, notice and audio sections of a package",
     "Prints the header, the records, the notice and the audio sections of a package file.\n"},
    {"import", cmd_import, "--data DIR FILE.wav...", "import WAV files as new announcements",
     "Imports WAV files as new announcements, each with its own clip, into the data folder.\n\n"
     "  --data DIR  the data folder\n"},
    {"chime", cmd_chime, "N --out FILE", "the N-note chime clip (N = 1..3)",
     "Writes the N-note chime clip (N = 1, 2 or 3) as raw 16-bit mono samples at 22050 Hz.\n\n"
     "  --out FILE  the clip file\n"},
    {"preview", cmd_preview,
     "--data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to \"YYYY-MM-DD HH:MM:SS\"",
     "what the scheduler would play between two moments",
     "Prints what the scheduler would play between the two moments, one line per start and\n"
     "end. The data folder is only read.\n\n"
     "  --data DIR     the data folder\n"
     "  --from MOMENT  the first moment\n"
     "  --to MOMENT    the last moment (not before --from)\n"},
    {"report", cmd_report,
     "--data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to \"...\" [--json] [--slack SECONDS]",
     "proof of play: the schedule against the logs and missed files",
     "Runs the schedule over the period as preview does and holds what it would have started\n"
     "against the month logs and missed files: per announcement the expected starts, the\n"
     "logged plays, the missed ones with their reasons, and the plays the schedule does not\n"
     "explain. The data folder is only read.\n\n"
     "  --data DIR       the data folder\n"
     "  --from MOMENT    the first moment\n"
     "  --to MOMENT      the last moment (not before --from)\n"
     "  --json           one JSON document instead of lines\n"
     "  --slack SECONDS  how far a record may lie from its expected start (0..3600, 60)\n"},
    {"owner", cmd_owner, "--data DIR --customer N [--text T]",
     "set the customer number and the owner text",
     "Sets the customer number (0..2147483647; it names the package \"paN.vrx\" on the FTP\n"
     "server) and the owner text. Only the owner block of DIR/vrxpa.dat changes. Run it while\n"
     "the player is closed (a running player saves its own copy).\n\n"
     "  --data DIR    the data folder\n"
     "  --customer N  the customer number\n"
     "  --text T      the owner text\n"},
    {"remote", cmd_remote,
     "list --folder CTL | play --folder CTL (--index N | --name NAME) [--wait SECONDS] | "
     "send --folder CTL FILE.wav [--wait SECONDS]",
     "list, play or send through a player's remote control folder",
     "The companion side of the remote control folder CTL: 'list' prints the player's\n"
     "listing, 'play' asks it to play an announcement, 'send' hands it a WAV file to play\n"
     "(converted like an import).\n\n"
     "  --folder CTL     the remote control folder\n"
     "  --index N        the announcement at this index of the listing\n"
     "  --name NAME      the announcement of this name\n"
     "  --wait SECONDS   wait this long for the player's acknowledgement\n\n"
     "Exit status: 0 played (or sent, without --wait), 1 refused, 2 no acknowledgement in\n"
     "time, 3 nothing sent (a wrong argument, no listing, a folder that cannot be written).\n"},
    {"mksetup", cmd_mksetup, "--program FILE --manual FILE --chimes DIR --test FILE --out SETUP",
     "make the setup file",
     "Makes the setup file: the program with the manual, DIR/chimes1..3.aud and the test\n"
     "package appended, and the trailer with the checksum.\n\n"
     "  --program FILE  the program vrxpar\n"
     "  --manual FILE   the manual (manual.html)\n"
     "  --chimes DIR    the folder of chimes1.aud, chimes2.aud and chimes3.aud\n"
     "  --test FILE     the test package (test.ann)\n"
     "  --out SETUP     the setup file to write\n"},
}};

}  // namespace

std::span<const command_entry> command_table() {
  return commands;
}

const command_entry* find_command(std::string_view name) {
  for (const auto& c : commands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

void print_tool_help(std::FILE* to) {
  std::fprintf(to,
               "Usage: zta COMMAND [ARGS]...\n"
               "  or:  zta help COMMAND\n"
               "Reads and changes the data folder of the ZTA Announcement Player, builds and\n"
               "inspects its packages and makes its setup file.\n\n"
               "Commands:\n");
  for (const auto& c : commands) std::fprintf(to, "  %-9s %s\n", c.name, c.summary);
  std::fprintf(to,
               "\nOptions:\n"
               "  --help     display this help and exit\n"
               "  --version  output version information and exit\n\n"
               "Run 'zta help COMMAND' or 'zta COMMAND --help' for the arguments of a command.\n\n"
               "Exit status:\n"
               "  0  success\n"
               "  1  a file could not be read or written, or a package is damaged\n"
               "  2  usage error (unknown command or option, missing argument)\n"
               "  3  unpack: saved, but the load stopped early\n"
               "The remote command has its own exit statuses (zta help remote).\n");
}

void print_command_help(const command_entry& c, std::FILE* to) {
  std::fprintf(to, "Usage: zta %s %s\n%s", c.name, c.synopsis, c.details);
}

void print_tool_version(std::FILE* to) {
  std::fprintf(to, "zta (ZTA Announcement Player) %s\n", ZTA_VERSION);
}

}  // namespace zta::tool
