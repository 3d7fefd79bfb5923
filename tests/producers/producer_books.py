"""Books made by real EPUB producers, and copies edited by real tools.

Makes books with python3-ebooklib, pandoc and Sphinx (each where installed)
from the licence texts in /usr/share/common-licenses, then edits copies: one
chapter rewritten through Python's zipfile, one chapter appended again through
zipfile (a second entry of the same name) and one chapter replaced by
`zip -u`. Then checks quillmere-cli against independent readers:

- `scan` at every resolution lists exactly the books whose stored times, as
  Python's zipfile reads them, call for it;
- `info` gives the title, first creator, language, cover and spine order that
  python3-ebooklib reads.

Usage: producer_books.py QUILLMERE_CLI. Exits 77 (skipped) with the reason
when python3-ebooklib is missing; a missing pandoc, Sphinx or zip leaves out
its books or edits, and says so.
"""

import datetime
import json
import os
import posixpath
import shutil
import struct
import subprocess
import sys
import tempfile
import warnings
import xml.etree.ElementTree as ElementTree
import zipfile
import zlib
from urllib.parse import unquote

SKIP = 77
warnings.simplefilter("ignore")  # python3-ebooklib's notes about its future defaults
LICENCES = "/usr/share/common-licenses"
TEXTS = ["GPL-3", "Apache-2.0", "MPL-2.0", "LGPL-2.1", "Artistic", "GFDL-1.3"]
RESOLUTIONS = ["day", "hour", "min", "sec", "full"]
EDIT_TIME = (2031, 5, 17, 14, 42, 30)

try:
    from ebooklib import epub
except ImportError:
    print("skipped: python3-ebooklib is not installed (scripts/bootstrap.sh producers)")
    sys.exit(SKIP)


def run(command, cwd=None):
    """Runs a producer or tool quietly; its output is shown when it fails."""
    done = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("%s failed:\n%s%s" % (command[0], done.stdout, done.stderr))


def paragraphs(name):
    with open(os.path.join(LICENCES, name), encoding="utf-8", errors="replace") as text:
        blocks = text.read().split("\n\n")
    return [" ".join(block.split()) for block in blocks if block.strip()]


