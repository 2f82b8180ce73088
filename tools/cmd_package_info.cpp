// zta inspect FILE: the header, records, notice and audio sections of a package, a data.npd or
// a piece file (.aud), without changing anything.
#include <cstdio>
#include <string>

#include "announcements/text_encoding.hpp"
#include "base/byte_codec.hpp"
#include "base/file_io.hpp"
#include "loading/package_reader.hpp"
#include "loading/section_decoder.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

namespace {

// Counts samples without keeping them.
class counting_output final : public sample_output {
 public:
  void write(std::span<const std::int16_t> s) override { count += s.size(); }
  std::size_t count = 0;
};

void print_record(int i, const ann_blk& a) {
  std::printf("  [%d] \"%s\" id_stamp %d id_serial %d\n", i, display_text(a.name_text()).c_str(),
              a.id_stamp, a.id_serial);
  std::printf(
      "      commence %d expiry %d window %d..%d weekdays 0x%02X chimes %d confirm %d manual %d "
      "autoplay %d\n",
      a.commence, a.expiry, a.day_from, a.day_to, a.weekdays, a.chimes, a.confirm, a.manual,
      a.autoplay);
  if (!a.fixed_times.empty()) {
    std::printf("      fixed times:");
    for (std::int32_t t : a.fixed_times)
      std::printf(" %02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
    std::printf("\n");
  }
  if (!a.script.empty()) std::printf("      script: %s\n", display_text(a.script).c_str());
}

bool read_header(std::FILE* f, std::int32_t& stamp, std::int32_t& k, std::int32_t& offset) {
  std::uint8_t h[section_header_size];
  if (std::fread(h, 1, sizeof h, f) != sizeof h) return false;
  stamp = load_le<std::int32_t>(h);
  k = load_le<std::int32_t>(h + 4);
  offset = load_le<std::int32_t>(h + 8);
  return true;
}

const char* precision_of(std::int32_t k) {
  return k < 0 ? "12-bit" : "8-bit";
}

// Prints the sections up to the end of the file; false when one was damaged or cut off.
bool print_sections(std::FILE* f) {
  std::uint8_t block[code_block_size];
  int n = 0;
  bool clean = true;
  for (;; ++n) {
    std::int32_t stamp, k, offset;
    long at = std::ftell(f);
    if (!read_header(f, stamp, k, offset)) break;
    std::printf("section %d at %ld: id_stamp %d K %d (%s) piece offset %d: ", n, at, stamp, k,
                precision_of(k), offset);
    section_decoder_state s;
    if (!start_section(s, k)) {
      std::printf("damaged header (K without magnitude)\n");
      return false;
    }
    counting_output out;
    for (;;) {
      std::size_t got = std::fread(block, 1, sizeof block, f);
      std::size_t used = decode_section(s, std::span<const std::uint8_t>(block, got), out);
      if (s.done) {
        std::fseek(f, -static_cast<long>(got - used), SEEK_CUR);
        break;
      }
      if (got < sizeof block) break;
    }
    if (!s.done) {
      std::printf("%zu samples, file ends inside the section\n", out.count);
      return false;
    }
    std::printf("%zu samples, %d code bytes, checksum %s\n", out.count, s.consumed,
                s.error ? "BAD" : "ok");
    clean = clean && !s.error;
  }
  if (n == 0) std::printf("no audio sections\n");
  return clean;
}

int inspect_piece(std::FILE* f, const std::string& path) {
  std::int32_t stamp, k, offset;
  if (!read_header(f, stamp, k, offset)) {
    std::fprintf(stderr, "zta: %s: shorter than a piece header\n", path.c_str());
    return 1;
  }
  std::fseek(f, 0, SEEK_END);
  long bytes = std::ftell(f) - static_cast<long>(section_header_size);
  std::printf("piece %s: id_stamp %d K %d (%s) piece offset %d, %ld bytes after the header\n",
              path.c_str(), stamp, k, precision_of(k), offset, bytes);
  return 0;
}

}  // namespace

int cmd_inspect(const arg_list& args) {
  const auto opts = parse_options(args, {}, {});
  if (!opts) return 2;
  if (opts->positional.size() != 1) {
    std::fprintf(stderr, "usage: zta inspect FILE\n");
    return 2;
  }
  const std::string& path = opts->positional[0];
  file_handle f = open_for_read(path);
  if (!f) {
    std::fprintf(stderr, "zta: cannot open %s\n", path.c_str());
    return 1;
  }
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".aud") == 0) {
    return inspect_piece(f.get(), path);
  }
  package_header h;
  package_content c;
  package_error e = read_package_content(f.get(), h, c);
  if (e == package_error::header || e == package_error::unsupported) {
    std::fprintf(stderr, "%s: %s\n", package_error_caption, package_error_text(e));
    return 1;
  }
  std::printf("header: version %d, content %d bytes, addressee %d, flags %d, checksum %u\n",
              h.version, h.content_length, h.addressee, h.flags, h.checksum);
  if (e != package_error::none) {
    std::fprintf(stderr, "%s: %s\n", package_error_caption, package_error_text(e));
    return 1;
  }
  if (c.has_list) {
    if (c.list_count < 0) {
      std::printf("list: count %d, leaves the list untouched\n", c.list_count);
    } else {
      std::printf("list: %d records\n", c.list_count);
    }
    for (std::size_t i = 0; i < c.records.size(); ++i)
      print_record(static_cast<int>(i), c.records[i]);
  }
  if (c.has_notice) {
    if (c.notice.next_show == moment_never) {
      std::printf("notice: clears the pending notice\n");
    } else {
      std::printf("notice: next show %d, repeat %d, text \"%s\"\n", c.notice.next_show,
                  c.notice.repeat, display_text(c.notice.text).c_str());
    }
  }
  return print_sections(f.get()) ? 0 : 1;
}

}  // namespace zta::tool
