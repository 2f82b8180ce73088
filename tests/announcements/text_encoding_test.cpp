#include <gtest/gtest.h>

#include "announcements/text_encoding.hpp"

namespace zta {
namespace {

TEST(TextEncoding, ValidUtf8IsShownAsIsElseWindows1252) {
  EXPECT_EQ(display_text("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(display_text("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(display_text("\x80 off"), "\xE2\x82\xAC off");
  EXPECT_EQ(display_text("\x81"), "\xEF\xBF\xBD");
  EXPECT_FALSE(is_valid_utf8("\xC0\x80"));      // overlong
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));  // surrogate
  EXPECT_TRUE(is_valid_utf8(""));
}

TEST(TextEncoding, CutAtCharacterBoundary) {
  EXPECT_EQ(cut_at_character("abc\xC3\xA9", 4), "abc");
  EXPECT_EQ(cut_at_character("abc\xC3\xA9", 5), "abc\xC3\xA9");
  EXPECT_EQ(cut_at_character("abcdef", 3), "abc");
}

}  // namespace
}  // namespace zta
