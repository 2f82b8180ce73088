#include "platform/xdg/xdg_tools.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace zta {

namespace {

constexpr std::size_t max_output = 64 * 1024;

std::vector<std::string> environment_with(const tool_environment& env) {
  std::vector<std::string> out;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& [k, v] : env) replaced = replaced || k == name;
    if (!replaced) out.push_back(entry);
  }
  for (const auto& [k, v] : env) out.push_back(std::string(k).append("=").append(v));
  return out;
}

}  // namespace

bool run_tool(const std::vector<std::string>& args, const tool_environment& env, std::string* out) {
  if (args.empty()) return false;
  std::vector<std::string> argv_text = args;
  std::vector<char*> argv;
  argv.reserve(argv_text.size() + 1);
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text = environment_with(env);
  std::vector<char*> envp;
  envp.reserve(env_text.size() + 1);
  for (std::string& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);

  int pipe_fds[2] = {-1, -1};
  if (out != nullptr && ::pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (out != nullptr)
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (out != nullptr) {
    ::close(pipe_fds[1]);
    out->clear();
    if (spawned == 0) {
      char buf[4096];
      for (;;) {
        const ssize_t n = ::read(pipe_fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        // Read to the end so the tool never blocks on a full pipe; keep only the first part.
        const std::size_t room = max_output - std::min(out->size(), max_output);
        out->append(buf, std::min(static_cast<std::size_t>(n), room));
      }
    }
    ::close(pipe_fds[0]);
  }
  if (spawned != 0) return false;
  int status = 0;
  pid_t waited = 0;
  do {
    waited = ::waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zta
