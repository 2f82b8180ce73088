// zta owner --data DIR --customer N [--text T]: sets the customer number (and the owner text) in
// the owner block of the settings file, leaving every other byte of the file as it was.
#include <sys/stat.h>

#include <cstdio>

#include "announcements/owner_file.hpp"
#include "announcements/settings_store.hpp"
#include "platform/sim/system_wall_clock.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

int cmd_owner(const arg_list& args) {
  const auto opts = parse_options(args, {"--data", "--customer", "--text"}, {});
  if (!opts) return 2;
  const auto dir = opts->value("--data");
  const auto customer = opts->value("--customer");
  if (!dir || !customer || !opts->positional.empty()) {
    std::fprintf(stderr, "usage: zta owner --data DIR --customer N [--text T]\n");
    return 2;
  }
  const auto number = parse_customer_number(*customer);
  if (!number) {
    std::fprintf(stderr, "zta: %s\n", customer_number_error_text);
    return 2;
  }
  struct stat info {};
  if (::stat(dir->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "zta: data folder %s does not exist\n", dir->c_str());
    return 1;
  }
  const std::string folder = dir->back() == '/' ? *dir : *dir + "/";
  owner_block owner;
  if (!read_owner_block(folder, owner)) {
    std::fprintf(stderr, "zta: %s%s cannot be read or is damaged; nothing was changed\n",
                 folder.c_str(), settings_file_name);
    return 1;
  }
  owner.set_customer_number(*number);
  if (const auto text = opts->value("--text")) set_owner_text(owner, *text);
  switch (write_owner_block(folder, owner, system_wall_clock().local_now())) {
    case owner_write_result::written:
      return 0;
    case owner_write_result::damaged_file:
      std::fprintf(stderr, "zta: %s%s is damaged; nothing was changed\n", folder.c_str(),
                   settings_file_name);
      return 1;
    case owner_write_result::failed:
      break;
  }
  std::fprintf(stderr, "zta: cannot write %s%s\n", folder.c_str(), settings_file_name);
  return 1;
}

}  // namespace zta::tool
