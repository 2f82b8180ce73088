#include "announcements/ann_blk.hpp"

#include <cstring>

#include "base/byte_codec.hpp"

namespace zta {

void encode_staticdata(const ann_blk_staticdata& s, std::span<std::uint8_t, staticdata_size> out) {
  std::uint8_t* p = out.data();
  std::memcpy(p, s.name.data(), name_field_size);
  store_le(p + 32, s.id_stamp);
  store_le(p + 36, s.id_serial);
  store_le(p + 40, s.commence);
  store_le(p + 44, s.expiry);
  store_le(p + 48, s.day_from);
  store_le(p + 52, s.day_to);
  p[56] = s.weekdays;
  p[57] = s.chimes;
  p[58] = s.confirm;
  p[59] = s.manual;
  store_le(p + 60, s.autoplay);
  p[62] = s.user_made;
  store_le(p + 63, s.clip);
}

ann_blk_staticdata decode_staticdata(std::span<const std::uint8_t, staticdata_size> in) {
  const std::uint8_t* p = in.data();
  ann_blk_staticdata s;
  std::memcpy(s.name.data(), p, name_field_size);
  s.name[name_field_size - 1] = '\0';
  s.id_stamp = load_le<std::int32_t>(p + 32);
  s.id_serial = load_le<std::int32_t>(p + 36);
  s.commence = load_le<std::int32_t>(p + 40);
  s.expiry = load_le<std::int32_t>(p + 44);
  s.day_from = load_le<std::int32_t>(p + 48);
  s.day_to = load_le<std::int32_t>(p + 52);
  s.weekdays = p[56];
  s.chimes = p[57];
  s.confirm = p[58];
  s.manual = p[59];
  s.autoplay = load_le<std::int16_t>(p + 60);
  s.user_made = p[62];
  s.clip = load_le<std::int16_t>(p + 63);
  return s;
}

std::string_view ann_blk::name_text() const {
  return field_text(name);
}

void ann_blk::set_name(std::string_view text) {
  set_field_text(name, text);
}

ann_blk package_record_defaults() {
  ann_blk a;
  a.commence = 0;
  a.expiry = moment_never;
  a.day_from = 0;
  a.day_to = seconds_per_day;
  a.weekdays = every_day;
  a.chimes = 1;
  a.confirm = 0;
  a.manual = 1;
  a.autoplay = 0;
  a.user_made = 0;
  a.clip = -1;
  return a;
}

}  // namespace zta
