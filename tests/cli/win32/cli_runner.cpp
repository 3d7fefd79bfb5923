#include "cli_runner.h"

#include <windows.h>

#include <stdexcept>

#include "base/path_text.h"
#include "base/win32/wide_text.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill::testing {
namespace {

// One argument as the C runtime's command-line parser reads it back: in
// double quotes, with backslashes doubled only where a quote follows them.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

// A file handle that the started program inherits as one of its streams.
class InheritedFile {
 public:
  InheritedFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handle_ = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + Utf8Of(path));
  }
  ~InheritedFile() { ::CloseHandle(handle_); }
  InheritedFile(const InheritedFile&) = delete;
  InheritedFile& operator=(const InheritedFile&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments) {
  const TempDir streams;
  ProgramRun run;
  {  // the streams close before they are read
    const InheritedFile in(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const InheritedFile out(streams / "out", GENERIC_WRITE, CREATE_ALWAYS);
    const InheritedFile err(streams / "err", GENERIC_WRITE, CREATE_ALWAYS);

    std::wstring commandLine = Quoted(program.wstring());
    for (const std::string& argument : arguments) commandLine += L" " + Quoted(WideOf(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &process)) {
      throw std::runtime_error("cannot start " + Utf8Of(program));
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    run.status = static_cast<int>(status);
  }
  run.out = ReadFile(streams / "out");
  run.err = ReadFile(streams / "err");
  return run;
}

ProgramRun RunCli(const std::vector<std::string>& arguments) {
  return RunProgram(std::filesystem::absolute(QUILLMERE_CLI).make_preferred(), arguments);
}

}  // namespace quill::testing
