#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quill {

// UTF-8 text as the UTF-16 that the system's wide calls take, and back.
// Ill-formed input becomes U+FFFD.
std::wstring WideOf(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);

// The system's text for an error code, in UTF-8, without the line break that
// the system puts at its end.
std::string SystemErrorText(DWORD error);

}  // namespace quill
