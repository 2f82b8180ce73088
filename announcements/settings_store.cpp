#include "announcements/settings_store.hpp"

#include <algorithm>

#include "announcements/clip_files.hpp"
#include "base/byte_codec.hpp"
#include "base/file_io.hpp"

namespace zta {

std::vector<std::uint8_t> encode_settings_file(const station& st) {
  std::vector<std::uint8_t> out;
  out.resize(settings_block_size + load_options_size);
  encode_settings_block(
      st.settings, std::span<std::uint8_t, settings_block_size>(out.data(), settings_block_size));
  encode_load_options(st.load_opts, std::span<std::uint8_t, load_options_size>(
                                        out.data() + settings_block_size, load_options_size));
  byte_writer w(out);
  w.bytes(st.content.owner.bytes);
  const ablklist& list = st.content.list;
  w.u8(static_cast<std::uint8_t>(list.count()));
  for (const ann_blk& a : list) {
    std::uint8_t fixed[staticdata_size];
    encode_staticdata(a, fixed);
    w.bytes(fixed, staticdata_size);
    const std::size_t times = std::min(a.fixed_times.size(), max_fixed_times);
    w.u8(static_cast<std::uint8_t>(times));
    for (std::size_t i = 0; i < times; ++i) w.i32(a.fixed_times[i]);
    const std::size_t script = std::min(a.script.size(), max_script_length);
    w.u16(static_cast<std::uint16_t>(script));
    w.bytes(a.script.data(), script);
  }
  const updateinfo& n = st.content.notice;
  w.i32(n.next_show);
  w.i32(n.repeat);
  const std::size_t text = std::min(n.text.size(), max_script_length);
  w.u16(static_cast<std::uint16_t>(text));
  w.bytes(n.text.data(), text);
  return out;
}

namespace {

// Reads a text of `length` bytes, or as many as remain when the data ends early.
std::string read_text(byte_reader& r, std::size_t length) {
  const std::size_t n = std::min(length, r.remaining());
  auto bytes = r.take(n);
  std::string s(bytes.begin(), bytes.end());
  if (n < length) r.skip(length);  // marks the reader as ended
  return s;
}

}  // namespace

bool decode_settings_file(std::span<const std::uint8_t> bytes, station& st) {
  byte_reader r(bytes);
  // The three blocks are read straight into place: a short block keeps what it covers.
  auto block = [&](std::size_t size, auto apply) {
    std::vector<std::uint8_t> buf(size, 0);
    const std::size_t n = std::min(size, r.remaining());
    if (n == size) {
      r.bytes(buf.data(), size);
      apply(buf);
      return true;
    }
    return false;
  };
  const bool blocks_ok =
      block(settings_block_size,
            [&](std::vector<std::uint8_t>& b) {
              st.settings =
                  decode_settings_block(std::span<const std::uint8_t, settings_block_size>(
                      b.data(), settings_block_size));
            }) &&
      block(load_options_size,
            [&](std::vector<std::uint8_t>& b) {
              st.load_opts = decode_load_options(
                  std::span<const std::uint8_t, load_options_size>(b.data(), load_options_size));
            }) &&
      block(owner_block_size, [&](std::vector<std::uint8_t>& b) {
        std::copy(b.begin(), b.end(), st.content.owner.bytes.begin());
      });
  if (!blocks_ok) return false;

  ablklist& list = st.content.list;
  list.clear();
  if (!r.has(1)) return false;
  const auto count = static_cast<std::int8_t>(r.u8());  // 0x80 and above: an empty list
  for (int i = 0; i < count; ++i) {
    if (!r.has(staticdata_size)) return false;
    std::uint8_t fixed[staticdata_size];
    r.bytes(fixed, staticdata_size);
    ann_blk a;
    static_cast<ann_blk_staticdata&>(a) = decode_staticdata(fixed);
    bool complete = true;
    const std::uint8_t times = r.u8();
    for (int t = 0; t < times && r.has(4); ++t) a.fixed_times.push_back(r.i32());
    if (a.fixed_times.size() != times) complete = false;
    if (complete) {
      const std::uint16_t length = r.u16();
      a.script = read_text(r, length);
      complete = r.ok();
    }
    list.push_back(std::move(a));
    if (!complete || !r.ok()) return false;
  }
  updateinfo& notice = st.content.notice;
  if (!r.has(4)) return false;
  notice.next_show = r.i32();
  if (!r.has(4)) return false;
  notice.repeat = r.i32();
  if (!r.has(2)) return false;
  const std::uint16_t length = r.u16();
  notice.text = read_text(r, length);
  return r.ok();
}

void load_settings(station& st) {
  std::vector<std::uint8_t> bytes;
  if (read_whole_file(st.data_folder + settings_file_name, bytes) || !bytes.empty()) {
    decode_settings_file(bytes, st);
  }
  clip_cleanup(st);
}

bool save_settings(station& st) {
  clip_cleanup(st);
  const std::vector<std::uint8_t> bytes = encode_settings_file(st);
  return replace_file_atomically(st.data_folder + settings_file_name, bytes);
}

}  // namespace zta
