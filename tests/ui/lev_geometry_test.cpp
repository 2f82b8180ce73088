#include <gtest/gtest.h>

#include "ui/lev_geometry.hpp"

namespace zta::ui {
namespace {

constexpr int width = 90;  // 0 dB at column 60
constexpr int height = 10;

TEST(LevGeometry, FullLevelIsTwoThirdsGreenAndTheRestRed) {
  EXPECT_EQ(lev::paint(20, width, height),
            (paint_list{{0, 0, 60, height, lev::colour_light_green},
                        {60, 0, 30, height, lev::colour_light_red}}));
}

TEST(LevGeometry, EmptyAtMinusFortyAndBelow) {
  for (int g : {-40, -41, -60, -128, -100000}) {
    EXPECT_EQ(lev::paint(g, width, height), (paint_list{{0, 0, width, height, colour_black}})) << g;
  }
}

TEST(LevGeometry, PositionsAndLimits) {
  const struct {
    int level, x;
  } cases[] = {{-40, 0}, {-10, 45}, {0, 60}, {10, 75}, {20, 90}, {35, 90}, {-60, 0}};
  for (const auto& c : cases) EXPECT_EQ(lev::level_x(c.level, 0, width), c.x) << c.level;
  EXPECT_EQ(lev::level_x(0, 5, width), 65);
  EXPECT_EQ(lev::paint(-10, width, height), (paint_list{{0, 0, 45, height, lev::colour_light_green},
                                                        {45, 0, 45, height, colour_black}}));
}

TEST(LevGeometry, ChangedSpanIsBetweenTheTwoPositions) {
  EXPECT_TRUE(lev::changed_span(5, 5, width).empty());
  EXPECT_TRUE(lev::changed_span(-40, -60, width).empty());
  EXPECT_EQ(lev::changed_span(-40, 0, width), (column_span{0, 60}));
  EXPECT_EQ(lev::changed_span(20, -10, width), (column_span{45, 90}));
}

}  // namespace
}  // namespace zta::ui
