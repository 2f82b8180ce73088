#pragma once
// How a start of the program is decided from its own file name and its arguments. Only the first
// argument is examined, by case-sensitive substring; the file name is compared in capitals.
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
  // What a running copy is handed: a command text, or none (only bring it to the front).
  std::optional<std::string> handover_text;
  // The command text the player opens once it is set up (the "/install" test file, or a file
  // named on the command line); none when there is nothing to open.
  std::optional<std::string> self_command;
};

// The upper-cased file name part (no folder) of a program path.
std::string upper_file_name(std::string_view program_path);
// The arguments joined with single spaces.
std::string join_arguments(const std::vector<std::string>& args);
start_plan plan_start(std::string_view program_path, const std::vector<std::string>& args,
                      const std::string& data_folder);

// Command texts that send a running player back into the notification area.
bool is_background_command(std::string_view text);
// The file a command text names: an "/install" handed over by a later start means the test
// announcements file, as it does for the copy started with it.
std::string command_file(const std::string& text, const std::string& data_folder);

}  // namespace zta
