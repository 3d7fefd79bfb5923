#pragma once

#include <string>

#include "archive/directory_entry.h"

namespace quill {

// Decodes an entry's stored name to UTF-8 by the first rule that applies:
// 1. flag bit 11, or a name that is UTF-8 by shape: UTF-8;
// 2. an Info-ZIP Unicode Path field (version 1) whose CRC-32 matches the raw
//    name: the field's UTF-8 text;
// 3. a "NUCX" field whose size agrees with its character count: its UTF-16LE text;
// 4. otherwise the system's code page for archive names. POSIX systems have
//    neither an ANSI nor an OEM code page, so code page 437, the OEM code page
//    that ZIP tools have always assumed, decodes such names here.
// Only rawName, flag and extraField of the item are read.
std::string DecodeEntryName(const TAbZipItem& item);

// Whether DecodeEntryName gives the stored bytes unchanged, which it does
// for a name of ASCII bytes that no extra field could rename.
bool NameReadsAsStored(const TAbZipItem& item);

}  // namespace quill
