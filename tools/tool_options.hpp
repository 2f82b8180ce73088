#pragma once
// Option parsing and data-folder loading shared by the zta commands.
#include <optional>
#include <string>
#include <vector>

#include "announcements/station.hpp"

namespace zta::tool {

struct options {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> values;  // --name VALUE
  std::vector<std::string> flags;                           // --name

  std::optional<std::string> value(const std::string& name) const;
  bool flag(const std::string& name) const;
};

// Parses `args`; names in `with_value` take the next argument. Prints an error and returns
// nullopt on a missing value or an unknown option.
std::optional<options> parse_options(const std::vector<std::string>& args,
                                     const std::vector<std::string>& with_value,
                                     const std::vector<std::string>& plain_flags);

// Makes a station for --data DIR at the system clock and loads its settings file. Prints one
// clear line and returns the exit status: 0 when loaded, 2 without --data (a usage error), 1 when
// the folder is missing or the file cannot be read.
int open_data_folder(const options& opts, station& st);

}  // namespace zta::tool
