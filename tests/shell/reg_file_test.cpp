#include "shell/reg_file.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace quill {
namespace {

constexpr char kKey[] = "HKEY_CURRENT_USER\\Software\\Quillmere\\apppath";

std::string Utf16WithBom(const std::string& utf8) { return "\xFF\xFE" + Utf8ToUtf16Le(utf8); }

TEST(RegFile, ReadsEveryValueFormOfAnExport) {
  const RegFile file = RegFile::Parse(
      "Windows Registry Editor Version 5.00\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\n"
      "\"Count\"=dword:0000000a\n"
      "\"Path0\"=\"C:\\\\Program Files\\\\Re\\\"ader\\\\r.exe\"\n"
      "@=\"default\"\n"
      "\"Big\"=hex(b):01,02,03,04,05,06,07,08\n"
      "\"Blob\"=hex:de,ad,\\\n"
      "  be,ef\n"
      "\"Expand\"=hex(2):25,00,00,00\n"
      "\"Empty\"=hex:\n");
  EXPECT_EQ(*file.Find(kKey, "Count"), DwordValue(10));
  EXPECT_EQ(*file.Find(kKey, "Path0"), StringValue("C:\\Program Files\\Re\"ader\\r.exe"));
  EXPECT_EQ(*file.Find(kKey, ""), StringValue("default"));
  EXPECT_EQ(*file.Find(kKey, "Big"),
            (RegistryValue{RegistryType::kQword, "\x01\x02\x03\x04\x05\x06\x07\x08"}));
  EXPECT_EQ(*file.Find(kKey, "Blob"), (RegistryValue{RegistryType::kBinary, "\xDE\xAD\xBE\xEF"}));
  EXPECT_EQ(*file.Find(kKey, "Expand"),
            (RegistryValue{RegistryType::kExpandString, std::string("%\0\0\0", 4)}));
  EXPECT_EQ(*file.Find(kKey, "Empty"), (RegistryValue{RegistryType::kBinary, ""}));
}

TEST(RegFile, ReadsUtf16WithCrLfAsTheRegistryEditorExportsIt) {
  const RegFile file =
      RegFile::Parse(Utf16WithBom("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\r\n"
                                  "\"Path0\"=\"C:\\\\K\u00f6nyvek\\\\olvas\u00f3.exe\"\r\n"));
  EXPECT_EQ(*file.Find(kKey, "Path0"), StringValue("C:\\K\u00f6nyvek\\olvas\u00f3.exe"));
}

TEST(RegFile, NamesCompareIgnoringCase) {
  RegFile file =
      RegFile::Parse("[hkey_current_user\\software\\QUILLMERE\\AppPath]\n\"COUNT\"=dword:1\n");
  ASSERT_TRUE(file.HasKey(kKey));
  EXPECT_EQ(*file.Find(kKey, "count"), DwordValue(1));
  file.Set(kKey, "Count", StringValue("2"));  // overwrites whatever the type, keeps the spelling
  EXPECT_EQ(*file.Find(kKey, "COUNT"), StringValue("2"));
  EXPECT_NE(file.Format().find("\"COUNT\"=\"2\""), std::string::npos);
}

TEST(RegFile, DamagedLinesAreSkippedAndTheRestIsKept) {
  const RegFile file = RegFile::Parse(
      "\"Orphan\"=\"before any key\"\n"
      "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\n"
      "\"Path0\"=\"first\"\n"
      "garbage \x01\xFF line\n"
      "\"Path1\"=\"no closing quote\n"
      "\"Path2\"=dword:xyz\n"
      "\"Path3\"=hex:01,zz,\\\n"
      "  \"Path4\"=\"swallowed as the continuation of a damaged value\"\n"
      "\"Path5\"=hex(b:00\n"
      "\"Path6\"=\"last\"\n"
      "[unterminated key\n"
      "\"Path7\"=\"belongs to no key\"\n");
  EXPECT_EQ(*file.Find(kKey, "Path0"), StringValue("first"));
  for (const char* damaged : {"Orphan", "Path1", "Path2", "Path3", "Path4", "Path5", "Path7"})
    EXPECT_EQ(file.Find(kKey, damaged), nullptr) << damaged;
  EXPECT_EQ(*file.Find(kKey, "Path6"), StringValue("last"));
}

TEST(RegFile, RemovalLinesDeleteKeysAndValues) {
  const RegFile file = RegFile::Parse(
      "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\n\"A\"=\"1\"\n\"B\"=\"2\"\n\"A\"=-\n"
      "[HKEY_CURRENT_USER\\Software\\Other\\Sub]\n\"C\"=\"3\"\n"
      "[-HKEY_CURRENT_USER\\Software\\Other]\n");
  EXPECT_EQ(file.Find(kKey, "A"), nullptr);
  EXPECT_EQ(*file.Find(kKey, "B"), StringValue("2"));
  EXPECT_FALSE(file.HasKey("HKEY_CURRENT_USER\\Software\\Other\\Sub"));
}

TEST(RegFile, AKeyTakesAtMostItsCapOfValuesAndTheKeysAfterItAreRead) {
  std::string text = std::string("[") + kKey + "]\n";
  for (int i = 0; i < 20000; ++i) text += "\"Path" + std::to_string(i) + "\"=\"p\"\n";
  text += "[HKEY_CURRENT_USER\\Other]\n\"Kept\"=dword:1\n";
  const RegFile file = RegFile::Parse(text);
  EXPECT_NE(file.Find(kKey, "Path16383"), nullptr);
  EXPECT_EQ(file.Find(kKey, "Path16384"), nullptr);
  EXPECT_EQ(*file.Find("HKEY_CURRENT_USER\\Other", "Kept"), DwordValue(1));
}

TEST(RegFile, FormatReadsBackToTheSameBytesForEveryType) {
  RegFile file;
  const std::string longBinary(300, '\x5A');
  const std::vector<std::pair<std::string, RegistryValue>> values = {
      {"Text", StringValue("C:\\a \"quoted\" path\\x.exe")},
      {"Unicode", StringValue("\u00e1rv\u00edzt\u0171r\u0151 \U0001F4D6")},
      {"Count", DwordValue(0xFFFFFFFF)},
      {"", StringValue("default")},
      {"LineBreak", StringValue("two\nlines")},  // cannot stand in quotes
      {"Unterminated", {RegistryType::kString, std::string("a\0", 2)}},
      {"OddLength", {RegistryType::kString, std::string("abc", 3)}},
      {"ShortDword", {RegistryType::kDword, "\x01\x02"}},
      {"Qword", {RegistryType::kQword, std::string("\0\1\2\3\4\5\6\7", 8)}},
      {"Long", {RegistryType::kBinary, longBinary}},
      {"Multi", {RegistryType::kMultiString, std::string("a\0\0\0\0\0", 6)}},
      {"Odd type", {static_cast<RegistryType>(0x1234), "\x7F"}},
  };
  for (const auto& [name, value] : values) file.Set(kKey, name, value);
  file.AddKey("HKEY_CURRENT_USER\\Software\\Empty");

  const std::string text = file.Format();
  EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER"));
  EXPECT_NE(text.find("\"Count\"=dword:ffffffff\n"), std::string::npos);
  for (std::size_t line = 0, end; (end = text.find('\n', line)) != std::string::npos;
       line = end + 1)
    EXPECT_LE(end - line, 80u) << "lines are wrapped for reading by eye";

  const RegFile back = RegFile::Parse(text);
  for (const auto& [name, value] : values) EXPECT_EQ(*back.Find(kKey, name), value) << name;
  EXPECT_TRUE(back.HasKey("HKEY_CURRENT_USER\\Software\\Empty"));
}

}  // namespace
}  // namespace quill
