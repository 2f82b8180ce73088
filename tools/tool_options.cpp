#include "tools/tool_options.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "announcements/settings_store.hpp"
#include "base/file_io.hpp"
#include "platform/sim/posix_locale_info.hpp"
#include "platform/sim/system_wall_clock.hpp"

namespace zta::tool {

std::optional<std::string> options::value(const std::string& name) const {
  for (const auto& [n, v] : values) {
    if (n == name) return v;
  }
  return std::nullopt;
}

bool options::flag(const std::string& name) const {
  return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<options> parse_options(const std::vector<std::string>& args,
                                     const std::vector<std::string>& with_value,
                                     const std::vector<std::string>& plain_flags) {
  options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (std::find(with_value.begin(), with_value.end(), a) != with_value.end()) {
        if (i + 1 >= args.size()) {
          std::fprintf(stderr, "zta: option %s needs a value\n", a.c_str());
          return std::nullopt;
        }
        o.values.emplace_back(a, args[++i]);
      } else if (std::find(plain_flags.begin(), plain_flags.end(), a) != plain_flags.end()) {
        o.flags.push_back(a);
      } else {
        std::fprintf(stderr, "zta: unknown option %s\n", a.c_str());
        return std::nullopt;
      }
    } else {
      o.positional.push_back(a);
    }
  }
  return o;
}

int open_data_folder(const options& opts, station& st) {
  const auto dir = opts.value("--data");
  if (!dir) {
    std::fprintf(stderr, "zta: --data DIR is required\n");
    return 2;
  }
  struct stat info {};
  if (::stat(dir->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "zta: data folder %s does not exist\n", dir->c_str());
    return 1;
  }
  const system_wall_clock clock;
  st = station(*dir, clock.local_now());
  st.order = posix_locale_info().short_date_order();
  const std::string path = st.data_folder + settings_file_name;
  if (file_exists(path)) {
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(path, bytes)) {
      std::fprintf(stderr, "zta: cannot read %s\n", path.c_str());
      return 1;
    }
  }
  load_settings(st);
  return 0;
}

}  // namespace zta::tool
