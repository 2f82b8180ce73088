#include "app/install_mode.hpp"

#include <QApplication>
#include <QFile>

#include "app/install_window.hpp"
#include "app/single_instance.hpp"
#include "install/installer.hpp"
#include "install/shell_steps.hpp"
#include "platform/backends/system_services.hpp"
#include "ui/resource_paths.hpp"

namespace zta {

namespace {

// How long a running player gets to save and end before the installer goes on regardless.
constexpr int close_wait_ms = 10000;

std::vector<std::uint8_t> program_icon_png() {
  ui::ensure_resources();
  QFile f(QStringLiteral(":/zta/icons/app-48.png"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

void close_player() {
  QCoreApplication::setApplicationName(QStringLiteral("vrxpar"));
  QApplication::setQuitOnLastWindowClosed(false);
  close_running_copy(instance_server_name(), close_wait_ms);
}

}  // namespace

int run_install_mode(const std::string& setup_path, int& argc, char** argv) {
  QApplication app(argc, argv);
  close_player();
  install_services s = make_install_services(program_icon_png());
  const install_origin origin = origin_of_setup(setup_path, *s.drives);
  install_window window(show_message_box);
  installer inst(setup_path, origin, s.clock->local_now(), *s.registry, *s.shell, window);
  QObject::connect(&window, &install_window::ended, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  window.run(inst);
  app.exec();
  return inst.installed() ? 0 : 1;
}

int run_uninstall_mode(int& argc, char** argv) {
  QApplication app(argc, argv);
  close_player();
  install_services s = make_install_services(program_icon_png());
  uninstall_window window(show_message_box, [&s] { uninstall(*s.registry, *s.shell); });
  QObject::connect(&window, &uninstall_window::ended, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  window.run();
  app.exec();
  return window.removed() ? 0 : 1;
}

}  // namespace zta
