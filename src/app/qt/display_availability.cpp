#include "app/qt/display_availability.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/parent_console.h"

namespace quill {
namespace {

struct HeldMessage {
  QtMsgType type;
  QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;

void HoldOrEnd(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) {
    ParentConsole().Write(stderr, kNoDisplayLine);
    std::_Exit(2);
  }
  heldMessages.push_back({type, text});
}

}  // namespace

bool DisplayMissing([[maybe_unused]] int argc, [[maybe_unused]] char* argv[]) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return false;
#else
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--") break;
    // Qt takes its options with one dash or two.
    if (argument.starts_with("--")) argument.remove_prefix(1);
    if (argument == "-platform" || argument == "-display") return false;
  }
  return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

PlatformStartGuard::PlatformStartGuard() { previousHandler = qInstallMessageHandler(HoldOrEnd); }

PlatformStartGuard::~PlatformStartGuard() {
  qInstallMessageHandler(previousHandler);
  // The platform has started: what it said on the way was no farewell.
  const std::vector<HeldMessage> held = std::exchange(heldMessages, {});
  for (const HeldMessage& message : held)
    qt_message_output(message.type, QMessageLogContext(), message.text);
}

}  // namespace quill
