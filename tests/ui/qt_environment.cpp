// Makes the one QApplication of the widget tests, with a private runtime folder (mode 700).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class qt_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    char dir[] = "/tmp/zta-ui-runtime-XXXXXX";
    if (mkdtemp(dir) != nullptr) {
      chmod(dir, 0700);
      runtime_ = dir;
      setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    if (!runtime_.empty()) std::filesystem::remove_all(runtime_);
  }

 private:
  int argc_ = 1;
  char name_[8] = "test_ui";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  std::string runtime_;
};

[[maybe_unused]] ::testing::Environment* const env =
    ::testing::AddGlobalTestEnvironment(new qt_environment);

}  // namespace
