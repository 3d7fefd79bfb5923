#include "recording_program.h"

namespace quill::testing {

// A copy of the small Windows program built for the tests, which writes its
// record to "<its own path>.marker"; the marker is named the same way here.
void InstallRecordingProgram(const std::filesystem::path& program, const std::filesystem::path&) {
  std::filesystem::copy_file(std::filesystem::absolute(QUILL_RECORD_ARGUMENT).make_preferred(),
                             program);
}

}  // namespace quill::testing
