#pragma once

#include <filesystem>
#include <string>

namespace quill {

// Starts the program with one argument, passed as it is (blanks and quotes
// included). The program runs detached: it is not waited for, it outlives
// this process, and it never lingers as a zombie child. True when it was
// handed to the system to start; whether the program then runs is not known.
bool StartApplication(const std::filesystem::path& program, const std::string& argument) noexcept;

}  // namespace quill
