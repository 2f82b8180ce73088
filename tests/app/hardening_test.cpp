// The program under conditions met in the field: the list changing under the panel, a refused
// control folder, leftovers of a killed save, a quit while the Confirm Close box is open, a load
// that stops early, the FTP worker awaited, and saves inside a job's loop.
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "announcements/clip_files.hpp"
#include "announcements/remote_folder.hpp"
#include "announcements/settings_store.hpp"
#include "app/headless_player.hpp"
#include "app/load_stepper.hpp"
#include "app/loaddlg.hpp"
#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "base/byte_codec.hpp"
#include "platform/sim/folder_ftp_client.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/app/package_fixture.hpp"
#include "tests/ui/modal_driver.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

// Runs the loop until it has waited (gone idle) for a moment.
void run_idle(int ms = 50) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::vector<std::int16_t> tone(std::size_t n) {
  std::vector<std::int16_t> pcm(n);
  for (std::size_t i = 0; i < n; ++i) pcm[i] = static_cast<std::int16_t>((i % 40) * 300);
  return pcm;
}

package_record_spec spec(const char* name, std::int32_t stamp, const char* script) {
  package_record_spec r;
  r.name = name;
  r.id_stamp = stamp;
  r.id_serial = 3000;
  r.script = script;
  return r;
}

class HardenedPanelTest : public app_fixture {
 protected:
  void SetUp() override {
    app_fixture::SetUp();
    frame = std::make_unique<main_frame>(
        *ctx, [this](QWidget* owner, box_kind kind, const QString& caption, const QString& text) {
          if (auto* dlg = qobject_cast<loaddlg*>(owner))
            status_at_box = dlg->status_label()->text();
          return box_fn()(owner, kind, caption, text);
        });
    panel = frame->client();
  }
  void TearDown() override {
    frame.reset();
    app_fixture::TearDown();
  }
  QListWidget* list() const { return static_cast<QListWidget*>(panel->control(id_list)); }
  QString script() const { return static_cast<QLabel*>(panel->control(id_script))->text(); }
  // The names in the control folder's listing.
  std::vector<std::string> listed_names(const fs::path& folder) const {
    std::vector<std::uint8_t> b;
    std::vector<std::string> names;
    if (!read_whole_file((folder / listing_file_name).string(), b)) return names;
    for (std::size_t at = listing_header_size; at + listing_record_size <= b.size();
         at += listing_record_size)
      names.emplace_back(reinterpret_cast<const char*>(b.data() + at + 4));
    return names;
  }
  // The automatic update due now, by the file method from `path`.
  void update_due_from(const std::string& path) {
    load_options& o = ctx->st.load_opts;
    o.method = load_method::file;
    set_field_text(o.file_path, path);
    o.update_interval = 3600;
    o.min_retry = 6000;
    o.last_success = wednesday_noon() - 10000;
    o.last_attempt = wednesday_noon() - 10000;
  }

  std::unique_ptr<main_frame> frame;
  main_window* panel = nullptr;
  QString status_at_box;
};

TEST_F(HardenedPanelTest, AutomaticUpdateRefillsThePanelKeepingTheSelectedAnnouncement) {
  ann_blk& morning = add_announcement("Morning", 0);
  morning.id_stamp = 10;
  morning.id_serial = 3000;
  ann_blk& noon = add_announcement("Noon", 1);
  noon.id_stamp = 20;
  noon.id_serial = 3000;
  noon.script = "Lunch is served";
  temp_folder ctl;  // outside the data folder
  set_field_text(ctx->st.settings.control_folder, ctl.path());
  package_build b;
  b.records = {spec("Noon", 20, "Lunch is served"), spec("Evening", 30, "Good night")};
  dir.write("update.vrx", build_package_file(b, {{30, 3000, encode_sound(tone(3000), false)}}));
  dir.write("vrxpa.dat", encode_settings_file(ctx->st));
  panel->set_up(std::nullopt);
  update_due_from(dir.file("update.vrx"));
  list()->setCurrentRow(1);
  ASSERT_EQ(script(), "Lunch is served");

  panel->timers().fire(2);  // the daily update loads the package
  ASSERT_EQ(panel->list_count(), 2);
  EXPECT_EQ(list()->item(0)->text(), "Noon");
  EXPECT_EQ(list()->item(1)->text(), "Evening");
  EXPECT_EQ(list()->currentRow(), 0) << "the selection follows the announcement, not the row";
  EXPECT_EQ(script(), "Lunch is served");
  EXPECT_EQ(listed_names(ctl.root()), (std::vector<std::string>{"Noon", "Evening"}))
      << "the listing is rewritten at once";
  EXPECT_TRUE(ctx->dirty());
}

