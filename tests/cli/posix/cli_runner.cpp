#include "cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "temp_dir.h"
#include "zip_writer.h"

extern char** environ;

namespace quill::testing {

ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments) {
  const TempDir streams;
  const std::string outPath = (streams / "out").string();
  const std::string errPath = (streams / "err").string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> strings{program.string()};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : strings) argv.push_back(text.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program.string());
  int wait = 0;
  if (::waitpid(pid, &wait, 0) != pid) throw std::runtime_error("lost " + program.string());

  ProgramRun run;
  run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  return run;
}

ProgramRun RunCli(const std::vector<std::string>& arguments) {
  return RunProgram(QUILLMERE_CLI, arguments);
}

}  // namespace quill::testing
