#pragma once
// How a start of the program is decided from its own file name and its arguments. Arguments that
// name an existing file are that file (every path starts with "/", so a path could hold a
// switch); otherwise only the first argument is examined, by case-sensitive substring. The file
// name is compared in capitals.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zta {

enum class run_mode {
  install,    // the file name contains "SETUP"
  uninstall,  // the file name contains "UNINST"
  service,    // the first argument contains "service": the headless player
  player,     // the player with its window and tray icon
};

struct start_plan {
  run_mode mode = run_mode::player;
  // Player: whether the window is shown at start (else it starts in the notification area with
  // the splash).
  bool show_window = false;
  // What a running copy is handed: a command text, or none (only bring it to the front). A file
  // name is made absolute here, before the working folder changes.
  std::optional<std::string> handover_text;
  // The command text the player opens once it is set up (the "/install" test file, or a file
  // named on the command line); none when there is nothing to open.
  std::optional<std::string> self_command;
};

// The upper-cased file name part (no folder) of a program path.
std::string upper_file_name(std::string_view program_path);
// The arguments joined with single spaces.
std::string join_arguments(const std::vector<std::string>& args);
// Relative names are taken from the current folder.
start_plan plan_start(std::string_view program_path, const std::vector<std::string>& args,
                      const std::string& data_folder);

// Whether a command text is the name of an existing file (not a folder).
bool names_existing_file(const std::string& text);
// The arguments as a file name: all of them joined when that names an existing file, else the
// first when it does, else none.
std::optional<std::string> file_argument(const std::vector<std::string>& args);
// `path` made absolute from the current folder.
std::string absolute_path(const std::string& path);

// Command texts that send a running player back into the notification area (never the name of
// an existing file).
bool is_background_command(const std::string& text);
// The file a command text names: an "/install" handed over by a later start means the test
// announcements file, as it does for the copy started with it (unless the text names a file).
std::string command_file(const std::string& text, const std::string& data_folder);

}  // namespace zta