TEST_F(HardenedPanelTest, ListPositionsOfAShrunkListAreNoIndexes) {
  add_announcement("One", 0).script = "first";
  add_announcement("Two", 1).script = "second";
  add_announcement("Three", 2).script = "third";
  panel->fill_list();
  // A nested loop changed the list before the panel was refilled.
  ctx->st.content.list.erase(2);
  ctx->st.content.list.erase(1);
  EXPECT_EQ(panel->list_index(0), 0);
  EXPECT_EQ(panel->list_index(2), -1);
  list()->setCurrentRow(2);
  EXPECT_EQ(script(), "");
  panel->play_selected();
  EXPECT_EQ(out->opens, 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(HardenedPanelTest, HandedOverFileWhosePathHoldsASwitchIsLoaded) {
  for (const char* folder : {"logon", "service", "install"}) {
    ctx->st.content.list.clear();
    fs::create_directories(dir.file(folder));
    const std::string path = dir.file(std::string(folder) + "/shop.vrx");
    dir.write(std::string(folder) + "/shop.vrx", one_announcement_package("Shop Opening"));
    bool hidden = false;
    auto c = QObject::connect(panel, &main_window::hideRequested, [&] { hidden = true; });
    panel->open_command(path);
    QObject::disconnect(c);
    EXPECT_FALSE(hidden) << folder;
    ASSERT_EQ(panel->list_count(), 1) << folder;
    EXPECT_EQ(list()->item(0)->text(), "Shop Opening") << folder;
  }
}

TEST_F(HardenedPanelTest, RefusedControlFolderIsExplainedAtStart) {
  set_field_text(ctx->st.settings.control_folder, ctx->st.data_folder);
  dir.write("vrxpa.dat", encode_settings_file(ctx->st));
  panel->set_up(std::nullopt);
  run_idle();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_warning);
  EXPECT_EQ(boxes[0].text, QString::fromLatin1(refused_data_folder_text));
  EXPECT_FALSE(ctx->remote.enabled());
  for (int i = 0; i < 3; ++i) panel->timers().fire(5);  // the polls say nothing more
  run_idle();
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(HardenedPanelTest, HeadlessRefusedControlFolderGoesToTheLog) {
  set_field_text(ctx->st.settings.control_folder, ctx->st.data_folder);
  dir.write("vrxpa.dat", encode_settings_file(ctx->st));
  frame.reset();
  headless_player player(*ctx);
  testing::internal::CaptureStderr();
  player.set_up(std::nullopt);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(refused_data_folder_text), std::string::npos) << err;
}

TEST_F(HardenedPanelTest, LeftoversOfAKilledSaveAreRemovedAtStart) {
  for (const char* name : {"vrxpa.dat.Ab12Cd", "vrxpa.dat.zz99ZZ", "vrxpa.dat.keep",
                           "vrxpa.dat.Ab12C", "other.dat.Ab12Cd"})
    dir.write(name, std::string(100, 'x'));
  panel->set_up(std::nullopt);
  EXPECT_FALSE(dir.exists("vrxpa.dat.Ab12Cd"));
  EXPECT_FALSE(dir.exists("vrxpa.dat.zz99ZZ"));
  EXPECT_TRUE(dir.exists("vrxpa.dat.keep")) << "not a name the save makes";
  EXPECT_TRUE(dir.exists("vrxpa.dat.Ab12C"));
  EXPECT_TRUE(dir.exists("other.dat.Ab12Cd"));
}

TEST_F(HardenedPanelTest, QuitWhileConfirmCloseIsOpenEndsAtOnceAndSaves) {
  frame->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  ctx->settings_dirty = true;
  bool ended_while_asking = false;
  frame =
      std::make_unique<main_frame>(*ctx, [&](QWidget*, box_kind, const QString&, const QString&) {
        // The box is open (a nested loop) when the quit request (SIGTERM) arrives.
        QEventLoop loop;
        QTimer::singleShot(0, frame.get(), [&] { frame->quit_without_asking(); });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
          if (frame->has_ended()) loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
        ended_while_asking = frame->has_ended();
        return box_answer::yes;  // an answer that comes too late
      });
  frame->show();
  frame->close();
  EXPECT_TRUE(ended_while_asking) << "the quit waited for the box's answer";
  EXPECT_TRUE(frame->has_ended());
  EXPECT_EQ(frame->end_reason(), frame_end::quit_request);
  EXPECT_FALSE(ctx->dirty());
  EXPECT_TRUE(dir.exists("vrxpa.dat"));
}

TEST_F(HardenedPanelTest, OnlyTheUsersNoKeepsTheServiceFromTakingOver) {
  struct end_case {
    const char* label;
    std::function<void(main_frame&)> end;
    frame_end why;
  };
  const end_case cases[] = {
      {"confirm_close_no",
       [this](main_frame& f) {
         answers = {box_answer::no};
         f.close();
       },
       frame_end::user_closed},
      {"quit_request",
       [](main_frame& f) {
         f.quit_without_asking();
         QCoreApplication::processEvents();
       },
       frame_end::quit_request},
      {"session_end",
       [](main_frame& f) {
         f.session_ending();
         f.close();
       },
       frame_end::session_end},
  };
  for (const end_case& c : cases) {
    main_frame f(*ctx, box_fn());
    f.show();
    EXPECT_EQ(f.end_reason(), frame_end::none) << c.label;
    c.end(f);
    EXPECT_TRUE(f.has_ended()) << c.label;
    EXPECT_EQ(f.end_reason(), c.why) << c.label;
  }
}

TEST_F(HardenedPanelTest, LoadThatStopsEarlyKeepsWhatLoadedAndSaysWhy) {
  auto bytes = one_announcement_package("Shop Opening");
  bytes.resize(bytes.size() - 10);  // cut inside the sound
  dir.write("cut.vrx", bytes);
  panel->open_command(dir.file("cut.vrx"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_warning);
  EXPECT_EQ(boxes[0].text,
            "Some announcements could not be loaded.\n\nThe file ends inside a sound.");
  EXPECT_EQ(status_at_box, "The file ends inside a sound.");
  ASSERT_EQ(ctx->st.content.list.count(), 1) << "the list section was loaded";
  EXPECT_EQ(ctx->st.content.list[0].clip, -1);
}

TEST_F(HardenedPanelTest, HeadlessLoadThatStopsEarlySaysWhyInTheLog) {
  auto bytes = one_announcement_package("Shop Opening");
  bytes.resize(bytes.size() - 10);
  dir.write("cut.vrx", bytes);
  frame.reset();
  headless_player player(*ctx);
  testing::internal::CaptureStderr();
  player.open_command(dir.file("cut.vrx"));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Some announcements could not be loaded. The file ends inside a sound."),
            std::string::npos)
      << err;
}

TEST_F(HardenedPanelTest, ASaveDuringAHandedOverLoadWritesTheStoredLoadMethod) {
  ctx->st.load_opts.method = load_method::ftp;
  ctx->st.load_opts.drive = 1;
  set_field_text(ctx->st.load_opts.file_path, "/srv/packages/shop.vrx");
  panel->set_up(std::nullopt);
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  station in_file(dir.path());
  bool saved_inside = false;
  when_modal<loaddlg>([&](loaddlg&) {
    // What the idle save does between two sounds, or the end when a signal comes.
    saved_inside = ctx->save();
    std::vector<std::uint8_t> bytes;
    if (read_whole_file(dir.file("vrxpa.dat"), bytes)) decode_settings_file(bytes, in_file);
  });
  panel->open_command(dir.file("shop.vrx"));
  ASSERT_TRUE(saved_inside) << "the load ended before the dialog was seen";
  EXPECT_EQ(in_file.load_opts.method, load_method::ftp);
  EXPECT_EQ(in_file.load_opts.drive, 1);
  EXPECT_EQ(field_text(in_file.load_opts.file_path), "/srv/packages/shop.vrx");
  // The load itself read the handed-over file, and the options in memory are the stored ones.
  ASSERT_EQ(ctx->st.content.list.count(), 1);
  EXPECT_EQ(ctx->st.content.list[0].name_text(), "Shop Opening");
  EXPECT_EQ(ctx->st.load_opts.method, load_method::ftp);
  EXPECT_EQ(field_text(ctx->st.load_opts.file_path), "/srv/packages/shop.vrx");
}

TEST_F(HardenedPanelTest, IdleSaveWaitsWhileAJobFillsAClip) {
  panel->set_up(std::nullopt);
  ctx->settings_dirty = true;
  set_clip_filling(ctx->st, 5, true);
  run_idle();
  EXPECT_FALSE(dir.exists("vrxpa.dat")) << "saved (and cleaned up clips) inside a job";
  EXPECT_TRUE(ctx->dirty());
  set_clip_filling(ctx->st, 5, false);
  run_idle();
  EXPECT_TRUE(dir.exists("vrxpa.dat"));
  EXPECT_FALSE(ctx->dirty());
}

// A server whose stamp lookup waits until the test opens the gate.
class gated_ftp final : public ftp_client {
 public:
  explicit gated_ftp(std::string folder) : inner_(std::move(folder)) {}
  ftp_lookup remote_stamp(const std::string& server, const std::string& name,
                          std::int32_t& stamp) override {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return open_; });
    lock.unlock();
    return inner_.remote_stamp(server, name, stamp);
  }
  bool download(const std::string& server, const std::string& name, const std::string& local,
                const std::function<bool()>& cancelled) override {
    return inner_.download(server, name, local, cancelled);
  }
  void open() {
    std::lock_guard lock(m_);
    open_ = true;
    cv_.notify_all();
  }

 private:
  folder_ftp_client inner_;
  std::mutex m_;
  std::condition_variable cv_;
  bool open_ = false;
};

