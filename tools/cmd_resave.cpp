// zta resave --data DIR: load the settings file and save it again (round-trip checks).
#include <cstdio>

#include "announcements/settings_store.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

int cmd_resave(const arg_list& args) {
  const auto opts = parse_options(args, {"--data"}, {});
  if (!opts) return 2;
  station st;
  if (const int status = open_data_folder(*opts, st); status != 0) return status;
  if (!save_settings(st)) {
    std::fprintf(stderr, "zta: cannot write %s%s\n", st.data_folder.c_str(), settings_file_name);
    return 1;
  }
  std::printf("saved %s%s (%d announcements)\n", st.data_folder.c_str(), settings_file_name,
              st.content.list.count());
  return 0;
}

}  // namespace zta::tool
