#include "announcements/remote_ack.hpp"

#include <cctype>
#include <cstdio>
#include <optional>

#include "announcements/calendar.hpp"

namespace zta {

namespace {

constexpr std::string_view ply = ".ply";

std::string one_line(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return out;
}

std::optional<std::int32_t> parse_moment(std::string_view t) {
  // Exactly "YYYY-MM-DD HH:MM:SS".
  if (t.size() != 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':')
    return std::nullopt;
  auto number = [&](std::size_t at, std::size_t len, int& out) {
    out = 0;
    for (std::size_t i = at; i < at + len; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
      out = out * 10 + (t[i] - '0');
    }
    return true;
  };
  calendar_fields f;
  if (!number(0, 4, f.year) || !number(5, 2, f.month) || !number(8, 2, f.day) ||
      !number(11, 2, f.hour) || !number(14, 2, f.minute) || !number(17, 2, f.second))
    return std::nullopt;
  const auto m = make_moment(f);
  // Only what moment_text writes: a normalised date is no moment of ours.
  if (!m || ack_moment_text(*m) != t) return std::nullopt;
  return m;
}

}  // namespace

std::string ack_file_name(std::string_view request_file) {
  std::string_view base = request_file;
  if (base.size() > ply.size()) {
    bool is_ply = true;
    const std::string_view tail = base.substr(base.size() - ply.size());
    for (std::size_t i = 0; i < ply.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(tail[i])) != ply[i]) is_ply = false;
    }
    if (is_ply) base.remove_suffix(ply.size());
  }
  return std::string(base) + ack_suffix;
}

std::string ack_moment_text(std::int32_t moment) {
  return moment_text(moment);
}

std::string encode_ack(const acknowledgement& a) {
  std::string out = ack_first_line;
  out += "\nrequest: " + one_line(a.request);
  out += std::string("\nresult: ") + (a.played ? "played" : "refused");
  out += "\ndetail: " + one_line(a.detail);
  out += "\nmoment: " + ack_moment_text(a.moment) + "\n";
  return out;
}

bool decode_ack(std::string_view text, acknowledgement& out) {
  if (text.size() > ack_max_size) return false;
  std::string_view fields[5];
  std::size_t at = 0;
  for (std::string_view& field : fields) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) return false;
    field = text.substr(at, end - at);
    at = end + 1;
  }
  if (at != text.size() || fields[0] != ack_first_line) return false;
  auto value = [](std::string_view line, std::string_view key, std::string_view& v) {
    if (line.substr(0, key.size()) != key) return false;
    v = line.substr(key.size());
    return true;
  };
  std::string_view request, result, detail, moment;
  if (!value(fields[1], "request: ", request) || !value(fields[2], "result: ", result) ||
      !value(fields[3], "detail: ", detail) || !value(fields[4], "moment: ", moment))
    return false;
  if (result != "played" && result != "refused") return false;
  const auto m = parse_moment(moment);
  if (!m) return false;
  out.request = std::string(request);
  out.played = result == "played";
  out.detail = std::string(detail);
  out.moment = *m;
  return true;
}

}  // namespace zta
