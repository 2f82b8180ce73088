#include <gtest/gtest.h>

#include <algorithm>

#include "ui/ldb_geometry.hpp"

namespace zta::ui {
namespace {

constexpr int width = 128;  // a bar of exactly 100 pixels: x(v) = 28 + v
constexpr int height = 20;

TEST(LdbGeometry, ValueFromXIsExactlyZeroOrHundredBeyondTheEnds) {
  const struct {
    int x, value;
  } cases[] = {{-500, 0}, {0, 0},    {27, 0},    {28, 0},    {29, 1},
               {78, 50},  {127, 99}, {128, 100}, {129, 100}, {5000, 100}};
  for (const auto& c : cases) EXPECT_EQ(ldb::value_from_x(c.x, width), c.value) << "x=" << c.x;
  EXPECT_EQ(ldb::value_from_x(-1, 1028), 0);
  EXPECT_EQ(ldb::value_from_x(2000, 1028), 100);
  EXPECT_EQ(ldb::value_x(37, 1028), 28 + 370);
}

TEST(LdbGeometry, TypedTextGivesTheLeadingIntegerWithinZeroToHundred) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"150", 100},
      {"abc", 0},
      {"", 0},
      {"50%", 50},
      {"  42", 42},
      {"7x9", 7},
      {"-5", 0},
      {"+12", 12},
      {"100", 100},
      {"99999999999999999999999", 100},
      {"000000000000000000075", 0},  // only the first 18 characters count
      {"00000000000000075", 75},
  };
  for (const auto& c : cases) EXPECT_EQ(ldb::value_from_text(c.text), c.value) << c.text;
}

TEST(LdbGeometry, SetValueLimitsToHundred) {
  EXPECT_EQ(ldb::limit_value(255), 100);
  EXPECT_EQ(ldb::limit_value(101), 100);
  EXPECT_EQ(ldb::limit_value(100), 100);
  EXPECT_EQ(ldb::limit_value(0), 0);
}

bool has_colour(const paint_list& list, rgb c) {
  return std::any_of(list.begin(), list.end(), [&](const fill_rect& r) { return r.colour == c; });
}

TEST(LdbGeometry, EightyPaintsNoRedAndEightyOneARedSliver) {
  const paint_list at80 = ldb::paint(80, width, height, true);
  EXPECT_FALSE(has_colour(at80, ldb::colour_red));
  EXPECT_EQ(at80.front(), (fill_rect{28, 0, 80, height, ldb::colour_green}));

  const paint_list at81 = ldb::paint(81, width, height, true);
  const auto red = std::find_if(at81.begin(), at81.end(),
                                [](const fill_rect& r) { return r.colour == ldb::colour_red; });
  ASSERT_NE(red, at81.end());
  EXPECT_EQ(*red, (fill_rect{ldb::value_x(80, width), 0, 1, height, ldb::colour_red}));
  EXPECT_EQ(at81[2], (fill_rect{109, 0, 19, height, colour_gray}));
}

TEST(LdbGeometry, ThumbIsARaisedBarAtTheValue) {
  // Value 50: x = 78, thumb columns 77..78 with a white left/top and black right/bottom edge.
  const paint_list list = ldb::paint(50, width, height, true);
  ASSERT_EQ(list.size(), 7u);
  EXPECT_EQ(list[2], (fill_rect{77, 0, 2, height, colour_light_gray}));
  EXPECT_EQ(list[3], (fill_rect{76, 1, 1, height - 1, colour_white}));
  EXPECT_EQ(list[4], (fill_rect{76, 0, 3, 1, colour_white}));
  EXPECT_EQ(list[5], (fill_rect{79, 0, 1, height - 1, colour_black}));
  EXPECT_EQ(list[6], (fill_rect{78, height - 1, 2, 1, colour_black}));
}

TEST(LdbGeometry, ThumbStaysInsideAtTheRightEndAndNothingLeavesTheBar) {
  for (int v : {0, 1, 99, 100}) {
    for (const fill_rect& r : ldb::paint(v, width, height, true)) {
      EXPECT_GE(r.x, ldb::box_width) << v;
      EXPECT_LE(r.x + r.w, width) << v;
    }
  }
  const paint_list at100 = ldb::paint(100, width, height, true);
  EXPECT_EQ(at100[2], (fill_rect{width - 3, 0, 2, height, colour_light_gray}));
}

TEST(LdbGeometry, DisabledPaintsLightGrayInsteadOfColours) {
  for (int v : {0, 50, 81, 100}) {
    const paint_list list = ldb::paint(v, width, height, false);
    EXPECT_FALSE(has_colour(list, ldb::colour_green));
    EXPECT_FALSE(has_colour(list, ldb::colour_red));
    EXPECT_FALSE(has_colour(list, colour_gray));
  }
}

TEST(LdbGeometry, NarrowControlHasNoBarAndNoDivisionByZero) {
  for (int w : {0, 10, 28}) {
    EXPECT_TRUE(ldb::paint(50, w, height, true).empty());
    EXPECT_EQ(ldb::value_from_x(40, w), 0);
    EXPECT_EQ(ldb::value_x(100, w), 28);
  }
}

TEST(LdbGeometry, RedrawSpanCoversBothThumbsWithTwoPixelsMargin) {
  EXPECT_EQ(ldb::redraw_span(30, 60, width), (column_span{56, 90}));
  EXPECT_EQ(ldb::redraw_span(60, 30, width), (column_span{56, 90}));
  EXPECT_EQ(ldb::redraw_span(100, 100, width), (column_span{126, 130}));
  // Every pixel that differs between the two pictures lies in the span.
  for (auto [a, b] : {std::pair{10, 90}, std::pair{100, 97}, std::pair{0, 1}, std::pair{80, 81}}) {
    const column_span s = ldb::redraw_span(a, b, width);
    auto picture = [&](int v) {
      std::vector<rgb> row(width);
      for (const fill_rect& r : ldb::paint(v, width, height, true)) {
        if (r.y == 0) std::fill(row.begin() + r.x, row.begin() + r.x + r.w, r.colour);
      }
      return row;
    };
    const auto pa = picture(a), pb = picture(b);
    for (int x = 0; x < width; ++x) {
      if (pa[x] != pb[x]) {
        EXPECT_TRUE(x >= s.left && x < s.right) << a << "->" << b << " x=" << x;
      }
    }
  }
}

}  // namespace
}  // namespace zta::ui
