// zta pack SPEC.json --out FILE.vrx [--precision 8|12] [--disk-size N]: builds a package, or with
// --disk-size a disk set in DIR/disk1, DIR/disk2, ...
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>

#include "base/file_io.hpp"
#include "loading/package_writer.hpp"
#include "tools/commands.hpp"
#include "tools/package_description.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

namespace {

bool write_file(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (replace_file_atomically(path, bytes)) return true;
  std::fprintf(stderr, "zta: cannot write %s\n", path.c_str());
  return false;
}

bool parse_size(const std::string& text, unsigned long long& out) {
  char* end = nullptr;
  out = std::strtoull(text.c_str(), &end, 10);
  return !text.empty() && end != nullptr && *end == '\0' && text[0] != '-';
}

}  // namespace

int cmd_pack(const arg_list& args) {
  const auto opts = parse_options(args, {"--out", "--precision", "--disk-size"}, {});
  if (!opts) return 2;
  if (opts->positional.size() != 1 || !opts->value("--out")) {
    std::fprintf(stderr,
                 "usage: zta pack SPEC.json --out FILE.vrx [--precision 8|12] [--disk-size N]\n");
    return 2;
  }
  int precision = 12;
  if (auto p = opts->value("--precision")) {
    if (*p != "8" && *p != "12") {
      std::fprintf(stderr, "zta: --precision must be 8 or 12\n");
      return 2;
    }
    precision = std::atoi(p->c_str());
  }
  unsigned long long disk_size = 0;
  if (auto d = opts->value("--disk-size")) {
    if (!parse_size(*d, disk_size) || disk_size == 0) {
      std::fprintf(stderr, "zta: --disk-size must be a positive number of bytes\n");
      return 2;
    }
  }
  auto spec = read_package_description(opts->positional[0]);
  if (!spec) return 1;

  std::vector<package_sound> sounds;
  for (std::size_t i = 0; i < spec->build.records.size(); ++i) {
    if (spec->sound_paths[i].empty()) continue;
    auto pcm = read_sound_file(spec->sound_paths[i]);
    if (!pcm) return 1;
    package_record_spec& r = spec->build.records[i];
    const bool twelve = spec->precisions[i].value_or(precision) == 12;
    r.id_serial = static_cast<std::int32_t>(pcm->size());
    package_sound s;
    s.id_stamp = r.id_stamp;
    s.k = twelve ? -r.id_serial : r.id_serial;
    s.code = encode_sound(*pcm, twelve);
    if (s.code.clamped != 0) {
      std::fprintf(stderr, "warn: %s: %zu samples beyond what %d-bit precision reaches\n",
                   r.name.c_str(), s.code.clamped, twelve ? 12 : 8);
    }
    sounds.push_back(std::move(s));
  }

  const std::string out = *opts->value("--out");
  if (disk_size == 0) {
    auto bytes = build_package_file(spec->build, sounds);
    if (!write_file(out, bytes)) return 1;
    std::printf("wrote %s: %zu announcements, %zu sounds, %zu bytes\n", out.c_str(),
                spec->build.records.size(), sounds.size(), bytes.size());
    return 0;
  }
  auto disks = build_disk_set(spec->build, sounds, static_cast<std::size_t>(disk_size));
  if (disks.empty()) {
    std::fprintf(stderr, "zta: --disk-size %llu cannot hold data.npd (%zu bytes) and a piece\n",
                 disk_size, build_package_head(spec->build).size());
    return 1;
  }
  for (std::size_t d = 0; d < disks.size(); ++d) {
    const std::string folder = out + "/disk" + std::to_string(d + 1) + "/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!write_file(folder + "data.npd", disks[d].data_npd)) return 1;
    for (std::size_t p = 0; p < disks[d].pieces.size(); ++p) {
      const std::string name = std::string(1, static_cast<char>('a' + p)) + ".aud";
      if (!write_file(folder + name, disks[d].pieces[p])) return 1;
    }
  }
  std::printf("wrote %zu disks to %s\n", disks.size(), out.c_str());
  return 0;
}

}  // namespace zta::tool
