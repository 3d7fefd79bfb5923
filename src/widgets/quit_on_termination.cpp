#include "widgets/quit_on_termination.h"

#include <QApplication>
#include <QSocketNotifier>

namespace quill {

QuitOnTermination::QuitOnTermination(QObject* parent) : QObject(parent) {
  if (signals_.Descriptor() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signals_.Descriptor(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    signals_.Drain();
    // Closing the windows first stops a running add command, which pumps
    // messages of its own and would otherwise run on to its end.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
  });
}

QuitOnTermination::~QuitOnTermination() = default;

}  // namespace quill
