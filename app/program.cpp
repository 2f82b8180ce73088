#include "app/program.hpp"

#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_context.hpp"
#include "app/command_line.hpp"
#include "app/data_location.hpp"
#include "app/headless_player.hpp"
#include "app/install_mode.hpp"
#include "app/main_frame.hpp"
#include "app/run_mode.hpp"
#include "app/shutdown_signals.hpp"
#include "app/single_instance.hpp"
#include "platform/backends/system_services.hpp"
#include "platform/xdg/systemd_notifier.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"

namespace zta {

namespace {

// The program file as started (its name chooses the run mode).
std::string program_path(const char* argv0) {
  std::string p = argv0 != nullptr ? argv0 : "";
  std::error_code ec;
  if (p.find('/') != std::string::npos) return std::filesystem::absolute(p, ec).string();
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? p : self.string();
}

// The program file itself, every link resolved: the data folder lies beside it, not beside a
// link to it.
std::string real_program_path(const std::string& started_as) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.string();
  auto real = std::filesystem::canonical(started_as, ec);
  return ec ? started_as : real.string();
}

// The service manager hears that this copy is done once it handed its work to the running one.
void tell_manager_handed_over() {
  systemd_notifier manager(notify_environment_from_process());
  manager.ready();
  manager.stopping();
}

// Tells whoever started this copy that it ends because the name stays taken.
void report_name_taken(bool headless) {
  std::fprintf(stderr, "vrxpar: %s\n", name_taken_text);
  if (!headless)
    show_message_box(nullptr, box_kind::ok_warning, QString::fromLatin1(frame_title),
                     QString::fromLatin1(name_taken_text));
}

// Where the simulated device writes when it stands in for a missing sound card.
constexpr char played_folder_name[] = "played";

std::unique_ptr<app_context> make_context(const std::string& data_folder,
                                          const std::string& system_program, int& status) {
  platform_services services;
  if (!system_program.empty()) {
    // A system-wide installation starts its own program file at log-on and as a service.
    services.registry =
        std::make_unique<xdg_startup_registry>(xdg_roots_from_environment(), system_program);
  }
  std::string error;
  if (!fill_system_services(services, std::getenv("ZTA_AUDIO"), error,
                            data_folder + played_folder_name)) {
    std::fprintf(stderr, "vrxpar: %s\n", error.c_str());
    status = usage_error_status;
    return nullptr;
  }
  if (!services.devices.notice.empty())
    std::fprintf(stderr, "vrxpar: %s\n", services.devices.notice.c_str());
  else if (services.devices.description != "ALSA")
    std::fprintf(stderr, "vrxpar: sound device: %s\n", services.devices.description.c_str());
  return std::make_unique<app_context>(data_folder, std::move(services));
}

}  // namespace

int run_program(int argc, char** argv) {
  const std::string path = program_path(argc > 0 ? argv[0] : nullptr);
  const command_line opts = parse_command_line(argc, argv);
  if (opts.help) {
    print_program_help(stdout);
    return 0;
  }
  if (opts.version) {
    print_program_version(stdout);
    return 0;
  }
  // The installer and the uninstaller are chosen by the file name alone, and take no arguments.
  const run_mode by_name = plan_start(path, opts.args, "").mode;
  if (by_name == run_mode::install) return run_install_mode(path, argc, argv);
  if (by_name == run_mode::uninstall) return run_uninstall_mode(argc, argv);
  if (!opts.error.empty()) {
    print_usage_error(opts, stderr);
    return usage_error_status;
  }
  const std::string real_path = real_program_path(path);
  xdg_startup_registry user_registry(xdg_roots_from_environment());
  const data_location where = locate_data_folder(real_path, user_registry);
  seed_data_folder(where);
  const std::string& data_folder = where.folder;
  const start_plan plan = plan_start(path, opts.args, data_folder);
  // Relative file names refer to the program's own folder from here on.
  if (::chdir(data_folder.c_str()) != 0) std::perror("vrxpar: data folder");

  const bool headless = plan.mode == run_mode::service;
  std::unique_ptr<QCoreApplication> app;
  if (headless)
    app = std::make_unique<QCoreApplication>(argc, argv);
  else
    app = std::make_unique<QApplication>(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vrxpar"));

  const QString name = instance_server_name();
  instance_server server(headless);
  if (opts.screenshot.empty()) {
    switch (claim_instance(server, name, plan.handover_text, !headless)) {
      case claim_result::handed_over:
        // A service that ends before it is ready counts as failed and would be started again
        // and again while the desktop copy plays.
        if (headless) tell_manager_handed_over();
        return 0;
      case claim_result::name_taken:
        report_name_taken(headless);
        return name_taken_status;
      case claim_result::player:
        break;
    }
  }

  int status = 0;
  std::unique_ptr<app_context> ctx =
      make_context(data_folder, where.system_wide() ? real_path : std::string(), status);
  if (!ctx) return status;
  QObject::connect(app.get(), &QCoreApplication::aboutToQuit, [&ctx] {
    if (ctx->dirty()) ctx->save();
  });

  if (headless) {
    headless_player player(*ctx);
    server.on_handover = [&player](const std::optional<std::string>& text) {
      player.open_command(text);
    };
    server.on_quit = [&app] { app->quit(); };
    server.on_yield = [&ctx, &app] {
      ctx->save();
      QTimer::singleShot(0, app.get(), &QCoreApplication::quit);
    };
    shutdown_signals on_signals([&app] { app->quit(); });
    player.set_up(plan.self_command);
    return app->exec();
  }

  QApplication::setQuitOnLastWindowClosed(false);
  main_frame frame(*ctx, show_message_box);
  frame.client()->set_program_folder(where.system_wide() ? where.shared_folder : data_folder);
  QObject::connect(&frame, &main_frame::ended, app.get(), &QCoreApplication::quit,
                   Qt::QueuedConnection);
  server.on_handover = [&frame](const std::optional<std::string>& text) { frame.handover(text); };
  // An installer or uninstaller closes the player; the service stays stopped for it.
  bool closed_for_setup = false;
  server.on_quit = [&frame, &closed_for_setup] {
    closed_for_setup = true;
    frame.quit_without_asking();
  };
  shutdown_signals on_signals([&frame] { frame.quit_without_asking(); });
  // A log-off or shutdown never asks; the settings are written while the session still lasts.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &frame, [&frame, &ctx] {
    frame.session_ending();
    ctx->save();
  });
  frame.client()->set_up(plan.self_command);
  if (!opts.screenshot.empty()) {
    frame.show();
    const QString file = QString::fromStdString(opts.screenshot);
    QTimer::singleShot(2500, &frame, [&frame, file] {
      frame.client()->close_splash();
      if (!frame.grab().save(file)) std::fprintf(stderr, "vrxpar: cannot write the screenshot\n");
      frame.quit_without_asking();
    });
  } else if (plan.show_window) {
    frame.show();
  } else if (!frame.tray_available()) {
    frame.showMinimized();
  }
  int result = app->exec();
  server.close();
  // A desktop copy that took the player over from the service hands it back when it ends,
  // unless the user chose that no more announcements play or an installer closed it.
  if (opts.screenshot.empty() && frame.end_reason() != frame_end::user_closed &&
      !closed_for_setup && ctx->services.registry->service_is_installed())
    restart_service(xdg_roots_from_environment());
  return result;
}

}  // namespace zta
