#include "app/run_mode.hpp"

#include <cctype>

namespace zta {

namespace {

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

std::string upper_file_name(std::string_view program_path) {
  std::size_t slash = program_path.find_last_of('/');
  std::string name(slash == std::string_view::npos ? program_path : program_path.substr(slash + 1));
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string join_arguments(const std::vector<std::string>& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += ' ';
    out += args[i];
  }
  return out;
}

start_plan plan_start(std::string_view program_path, const std::vector<std::string>& args,
                      const std::string& data_folder) {
  start_plan plan;
  const std::string name = upper_file_name(program_path);
  const std::string first = args.empty() ? std::string() : args.front();
  if (!args.empty() && !contains(first, "/open")) plan.handover_text = join_arguments(args);
  if (contains(name, "SETUP")) {
    plan.mode = run_mode::install;
    return plan;
  }
  if (contains(name, "UNINST")) {
    plan.mode = run_mode::uninstall;
    return plan;
  }
  plan.mode = contains(first, "service") ? run_mode::service : run_mode::player;
  plan.show_window = !args.empty() && !contains(first, "/service") && !contains(first, "/logon");
  if (!args.empty()) {
    if (contains(first, "/install"))
      plan.self_command = data_folder + "test.ann";
    else if (!contains(first, "/open"))
      plan.self_command = join_arguments(args);
  }
  return plan;
}

std::string command_file(const std::string& text, const std::string& data_folder) {
  return contains(text, "/install") ? data_folder + "test.ann" : text;
}

bool is_background_command(std::string_view text) {
  return contains(text, "/logon") || contains(text, "/service");
}

}  // namespace zta
