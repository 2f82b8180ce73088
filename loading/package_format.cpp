#include "loading/package_format.hpp"

#include <algorithm>

namespace zta {

package_header decode_package_header(std::span<const std::uint8_t, package_header_size> in) {
  package_header h;
  h.version = load_le<std::int32_t>(&in[0]);
  h.content_length = load_le<std::int32_t>(&in[4]);
  h.addressee = load_le<std::int32_t>(&in[8]);
  h.unused = load_le<std::int32_t>(&in[12]);
  h.flags = load_le<std::int32_t>(&in[16]);
  h.checksum = load_le<std::uint16_t>(&in[20]);
  return h;
}

void encode_package_header(const package_header& h,
                           std::span<std::uint8_t, package_header_size> out) {
  store_le(&out[0], h.version);
  store_le(&out[4], h.content_length);
  store_le(&out[8], h.addressee);
  store_le(&out[12], h.unused);
  store_le(&out[16], h.flags);
  store_le(&out[20], h.checksum);
}

std::uint16_t content_checksum(std::span<const std::uint8_t> content) {
  std::uint32_t sum = content_checksum_seed;
  for (std::uint8_t b : content) sum += b;
  return static_cast<std::uint16_t>(sum);
}

std::int32_t addressee_list_count(std::int32_t addressee) {
  return addressee >= -max_addressee_list && addressee <= -1 ? -addressee : 0;
}

namespace {

enum presence : std::uint8_t {
  has_commence = 0x01,
  has_expiry = 0x02,
  has_window = 0x04,
  has_weekdays = 0x08,
  no_chimes = 0x10,
  has_fixed_times = 0x20,
  has_script = 0x40,
  has_autoplay = 0x80,
};
enum option : std::uint8_t {
  opt_confirm = 0x01,
  opt_not_manual = 0x02,
};

}  // namespace

bool parse_package_record(byte_reader& in, std::int32_t version, ann_blk& out) {
  out = package_record_defaults();
  std::uint8_t name_length = in.u8();
  auto name = in.take(name_length);
  if (!in.ok()) return false;
  out.set_name(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
  out.id_stamp = in.i32();
  out.id_serial = in.i32();
  std::uint8_t p = in.u8();
  std::uint8_t o = version == 1 ? in.u8() : 0;
  if (p & has_commence) out.commence = in.i32();
  if (p & has_expiry) out.expiry = in.i32();
  if (p & has_window) {
    out.day_from = in.i32();
    out.day_to = in.i32();
  }
  if (p & has_weekdays) out.weekdays = in.u8();
  if (p & has_fixed_times) {
    std::uint8_t count = in.u8();
    if (!in.has(std::size_t{count} * 4)) return false;
    for (int i = 0; i < count; ++i) out.fixed_times.push_back(in.i32());
  }
  if (p & has_autoplay) out.autoplay = in.i16();
  if (p & has_script) {
    std::uint16_t length = in.u16();
    auto text = in.take(length);
    out.script.assign(reinterpret_cast<const char*>(text.data()), text.size());
  }
  out.chimes = (p & no_chimes) ? 0 : 1;
  out.confirm = (o & opt_confirm) ? 1 : 0;
  out.manual = (o & opt_not_manual) ? 0 : 1;
  out.user_made = 0;
  out.clip = -1;
  return in.ok();
}

bool parse_package_content(std::span<const std::uint8_t> content, std::int32_t version,
                           std::int32_t flags, package_content& out) {
  out = package_content{};
  byte_reader in(content);
  if (flags & section_list) {
    out.has_list = true;
    out.list_count = in.i8();
    if (!in.ok()) return false;
    for (int i = 0; i < out.list_count; ++i) {
      ann_blk record;
      if (!parse_package_record(in, version, record)) return false;
      out.records.push_back(std::move(record));
    }
  }
  if (flags & section_notice) {
    out.has_notice = true;
    out.notice.next_show = in.i32();
    if (out.notice.next_show != moment_never) {
      out.notice.repeat = in.i32();
      std::uint16_t length = in.u16();
      auto text = in.take(length);
      out.notice.text.assign(reinterpret_cast<const char*>(text.data()), text.size());
    }
  }
  return in.ok();
}

void write_package_record(byte_writer& out, const package_record_spec& r, std::int32_t version) {
  std::size_t name_length = std::min<std::size_t>(r.name.size(), 255);
  out.u8(static_cast<std::uint8_t>(name_length));
  out.bytes(r.name.data(), name_length);
  out.i32(r.id_stamp);
  out.i32(r.id_serial);
  std::uint8_t p = 0;
  if (r.commence) p |= has_commence;
  if (r.expiry) p |= has_expiry;
  if (r.day_from || r.day_to) p |= has_window;
  if (r.weekdays) p |= has_weekdays;
  if (!r.chimes) p |= no_chimes;
  if (!r.fixed_times.empty()) p |= has_fixed_times;
  if (r.script) p |= has_script;
  if (r.autoplay) p |= has_autoplay;
  out.u8(p);
  if (version == 1) {
    std::uint8_t o = 0;
    if (r.confirm) o |= opt_confirm;
    if (!r.manual) o |= opt_not_manual;
    out.u8(o);
  }
  if (r.commence) out.i32(*r.commence);
  if (r.expiry) out.i32(*r.expiry);
  if (p & has_window) {
    out.i32(r.day_from.value_or(0));
    out.i32(r.day_to.value_or(seconds_per_day));
  }
  if (r.weekdays) out.u8(*r.weekdays);
  if (p & has_fixed_times) {
    std::size_t count = std::min<std::size_t>(r.fixed_times.size(), max_fixed_times);
    out.u8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) out.i32(r.fixed_times[i]);
  }
  if (r.autoplay) out.i16(*r.autoplay);
  if (r.script) {
    std::size_t length = std::min<std::size_t>(r.script->size(), max_script_length);
    out.u16(static_cast<std::uint16_t>(length));
    out.bytes(r.script->data(), length);
  }
}

void write_package_notice(byte_writer& out, const package_notice& n) {
  out.i32(n.next_show);
  if (n.next_show == moment_never) return;
  out.i32(n.repeat);
  std::size_t length = std::min<std::size_t>(n.text.size(), 65535);
  out.u16(static_cast<std::uint16_t>(length));
  out.bytes(n.text.data(), length);
}

}  // namespace zta
