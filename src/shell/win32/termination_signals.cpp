#include "shell/termination_signals.h"

namespace quill {

// A Windows program learns that the session ends through its windows' messages,
// which the window toolkit turns into a normal end of the run; there is no
// request to catch here, and the descriptor stays -1.
TerminationSignals::TerminationSignals() = default;

TerminationSignals::~TerminationSignals() = default;

bool TerminationSignals::Pending() const { return false; }

void TerminationSignals::Drain() {}

}  // namespace quill
