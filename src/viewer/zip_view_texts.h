#pragma once

// The fixed texts of the zip view, kept together so that one test can pin
// them. UTF-8.

namespace quill::texts {

inline constexpr char kZipViewCaption[] = "Zipview";
// An opening's caption: this prefix and the book's path.
inline constexpr char kZipViewCaptionPrefix[] = "Zipview: ";

inline constexpr const char* kZipViewColumns[] = {
    "Filename", "ModifiedDateTime",  "CompressedSize", "UncompressedSize",
    "CRC32",    "CompressionMethod", "Comment"};

// What a screen reader calls the controls that show no caption of their own;
// the status bar is called by its message while it shows one.
inline constexpr char kZipViewListName[] = "Content documents";
inline constexpr char kZipViewToolBarName[] = "Toolbar";
inline constexpr char kZipViewStatusBarName[] = "Status";

// The failure message: a line feed then a carriage return between its parts,
// and this as its last line.
inline constexpr char kZipViewFailureLineBreak[] = "\n\r";
inline constexpr char kZipViewFailureLastLine[] = "No ModifiedDateTime ?";

// The tooltips of the marked rows.
inline constexpr char kReferenceDocumentHint[] =
    "Reference document: its time is the reference time of the book";
inline constexpr char kDiffersHint[] = "This spine document differs from the reference time";

}  // namespace quill::texts
