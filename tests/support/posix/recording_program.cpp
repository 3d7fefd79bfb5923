#include "recording_program.h"

namespace quill::testing {

// A shell script that writes its record beside itself.
void InstallRecordingProgram(const std::filesystem::path& program,
                             const std::filesystem::path& marker) {
  const std::string quoted = "'" + marker.string() + "'";
  const std::string record = "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; }";
  const std::string script = "#!/bin/sh\n" + record + " > " + quoted + ".part\n";
  WriteFile(program, script + "mv " + quoted + ".part " + quoted + "\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

}  // namespace quill::testing
