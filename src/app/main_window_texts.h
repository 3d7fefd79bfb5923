#pragma once

// The fixed texts of the main window and its dialogs, kept together so that
// one test can pin them. UTF-8.

#include "base/time_resolution.h"

namespace quill::texts {

inline constexpr char kTitle[] = "Zuro";
inline constexpr char kHeaderCaption[] = "Quillmere";
inline constexpr char kMenuButton[] = "Menü...";

inline constexpr char kListHint[] = "Double click to zip view open";
inline constexpr char kFileNameColumn[] = "Filename";
inline constexpr char kPathColumn[] = "Path";
// What a screen reader calls the controls that show no caption of their own.
inline constexpr char kBookListName[] = "Listed books";
inline constexpr char kProgressBarName[] = "Progress";

inline constexpr char kResolutionCaption[] = "Time Difference Comparison options";
inline constexpr const auto& kResolutionItems = kResolutionNames;

// The status labels before the first add command rewrites them.
inline constexpr char kLabel1Initial[] = "File:";
inline constexpr char kLabel2Initial[] = "Count:";
inline constexpr char kStop[] = "Stop";

// The status labels as the add commands write them: "File: " and "count: "
// are followed by a file name and the number of rows; the multi-file add
// writes "All file " <last index> "\ Read count: " <index>.
inline constexpr char kFileLabel[] = "File: ";
inline constexpr char kCountLabel[] = "count: ";
inline constexpr char kAllFileLabel[] = "All file ";
inline constexpr char kReadCountLabel[] = "\\ Read count: ";

inline constexpr char kProgressPanelCaption[] = "Adding files, please wait....";
inline constexpr char kSearching[] = "Searching...";
inline constexpr char kProgressCountLabel[] = "Db:";
inline constexpr char kProgressFileLabel[] = "File:";

inline constexpr char kAddFile[] = "Add file";
inline constexpr char kAddFolder[] = "Add folder";
inline constexpr char kAddFolderWithSubfolders[] = "Add folder with subfolders";
inline constexpr char kOpenFileExplorerAndSelect[] = "Open File Explorer and select";
inline constexpr char kUnpackAndOpen[] = "Epub unpacking and opening in the File Explorer";
inline constexpr char kOpenWithAnotherApplication[] = "Open with another application";

// The unpack command's refusal when the platform gives no private temporary
// folder, rather than writing into whatever the current folder is.
inline constexpr char kNoTemporaryFolder[] =
    "The book is not unpacked: no temporary folder of your own can be used for it.";

// Why a path handed over by a drop or the command line was not added.
inline constexpr char kNeitherBookNorFolder[] = "neither an EPUB file nor a folder";

// The file-open dialog's filter: a description and its mask.
inline constexpr char kEpubFilterName[] = "Epub";
inline constexpr char kEpubFilterMask[] = "*.epub";
inline constexpr char kSelectFolderTitle[] = "Mappa kiválasztása";

}  // namespace quill::texts
