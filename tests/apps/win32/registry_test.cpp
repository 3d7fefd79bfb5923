#include <windows.h>

#include <gtest/gtest.h>

#include "apps/application_list.h"
#include "base/win32/wide_text.h"
#include "recording_user_messages.h"
#include "shell/user_registry.h"

namespace quill {
namespace {

const wchar_t kKey[] = L"Software\\Quillmere\\apppath";

// The value as the registry itself holds it: its type and its data.
struct StoredValue {
  DWORD type = REG_NONE;
  std::wstring text;
  bool exists = false;
};

StoredValue Stored(const wchar_t* name) {
  StoredValue value;
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  value.exists = ::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND,
                                &value.type, data, &size) == ERROR_SUCCESS;
  if (value.exists && value.type == REG_SZ) value.text = data;
  return value;
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmere"); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmere"); }

  testing::RecordingUserMessages messages_;
  std::unique_ptr<UserRegistry> registry_ = OpenUserRegistry();
};

TEST_F(RegistryStoreTest, TheListGoesToTheCurrentUsersKeyAndComesBack) {
  EXPECT_TRUE(LoadApplicationList(*registry_).empty());  // first run: no key
  const ApplicationList list = {"C:\\Tools\\reader.exe", "",
                                "C:\\Program Files\\Éditeur\\edit.exe"};
  SaveApplicationList(*registry_, list);

  const StoredValue count = Stored(L"Count");
  EXPECT_EQ(count.type, static_cast<DWORD>(REG_DWORD));
  const StoredValue third = Stored(L"Path2");
  EXPECT_EQ(third.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(third.text, L"C:\\Program Files\\\u00C9diteur\\edit.exe");
  EXPECT_EQ(LoadApplicationList(*OpenUserRegistry()), list);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(RegistryStoreTest, AShorterListLeavesTheStaleValuesThatAreNeverRead) {
  SaveApplicationList(*registry_, {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe"});
  SaveApplicationList(*registry_, {"x.exe", "y.exe", "z.exe"});
  EXPECT_TRUE(Stored(L"Path3").exists);
  EXPECT_TRUE(Stored(L"Path4").exists);
  EXPECT_EQ(LoadApplicationList(*registry_), (ApplicationList{"x.exe", "y.exe", "z.exe"}));
}

TEST_F(RegistryStoreTest, ACountAsTextAndAMissingPathLoadAsTheyAre) {
  HKEY key = nullptr;
  ASSERT_EQ(
      ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  const wchar_t count[] = L"3";
  const wchar_t first[] = L"first.exe";
  const wchar_t last[] = L"last.exe";
  ::RegSetValueExW(key, L"Count", 0, REG_SZ, reinterpret_cast<const BYTE*>(count), sizeof count);
  ::RegSetValueExW(key, L"Path0", 0, REG_SZ, reinterpret_cast<const BYTE*>(first), sizeof first);
  ::RegSetValueExW(key, L"Path2", 0, REG_SZ, reinterpret_cast<const BYTE*>(last), sizeof last);
  ::RegCloseKey(key);
  EXPECT_EQ(LoadApplicationList(*registry_), (ApplicationList{"first.exe", "", "last.exe"}));
}

}  // namespace
}  // namespace quill
