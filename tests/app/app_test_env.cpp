#include "tests/app/app_test_env.hpp"

#include <sys/stat.h>

#include <QApplication>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "announcements/clip_files.hpp"
#include "platform/backends/audio_backends.hpp"
#include "platform/sim/posix_locale_info.hpp"
#include "tests/common/announcement_maker.hpp"

namespace zta::test {

namespace {

std::string make_session() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "zta-app-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
  for (const char* sub : {"run", "config", "data"}) {
    std::string p = tmpl + "/" + sub;
    ::mkdir(p.c_str(), 0700);
  }
  ::setenv("XDG_RUNTIME_DIR", (tmpl + "/run").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (tmpl + "/config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (tmpl + "/data").c_str(), 1);
  return tmpl;
}

class qt_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    session_folder();
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override {
    app_.reset();
    std::error_code ec;
    std::filesystem::remove_all(session_folder(), ec);
  }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const qt_env =
    ::testing::AddGlobalTestEnvironment(new qt_environment);

}  // namespace

const std::string& session_folder() {
  static const std::string folder = make_session();
  return folder;
}

std::int32_t wednesday_noon() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 6;
  t.tm_hour = 12;
  return static_cast<std::int32_t>(timegm(&t));
}

void app_fixture::SetUp() {
  platform_services s;
  auto o = std::make_unique<test_wave_out>();
  out = o.get();
  auto m = std::make_unique<recording_aux_mixer>();
  mixer = m.get();
  s.devices.out = std::move(o);
  s.devices.mixer = std::move(m);
  s.devices.description = "test";
  auto c = std::make_unique<fixed_wall_clock>(wednesday_noon());
  clock = c.get();
  s.clock = std::move(c);
  xdg_roots roots{dir.path() + "share", dir.path() + "config", false};
  s.registry = std::make_unique<xdg_startup_registry>(roots);
  s.locale = std::make_unique<fixed_locale_info>(date_order::month_day_year);
  s.ftp = ftp;
  ctx = std::make_unique<app_context>(dir.path(), std::move(s));
  ctx->st.settings.chimes = 0;
}

void app_fixture::TearDown() {
  ctx.reset();
}

void panel_fixture::SetUp() {
  app_fixture::SetUp();
  frame = std::make_unique<main_frame>(*ctx, box_fn());
  panel = frame->client();
}

void panel_fixture::TearDown() {
  frame.reset();
  app_fixture::TearDown();
}

std::unique_ptr<app_context> simulated_context(const temp_folder& dir, const std::string& card,
                                               double speed, date_order order,
                                               fixed_wall_clock** clock) {
  std::filesystem::create_directories(dir.path() + card);
  std::filesystem::create_directories(dir.path() + "data");
  platform_services s;
  std::string error;
  const std::string value = "sim:" + dir.path() + card + ":speed=" + std::to_string(speed);
  EXPECT_TRUE(make_audio_devices(value.c_str(), s.devices, error)) << error;
  auto c = std::make_unique<fixed_wall_clock>(wednesday_noon());
  if (clock != nullptr) *clock = c.get();
  s.clock = std::move(c);
  s.registry = std::make_unique<xdg_startup_registry>(
      xdg_roots{dir.path() + "share", dir.path() + "config", false});
  s.locale = std::make_unique<fixed_locale_info>(order);
  return std::make_unique<app_context>(dir.path() + "data/", std::move(s));
}

ann_blk& app_fixture::add_announcement(const std::string& name, int clip, bool manual) {
  ann_blk a = always_current(name, clip);
  a.manual = manual ? 1 : 0;
  if (clip >= 0) {
    dir.write(std::filesystem::path(clip_path(ctx->st, clip)).filename().string(),
              std::vector<std::uint8_t>(44100, 0));
    ctx->st.clip_use[static_cast<std::size_t>(clip)] |= clip_allocated;
  }
  ctx->st.content.list.push_back(a);
  return ctx->st.content.list[ctx->st.content.list.count() - 1];
}

message_box_fn answering_boxes(std::vector<shown_box>& boxes, std::vector<box_answer>& answers) {
  return [&boxes, &answers](QWidget*, box_kind kind, const QString& caption, const QString& text) {
    boxes.push_back({kind, caption, text});
    if (answers.empty()) return box_answer::cancel;
    box_answer a = answers.front();
    answers.erase(answers.begin());
    return a;
  };
}

message_box_fn app_fixture::box_fn() {
  return answering_boxes(boxes, answers);
}

}  // namespace zta::test
