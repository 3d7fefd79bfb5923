#pragma once

#include <filesystem>
#include <memory>

namespace quill {

class BookArchive;

// A book's archive opened, with the data that its examination reads fetched
// beforehand: the tail with the end record and the central directory, and
// the package documents (the container, every .opf and .ncx entry) from
// their local headers on, up to a bound per book. Meant for a thread that
// runs ahead of the examining ones, so that many books' reads are in flight
// at once on a slow disk or a network share while few threads examine. The
// examination then reads the same bytes from memory and reaches the same
// answers. Never raises: what fails is left for the examination to meet.
std::shared_ptr<BookArchive> ReadBookAhead(const std::filesystem::path& path);

}  // namespace quill
