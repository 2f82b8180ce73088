// The printed script's texts and where its entries go.
#include "announcements/script_sheet.hpp"

#include <gtest/gtest.h>

namespace zta {
namespace {

TEST(ScriptSheet, HeaderAndEntryTexts) {
  EXPECT_EQ(script_header(),
            "ANNOUNCEMENTS SCRIPT\n\r\n\rProducer\n\r    VRX Tolvane\n\r    www.vrx-tolvane.com\n\r"
            "\n\rSoftware\n\r    ZTA Announcement Player\n\r    Recording, scheduling and in-store "
            "playback\n\r\n\r");
  EXPECT_EQ(script_entry("Closing", "We close in ten minutes."),
            "[Closing]\n\r\n\rWe close in ten minutes.\n\r\n\r");
  EXPECT_EQ(script_entry("Silent", ""), "[Silent]\n\r\n\r\n\r\n\r");
}

TEST(ScriptSheet, EveryLineEndIsOneLine) {
  EXPECT_EQ(printable_lines("a\n\rb\r\nc\rd\ne"), "a\nb\nc\nd\ne");
  EXPECT_EQ(printable_lines("a\n\r\n\rb"), "a\n\nb");
  EXPECT_EQ(printable_lines("a\r\n\r\nb"), "a\n\nb");
}

struct place_case {
  const char* name;
  int header;
  std::vector<int> heights;
  std::vector<sheet_place> places;
};

TEST(ScriptSheet, EntriesNeverSplit) {
  // Pages run from 0 to 1000.
  const place_case cases[] = {
      {"no rows", 200, {}, {}},
      {"all on the first page", 200, {100, 100}, {{0, 200}, {0, 300}}},
      {"the one that reaches the foot starts page 2", 200, {400, 400}, {{0, 200}, {1, 0}}},
      {"reaching exactly the foot counts as not fitting", 200, {800}, {{1, 0}}},
      {"taller than a page: a page of its own", 200, {100, 2500, 100}, {{0, 200}, {1, 0}, {2, 0}}},
  };
  for (const auto& c : cases) {
    const auto got = place_entries(0, 1000, c.header, c.heights);
    ASSERT_EQ(got.size(), c.places.size()) << c.name;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].page, c.places[i].page) << c.name << " " << i;
      EXPECT_EQ(got[i].top, c.places[i].top) << c.name << " " << i;
    }
  }
}

}  // namespace
}  // namespace zta
