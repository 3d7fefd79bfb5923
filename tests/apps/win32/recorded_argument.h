#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace quill::testing {

// Reads what the recording program wrote (its argument count and its one
// argument, UTF-16), waiting up to ten seconds for the file to appear.
inline std::wstring WaitForRecord(const std::filesystem::path& record) {
  for (int i = 0; i < 1000 && !std::filesystem::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(record, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                      bytes.size() / sizeof(wchar_t));
}

}  // namespace quill::testing
