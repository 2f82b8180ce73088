#include "announcements/script_sheet.hpp"

namespace zta {

namespace {
constexpr char line_end[] = "\n\r";
}  // namespace

std::string script_header() {
  const std::string lines[] = {"ANNOUNCEMENTS SCRIPT",
                               "",
                               "Producer",
                               std::string("    ") + script_producer_name,
                               std::string("    ") + script_producer_web,
                               "",
                               "Software",
                               "    ZTA Announcement Player",
                               std::string("    ") + script_software_credit,
                               ""};
  std::string text;
  for (const std::string& l : lines) text += l + line_end;
  return text;
}

std::string script_entry(std::string_view name, std::string_view script) {
  std::string text = "[";
  text += name;
  text += "]";
  text += line_end;
  text += line_end;
  text += script;
  text += line_end;
  text += line_end;
  return text;
}

std::string printable_lines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      out += '\n';
      const char pair = c == '\n' ? '\r' : '\n';
      if (i + 1 < text.size() && text[i + 1] == pair) ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<sheet_place> place_entries(int page_top, int page_bottom, int header_height,
                                       const std::vector<int>& heights) {
  std::vector<sheet_place> places;
  places.reserve(heights.size());
  int page = 0;
  int top = page_top + header_height;
  for (int h : heights) {
    if (top + h >= page_bottom && top > page_top) {  // a page with nothing on it is fresh already
      ++page;
      top = page_top;
    }
    places.push_back({page, top});
    top += h;
  }
  return places;
}

}  // namespace zta
