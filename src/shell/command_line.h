#pragma once

#include <string>
#include <vector>

namespace quill {

// The arguments that the program was started with, after its own name, as
// UTF-8 text. `argc` and `argv` are main's; where the system keeps the command
// line in another encoding, the arguments are read from the system instead.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace quill
