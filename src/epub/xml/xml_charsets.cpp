#include "epub/xml/xml_charsets.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/text.h"

namespace quill {
namespace {

// Names and aliases of the character sets in common use, lower-cased and
// grouped by character set.
// clang-format off
constexpr std::array<std::string_view, 97> kCharsets = {
    "utf-8", "utf8", "unicode-1-1-utf-8", "unicode-2-0-utf-8", "x-unicode20utf8",
    "utf-16", "utf-16le", "utf-16be", "unicode", "unicodefffe", "ucs-2", "iso-10646-ucs-2",
    "utf-32", "utf-32le", "utf-32be", "utf-7", "unicode-1-1-utf-7",
    "us-ascii", "ascii", "ansi_x3.4-1968", "iso646-us", "cp367", "ibm367",
    "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "cp819", "ibm819",
    "iso-8859-2", "latin2", "iso-8859-3", "latin3", "iso-8859-4", "latin4",
    "iso-8859-5", "cyrillic", "iso-8859-6", "arabic", "iso-8859-7", "greek",
    "iso-8859-8", "iso-8859-8-i", "hebrew", "iso-8859-9", "latin5", "iso-8859-10", "latin6",
    "iso-8859-11", "iso-8859-13", "iso-8859-14", "iso-8859-15", "latin-9", "iso-8859-16",
    "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
    "windows-1255", "windows-1256", "windows-1257", "windows-1258", "windows-874",
    "cp1250", "cp1251", "cp1252", "cp1253", "cp1254", "cp1255", "cp1256", "cp1257", "cp1258",
    "ibm437", "cp437", "ibm850", "cp850", "ibm852", "cp852", "ibm866", "cp866",
    "koi8-r", "koi8-u", "macintosh", "x-mac-roman",
    "shift_jis", "shift-jis", "sjis", "euc-jp", "iso-2022-jp", "euc-kr", "ks_c_5601-1987",
    "gb2312", "gbk", "gb18030", "big5"};
// clang-format on

}  // namespace

bool IsKnownCharset(std::string_view name) {
  const std::string lower = LowerAscii(name);
  return std::find(kCharsets.begin(), kCharsets.end(), lower) != kCharsets.end();
}

}  // namespace quill
