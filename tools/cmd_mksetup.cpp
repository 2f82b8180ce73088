// zta mksetup: builds the setup file a distributor hands out, the program with the manual, the
// three chimes and the test announcements package appended, and the trailer.
#include <cstdio>
#include <string>

#include "install/setup_writer.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

int cmd_mksetup(const arg_list& args) {
  const auto opts =
      parse_options(args, {"--program", "--manual", "--chimes", "--test", "--out"}, {});
  if (!opts) return 2;
  const auto program = opts->value("--program");
  const auto manual = opts->value("--manual");
  const auto chimes = opts->value("--chimes");
  const auto test = opts->value("--test");
  const auto out = opts->value("--out");
  if (!program || !manual || !chimes || !test || !out || !opts->positional.empty()) {
    std::fprintf(stderr,
                 "usage: zta mksetup --program FILE --manual FILE --chimes DIR --test FILE "
                 "--out SETUP\n");
    return 2;
  }
  std::string dir = *chimes;
  if (dir.empty() || dir.back() != '/') dir += '/';
  const setup_sources in{
      *program, *manual, {dir + "chimes1.aud", dir + "chimes2.aud", dir + "chimes3.aud"}, *test};
  std::string error;
  setup_trailer t;
  if (!write_setup_file(in, *out, error, &t)) {
    std::fprintf(stderr, "zta: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s: program %u bytes, manual %u, chimes %u + %u + %u, checksum %08X\n",
              out->c_str(), t.ends[0], t.ends[1] - t.ends[0], t.ends[2] - t.ends[1],
              t.ends[3] - t.ends[2], t.ends[4] - t.ends[3], t.checksum);
  return 0;
}

}  // namespace zta::tool
