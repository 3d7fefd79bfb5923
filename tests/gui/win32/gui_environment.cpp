// The application object that every window test needs, created once for the
// whole test program on the offscreen platform. Windows has no session bus:
// Explorer is asked through the shell.

#include <gtest/gtest.h>

#include <memory>

#include "widgets/application.h"

namespace {

class GuiEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<quill::Application>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[10] = "gui_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<quill::Application> application_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
