#pragma once
// Real processes of the built program in a private session: a copy of the program in a fresh
// folder (its data folder), private XDG folders and runtime folder, and the simulated sound card
// writing into "played/".
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "announcements/settings_store.hpp"
#include "app/single_instance.hpp"
#include "base/file_io.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(ZTA_VRXPAR, dir.file("vrxpar"));
    std::filesystem::permissions(dir.file("vrxpar"), std::filesystem::perms::owner_all);
    for (const char* sub : {"run", "played", "config", "share", "home", "home/Desktop"})
      ::mkdir(dir.file(sub).c_str(), 0700);
    env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.file("run")));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    env.insert("XDG_DATA_HOME", QString::fromStdString(dir.file("share")));
    // Nothing the installer registers may reach the real home or desktop settings.
    env.insert("HOME", QString::fromStdString(dir.file("home")));
    env.insert("GSETTINGS_BACKEND", "memory");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ZTA_AUDIO", QString::fromStdString("sim:" + dir.file("played")));
    server_name = instance_server_name_for(QByteArray::fromStdString(dir.file("run")));
  }
  void TearDown() override {
    for (auto& p : started) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
    }
  }

  QProcess* start(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(QString::fromStdString(dir.path()));
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QString::fromStdString(dir.file("vrxpar")), args);
    started.push_back(std::move(p));
    return started.back().get();
  }
  // Waits until a copy listens (a bare connection is answered with a greeting and dropped).
  bool listening(int timeout_ms = 20000) {
    for (int waited = 0; waited < timeout_ms; waited += 100) {
      QLocalSocket s;
      s.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
      s.connectToServer(server_name);
      if (s.waitForConnected(200)) return true;
      QTest::qWait(100);
    }
    return false;
  }
  int run_to_end(const QStringList& args) {
    QProcess* p = start(args);
    if (!p->waitForFinished(30000)) return -1;
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -2;
  }
  // The announcements saved in the data folder's settings file.
  std::vector<std::string> saved_names() {
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(dir.file("vrxpa.dat"), bytes)) return {};
    station st(dir.path());
    decode_settings_file(bytes, st);
    std::vector<std::string> names;
    for (const ann_blk& a : st.content.list) names.emplace_back(a.name_text());
    return names;
  }

  temp_folder dir;
  QProcessEnvironment env;
  QString server_name;
  std::vector<std::unique_ptr<QProcess>> started;
};

}  // namespace zta::test