def chapters(name, count=4):
    """The text's paragraphs in `count` chapters, each headed by its first."""
    parts = paragraphs(name)
    size = max(1, len(parts) // count)
    return [parts[i:i + size] for i in range(0, size * count, size) if parts[i:i + size]]


def png():
    """A small cover picture, made here rather than taken from the system."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes([x * 8, 96, 200 - x * 4]) * 24 for x in range(24))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 24, 24, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def metadata(name):
    """Title, subtitle, two creators and a language, all from the text."""
    parts = paragraphs(name)
    words = [w.strip(".,;:()") for w in " ".join(parts[2:6]).split() if w.isalpha()]
    return parts[0][:60], parts[1][:60], words[0].title(), words[1].title(), "en"


def make_ebooklib(name, out):
    title, subtitle, first, second, language = metadata(name)
    book = epub.EpubBook()
    book.set_identifier("ebooklib-" + name)
    book.set_title(title)
    book.add_metadata("DC", "title", subtitle)
    book.set_language(language)
    book.add_author(first)
    book.add_author(second)
    book.set_cover("cover.png", png())
    spine = ["nav"]
    for number, part in enumerate(chapters(name), 1):
        page = epub.EpubHtml(title=part[0][:40], file_name="chap_%02d.xhtml" % number)
        page.content = "".join("<p>%s</p>" % p.replace("&", "&amp;").replace("<", "&lt;")
                               for p in part)
        book.add_item(page)
        spine.append(page)
    book.toc = spine[1:]
    book.add_item(epub.EpubNcx())
    book.add_item(epub.EpubNav())
    book.spine = spine
    epub.write_epub(out, book)


def make_pandoc(name, out, version, work):
    title, subtitle, first, second, language = metadata(name)
    source = os.path.join(work, name + ".md")
    with open(source, "w", encoding="utf-8") as markdown:
        for part in chapters(name):
            markdown.write("# %s\n\n%s\n\n" % (part[0][:40], "\n\n".join(part)))
    cover = os.path.join(work, "cover.png")
    with open(cover, "wb") as picture:
        picture.write(png())
    run(["pandoc", "-f", "markdown-smart", "-t", version, "-o", out, source,
         "--metadata", "title=" + title, "--metadata", "subtitle=" + subtitle,
         "--metadata", "author=" + first, "--metadata", "author=" + second,
         "--metadata", "lang=" + language, "--epub-cover-image=" + cover])


def make_sphinx(name, out, work):
    title, _, first, _, language = metadata(name)
    source = os.path.join(work, "sphinx-" + name)
    os.makedirs(source)
    names = []
    for number, part in enumerate(chapters(name), 1):
        names.append("chapter%d" % number)
        heading = "".join(c for c in part[0][:40] if c.isalnum() or c == " ").strip() or "Part"
        with open(os.path.join(source, names[-1] + ".rst"), "w", encoding="utf-8") as rst:
            body = "\n\n".join("   " + p for p in part)  # a literal block: no markup
            rst.write("%s\n%s\n\n::\n\n%s\n" % (heading, "=" * len(heading), body))
    with open(os.path.join(source, "index.rst"), "w", encoding="utf-8") as index:
        index.write("%s\n%s\n\n.. toctree::\n\n   %s\n" % (
            "Contents", "=" * 8, "\n   ".join(names)))
    with open(os.path.join(source, "conf.py"), "w", encoding="utf-8") as conf:
        conf.write("project = %r\nauthor = %r\nlanguage = %r\ncopyright = %r\nversion = '1'\n"
                   % (title, first, language, first))
    build = os.path.join(work, "sphinx-build-" + name)
    run(["sphinx-build", "-q", "-b", "epub", "-d", build + "-doctrees", source, build])
    made = [f for f in os.listdir(build) if f.endswith(".epub")]
    shutil.move(os.path.join(build, made[0]), out)


def opf_path(book):
    with zipfile.ZipFile(book) as archive:
        container = ElementTree.fromstring(archive.read("META-INF/container.xml"))
    rootfiles = [e for e in container.iter() if e.tag.endswith("}rootfile")]
    return rootfiles[-1].get("full-path")


def spine_paths(book):
    """The archive paths of the spine's documents, as python3-ebooklib reads them."""
    folder = posixpath.dirname(opf_path(book))
    read = epub.read_epub(book)
    items = [read.get_item_with_id(idref) for idref, _ in read.spine]
    return [posixpath.normpath(posixpath.join(folder, i.file_name)) for i in items if i]


def is_content_document(name):
    return posixpath.splitext(name)[1].lower() in (".xhtml", ".html", ".htm")


def same(resolution, reference, document):
    if resolution == "day":
        return reference.date() == document.date()
    seconds = abs((reference - document).total_seconds())
    return seconds < {"hour": 3600, "min": 60, "sec": 1, "full": 1e-9}[resolution]


def listed(book, resolution):
    """Whether the stored times call for listing the book: some spine document
    found, the last content document's time the reference, every spine
    document (each copy) at that time at the resolution."""
    spine = {path.lower() for path in spine_paths(book)}
    with zipfile.ZipFile(book) as archive:
        documents = [(info.filename, datetime.datetime(*info.date_time))
                     for info in archive.infolist() if is_content_document(info.filename)]
    reference = documents[-1][1]
    compared = [time for name, time in documents if name.lower() in spine]
    return not compared or not all(same(resolution, reference, t) for t in compared)


def edit_by_rewrite(book, chapter, out):
    with zipfile.ZipFile(book) as source, zipfile.ZipFile(out, "w") as target:
        for info in source.infolist():
            data = source.read(info)
            if info.filename == chapter:
                info.date_time = EDIT_TIME
                data += b"\n"
            target.writestr(info, data)


def edit_by_append(book, chapter, out):
    shutil.copy(book, out)
    with zipfile.ZipFile(out) as source:
        data = source.read(chapter)
    info = zipfile.ZipInfo(chapter, EDIT_TIME)
    with zipfile.ZipFile(out, "a") as target:  # a second entry of the same name
        target.writestr(info, data + b"\n", zipfile.ZIP_DEFLATED)


def edit_by_zip_update(book, chapter, out, work):
    shutil.copy(book, out)
    folder = tempfile.mkdtemp(dir=work)
    with zipfile.ZipFile(book) as source:
        source.extract(chapter, folder)
    path = os.path.join(folder, chapter)
    with open(path, "ab") as document:
        document.write(b"\n")
    stamp = datetime.datetime(*EDIT_TIME).timestamp()
    os.utime(path, (stamp, stamp))
    run(["zip", "-q", "-u", os.path.abspath(out), chapter], cwd=folder)


def quillmere(cli, *arguments):
    run = subprocess.run([cli, *arguments], capture_output=True, text=True)
    return run.returncode, run.stdout, run.stderr


def check_info(cli, book):
    """The differences between quillmere-cli info and python3-ebooklib."""
    status, out, err = quillmere(cli, "info", "--format", "json", book)
    if status != 0:
        return ["info exits %d: %s" % (status, err.strip())]
    info = json.loads(out)
    read = epub.read_epub(book)

    def first(field):
        values = read.get_metadata("DC", field)
        return values[0][0] if values else ""

    cover_meta = [attributes.get("content") for _, attributes in read.get_metadata("OPF", "cover")]
    cover_items = [read.get_item_with_id(cover_meta[0])] if cover_meta else [
        item for item in read.get_items() if isinstance(item, epub.EpubCover)]
    cover = cover_items[0].file_name if cover_items and cover_items[0] else ""
    expected = {
        "Title": first("title"),
        "Creator": first("creator"),
        "Language": first("language"),
        "CoverPath": cover,
        "SpineHrefs": [i.file_name for i in (read.get_item_with_id(r) for r, _ in read.spine) if i],
    }
    actual = {
        "Title": info["Title"], "Creator": info["Creator"], "Language": info["Language"],
        "CoverPath": unquote(info["CoverPath"]),
        "SpineHrefs": [unquote(h.replace("\\", "/")) for h in info["SpineHrefs"]],
    }
    return ["%s: %r, ebooklib %r" % (key, actual[key], expected[key])
            for key in expected if actual[key] != expected[key]]


def main():
    cli = sys.argv[1]
    work = tempfile.mkdtemp(prefix="quillmere-producers-")
    try:
        library = os.path.join(work, "library")
        os.makedirs(library)
        makers = {"ebooklib": lambda name, out: make_ebooklib(name, out)}
        if shutil.which("pandoc"):
            for version in ("epub2", "epub3"):
                makers["pandoc-" + version] = (
                    lambda name, out, v=version: make_pandoc(name, out, v, work))
        else:
            print("pandoc is not installed: its books are left out")
        if shutil.which("sphinx-build"):
            makers["sphinx"] = lambda name, out: make_sphinx(name, out, work)
        else:
            print("sphinx-build is not installed: its books are left out")
        edits = {"rewrite": edit_by_rewrite, "append": edit_by_append}
        if shutil.which("zip"):
            edits["zip-u"] = lambda book, chapter, out: edit_by_zip_update(book, chapter, out, work)
        else:
            print("zip is not installed: no copy is edited with zip -u")

        books = []
        for number, name in enumerate(TEXTS):
            for maker, make in makers.items():
                book = os.path.join(library, "%s-%s.epub" % (maker, name))
                make(name, book)
                books.append(book)
                spine = spine_paths(book)
                chapter = spine[len(spine) // 2 + number % 2]
                for edit, apply in edits.items():
                    books.append(os.path.join(library, "%s-%s-%s.epub" % (maker, name, edit)))
                    apply(book, chapter, books[-1])

        failures = []
        counts = []
        for book in books:
            failures += ["%s: %s" % (os.path.basename(book), f) for f in check_info(cli, book)]
        for resolution in RESOLUTIONS:
            status, out, err = quillmere(cli, "scan", "--resolution", resolution, library)
            expected = sorted(b for b in books if listed(b, resolution))
            counts.append(str(len(expected)))
            if status not in (0, 1) or err:
                failures.append("scan --resolution %s exits %d: %s" % (resolution, status, err))
            if sorted(out.splitlines()) != expected:
                failures.append("scan --resolution %s lists %s, the stored times call for %s" % (
                    resolution, sorted(map(os.path.basename, out.splitlines())),
                    sorted(map(os.path.basename, expected))))
        print("%d books from %s; listed from day to full: %s; %d failures" % (
            len(books), ", ".join(makers), " ".join(counts), len(failures)))
        for failure in failures:
            print(failure)
        return 1 if failures else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
