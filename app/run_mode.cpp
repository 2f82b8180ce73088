#include "app/run_mode.hpp"

#include <cctype>
#include <filesystem>

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

bool names_existing_file(const std::string& text) {
  std::error_code ec;
  return !text.empty() && std::filesystem::exists(text, ec) &&
         !std::filesystem::is_directory(text, ec);
}

std::optional<std::string> file_argument(const std::vector<std::string>& args) {
  if (args.empty()) return std::nullopt;
  if (std::string joined = join_arguments(args); names_existing_file(joined)) return joined;
  if (names_existing_file(args.front())) return args.front();
  return std::nullopt;
}

std::string absolute_path(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

start_plan plan_start(std::string_view program_path, const std::vector<std::string>& args,
                      const std::string& data_folder) {
  start_plan plan;
  const std::string name = upper_file_name(program_path);
  const std::string first = args.empty() ? std::string() : args.front();
  const std::optional<std::string> file = file_argument(args);
  if (file)
    plan.handover_text = absolute_path(*file);
  else if (!args.empty() && !contains(first, "/open"))
    plan.handover_text = join_arguments(args);
  if (contains(name, "SETUP")) {
    plan.mode = run_mode::install;
    return plan;
  }
  if (contains(name, "UNINST")) {
    plan.mode = run_mode::uninstall;
    return plan;
  }
  if (file) {
    plan.mode = run_mode::player;
    plan.show_window = true;
    plan.self_command = plan.handover_text;
    return plan;
  }
  plan.mode = contains(first, "service") ? run_mode::service : run_mode::player;
  plan.show_window = !args.empty() && !contains(first, "/service") && !contains(first, "/logon");
  if (!args.empty()) {
    if (contains(first, "/install")) {
      plan.self_command = data_folder + "test.ann";
    } else if (!contains(first, "/open")) {
      plan.self_command = plan.handover_text;
    }
  }
  return plan;
}

std::string command_file(const std::string& text, const std::string& data_folder) {
  if (names_existing_file(text)) return text;
  return contains(text, "/install") ? data_folder + "test.ann" : text;
}

bool is_background_command(const std::string& text) {
  if (names_existing_file(text)) return false;
  return contains(text, "/logon") || contains(text, "/service");
}

}  // namespace zta
