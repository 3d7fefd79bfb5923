#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The archive paths of a book's spine documents, in spine order, from the
// package reader's OPF folder and spine hrefs (both "\"-separated). Each href
// is a URL relative to the OPF document, so it is percent-decoded and its "."
// and ".." segments are resolved against the folder; an href that starts with
// "\" counts from the archive's root. A ".." above the root is dropped.
// Otherwise an untouched book whose documents have encoded or non-ASCII
// names would find none of its spine documents.
std::vector<std::string> BuildSpinePathList(std::string_view opfFolder,
                                            const std::vector<std::string>& spineHrefs);

}  // namespace quill