class FtpWaitTest : public app_fixture {
 protected:
  void SetUp() override {
    gate = std::make_shared<gated_ftp>(server.path());
    ftp = gate;
    app_fixture::SetUp();
  }
  void TearDown() override {
    gate->open();  // never leave the worker waiting
    app_fixture::TearDown();
  }
  temp_folder server;
  std::shared_ptr<gated_ftp> gate;
};

TEST_F(FtpWaitTest, NoStepRunsWhileTheWorkerIsAwaited) {
  server.write("pa0.vrx", one_announcement_package("Shop Opening"));
  ctx->st.load_opts.method = load_method::ftp;
  load_stepper stepper(*ctx);
  bool done = false;
  bool loaded = false;
  QStringList shown;
  QObject::connect(&stepper, &load_stepper::finished, [&](bool ok) {
    done = true;
    loaded = ok;
  });
  QObject::connect(&stepper, &load_stepper::statusChanged,
                   [&](const QString& text) { shown << text; });
  stepper.start();
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(stepper.running());
  EXPECT_FALSE(stepper.stepping()) << "a step ran at every idle turn while the worker was awaited";
  gate->open();
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 30000));
  EXPECT_TRUE(loaded);
  EXPECT_EQ(shown, (QStringList{"Connecting...", "Downloading...", "Unpacking Files..."}));
  ASSERT_EQ(ctx->st.content.list.count(), 1);
  EXPECT_GE(ctx->st.content.list[0].clip, 0);
}

}  // namespace
}  // namespace zta::test
