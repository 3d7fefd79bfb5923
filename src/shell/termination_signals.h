#pragma once

namespace quill {

// Turns the requests to end the program that arrive from outside (a desktop
// session ending, Ctrl+C in a terminal, the terminal closing: SIGTERM, SIGINT
// and SIGHUP on POSIX) into a descriptor that becomes readable, so that the
// event loop can notice them and end normally, and everything that is saved
// at the end of the run is saved.
// While an object exists the requests no longer end the process at once; its
// destruction restores the handling that was in place before. One object at a
// time.
class TerminationSignals {
 public:
  TerminationSignals();
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // Readable once a request has arrived; -1 when requests could not be
  // caught, in which case they keep their default effect.
  int Descriptor() const { return readEnd_; }

  // Whether a request has arrived and not been drained; never waits.
  bool Pending() const;

  // Takes the pending requests, so that the descriptor stops being readable
  // until the next one arrives.
  void Drain();

 private:
  int readEnd_ = -1;
  int writeEnd_ = -1;
};

}  // namespace quill
