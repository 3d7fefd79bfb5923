#include "zip_writer.h"

#include <zlib.h>
#include <fstream>
#include <stdexcept>

namespace quill::testing {
namespace {

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(std::string& out, std::uint64_t v) {
  Put32(out, static_cast<std::uint32_t>(v));
  Put32(out, static_cast<std::uint32_t>(v >> 32));
}

struct Placed {
  std::uint32_t crc;
  std::uint32_t compressed;
  std::uint32_t uncompressed;
  std::uint32_t offset;
  std::string extra;
};

std::string StoredBytes(const ZipEntry& e, int level) {
  if (e.rawData) return *e.rawData;
  return e.method == 8 ? DeflateRaw(e.data, level) : e.data;
}

std::string Zip64Extra(std::uint64_t uncompressed, std::uint64_t compressed, std::uint64_t offset) {
  std::string field;
  Put16(field, 0x0001);
  Put16(field, 24);
  Put64(field, uncompressed);
  Put64(field, compressed);
  Put64(field, offset);
  return field;
}

}  // namespace

std::uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
  const std::uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
  const std::uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
  return (date << 16) | time;
}

std::string DeflateRaw(const std::string& data, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

std::uint32_t Crc32(const std::string& data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string ExtraField(std::uint16_t id, const std::string& data) {
  std::string field;
  Put16(field, id);
  Put16(field, static_cast<std::uint32_t>(data.size()));
  return field + data;
}

std::string UnicodePathField(std::uint32_t storedNameCrc, const std::string& utf8Name) {
  return ExtraField(0x7075, "\x01" + LittleEndian(storedNameCrc, 4) + utf8Name);
}

std::string LittleEndian(std::uint64_t value, int width) {
  std::string bytes(static_cast<std::size_t>(width), '\0');
  PutLittleEndian(bytes, 0, value, width);
  return bytes;
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

ZipWriter& ZipWriter::Add(ZipEntry entry) {
  entries_.push_back(std::move(entry));
  return *this;
}

ZipWriter& ZipWriter::Add(std::string name, std::string data, std::uint32_t modified) {
  ZipEntry e;
  e.name = std::move(name);
  e.data = std::move(data);
  e.modified = modified;
  return Add(std::move(e));
}

std::string ZipWriter::Build() const {
  std::string out = layout_.prefix;
  std::vector<Placed> placed;
  for (const ZipEntry& e : entries_) {
    const std::string stored = StoredBytes(e, layout_.deflateLevel);
    Placed p{e.crc.value_or(Crc32(e.data)),
             e.compressedSize.value_or(static_cast<std::uint32_t>(stored.size())),
             e.uncompressedSize.value_or(static_cast<std::uint32_t>(e.data.size())),
             e.localHeaderOffset.value_or(static_cast<std::uint32_t>(out.size())), e.extra};
    if (e.zip64) {
      p.extra = Zip64Extra(p.uncompressed, p.compressed, p.offset) + e.extra;
    }
    Put32(out, 0x04034B50);
    Put16(out, e.versionNeeded);
    Put16(out, e.flag);
    Put16(out, e.method);
    Put32(out, e.modified);
    Put32(out, p.crc);
    Put32(out, e.zip64 ? 0xFFFFFFFF : p.compressed);
    Put32(out, e.zip64 ? 0xFFFFFFFF : p.uncompressed);
    Put16(out, static_cast<std::uint32_t>(e.name.size()));
    Put16(out, static_cast<std::uint32_t>(p.extra.size()));
    out += e.name;
    out += p.extra;
    out += stored;
    placed.push_back(std::move(p));
  }
  const std::uint64_t directoryStart = out.size();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const ZipEntry& e = entries_[i];
    const Placed& p = placed[i];
    Put32(out, 0x02014B50);
    Put16(out, e.madeBy);
    Put16(out, e.versionNeeded);
    Put16(out, e.flag);
    Put16(out, e.method);
    Put32(out, e.modified);
    Put32(out, p.crc);
    Put32(out, e.zip64 ? 0xFFFFFFFF : p.compressed);
    Put32(out, e.zip64 ? 0xFFFFFFFF : p.uncompressed);
    Put16(out, static_cast<std::uint32_t>(e.name.size()));
    Put16(out, static_cast<std::uint32_t>(p.extra.size()));
    Put16(out, static_cast<std::uint32_t>(e.comment.size()));
    Put16(out, 0);  // disk number start
    Put16(out, e.internalAttributes);
    Put32(out, e.externalAttributes);
    Put32(out, e.zip64 ? 0xFFFFFFFF : p.offset);
    out += e.name;
    out += p.extra;
    out += e.comment;
  }
  const std::uint64_t directorySize = out.size() - directoryStart;
  out += layout_.beforeEndRecord;
  const auto count = static_cast<std::uint16_t>(entries_.size());
  if (layout_.zip64) {
    const std::uint64_t recordOffset = out.size();
    Put32(out, 0x06064B50);
    Put64(out, 44);  // size of the rest of the record
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, 0);
    Put32(out, 0);
    Put64(out, entries_.size());
    Put64(out, entries_.size());
    Put64(out, directorySize);
    Put64(out, layout_.directoryOffset.value_or(directoryStart));
    Put32(out, 0x07064B50);
    Put32(out, 0);
    Put64(out, recordOffset);
    Put32(out, 1);
  }
  Put32(out, 0x06054B50);
  Put16(out, layout_.diskNumber.value_or(0));
  Put16(out, 0);
  Put16(out, layout_.zip64 ? 0xFFFF : layout_.totalEntries.value_or(count));
  Put16(out, layout_.zip64 ? 0xFFFF : layout_.totalEntries.value_or(count));
  Put32(out, layout_.zip64
                 ? 0xFFFFFFFF
                 : layout_.directorySize.value_or(static_cast<std::uint32_t>(directorySize)));
  Put32(out, layout_.zip64
                 ? 0xFFFFFFFF
                 : layout_.directoryOffset.value_or(static_cast<std::uint32_t>(directoryStart)));
  Put16(out,
        layout_.commentLength.value_or(static_cast<std::uint16_t>(layout_.archiveComment.size())));
  out += layout_.archiveComment;
  out += layout_.trailing;
  return out;
}

void ZipWriter::WriteTo(const std::filesystem::path& path) const { WriteFile(path, Build()); }

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace quill::testing
