// The simulated device standing in for a missing sound card is never silent about it: the frame's
// title and the tray icon say so.
#include <gtest/gtest.h>

#include <QSystemTrayIcon>

#include "app/main_frame.hpp"
#include "app/single_instance.hpp"
#include "tests/app/app_test_env.hpp"

namespace zta::test {
namespace {

class SoundFallbackTest : public app_fixture {};

TEST_F(SoundFallbackTest, TheFrameSaysTheSimulatedDeviceStandsIn) {
  {
    main_frame plain(*ctx, box_fn());
    EXPECT_EQ(plain.windowTitle(), frame_title);
    EXPECT_EQ(plain.tray()->toolTip(), frame_title);
  }
  const std::string notice = "no sound card (ALSA: cannot open \"default\" for playback: x)";
  ctx->services.devices.notice = notice;
  main_frame frame(*ctx, box_fn());
  EXPECT_EQ(frame.windowTitle(), simulated_sound_title);
  EXPECT_NE(frame.tray()->toolTip().toStdString().find(notice), std::string::npos)
      << frame.tray()->toolTip().toStdString();
}

}  // namespace
}  // namespace zta::test
