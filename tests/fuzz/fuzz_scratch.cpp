#include "fuzz_scratch.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quill::fuzzing {
namespace {

std::filesystem::path ScratchParent() {
  if (const char* chosen = std::getenv("QUILLMERE_FUZZ_SCRATCH"); chosen && *chosen) return chosen;
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

}  // namespace

FuzzScratch::FuzzScratch() {
  std::string pattern = (ScratchParent() / "quill-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed: " + pattern);
  folder_ = pattern;
  input_ = folder_ / "input.epub";
}

FuzzScratch::~FuzzScratch() {
  namespace fs = std::filesystem;
  std::error_code ec;
  // Unpacked files may be read-only; their folders never are.
  fs::remove_all(folder_, ec);
}

const std::filesystem::path& FuzzScratch::WriteInput(const std::uint8_t* data, std::size_t size) {
  std::ofstream out(input_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + input_.string());
  return input_;
}

}  // namespace quill::fuzzing
