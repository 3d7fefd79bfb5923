#pragma once

// The fixed texts of the application list dialog, kept together so that one
// test can pin them. UTF-8.

namespace quill::texts {

inline constexpr char kAppDialogCaption[] = "Add apps...";
inline constexpr char kApplicationsLabel[] = "Applications :";
inline constexpr char kDropHint[] = "Add application by Drag/Drop or select...";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kDeleteSelected[] = "Delete selected";
inline constexpr char kDeleteAll[] = "Delete all";
inline constexpr char kAppAdd[] = "App Add...";
inline constexpr char kDeleteMissing[] = "Delete I don't exist";

// The file dialog: its title and its two file types, descriptions and masks
// (the application mask comes from the platform).
inline constexpr char kAppFileDialogTitle[] = "Alkalmazások hozzáadása...";
inline constexpr char kAppFileType[] = "Exe fájlok";
inline constexpr char kAllFilesType[] = "Minden fájl";
inline constexpr char kAllFilesMask[] = "*.*";

}  // namespace quill::texts
