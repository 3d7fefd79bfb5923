#include "apps/registry_store.h"

#include <charconv>

#include "apps/registry_error.h"
#include "base/text.h"
#include "shell/user_registry.h"

namespace quill {
namespace {

bool IsText(RegistryType type) {
  return type == RegistryType::kString || type == RegistryType::kExpandString;
}

// The UTF-16 data as text without its last character, the terminator. An odd
// last byte is not a character.
std::string TextOf(const std::string& data) {
  const std::size_t units = data.size() / 2;
  return units == 0 ? std::string()
                    : Utf16LeToUtf8(std::string_view(data).substr(0, 2 * (units - 1)));
}

// A decimal integer with an optional sign, the whole text; its low 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::int32_t LittleEndianLow32(const std::string& data) {
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < data.size() && i < 4; ++i)
    number |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[i])) << (8 * i);
  return static_cast<std::int32_t>(number);
}

}  // namespace

RegistryStore::RegistryStore(UserRegistry& registry, std::string rootPath)
    : registry_(registry), rootPath_(std::move(rootPath)) {}

std::int32_t RegistryStore::ReadInteger(std::string_view name, std::int32_t defaultValue) {
  const auto stored = Query(name);
  if (!stored) return defaultValue;
  const RegistryValue& value = *stored;
  if (IsText(value.type)) return ParseInteger(TextOf(value.data)).value_or(defaultValue);
  const bool number = value.type == RegistryType::kDword || value.type == RegistryType::kQword ||
                      value.type == RegistryType::kBinary;
  return number && value.data.size() <= 8 ? LittleEndianLow32(value.data) : defaultValue;
}

std::string RegistryStore::ReadString(std::string_view name, std::string_view defaultValue) {
  const auto stored = Query(name);
  if (!stored) return std::string(defaultValue);
  const RegistryValue& value = *stored;
  if (IsText(value.type) || value.type == RegistryType::kBinary) return TextOf(value.data);
  return std::string(defaultValue);
}

void RegistryStore::WriteInteger(std::string_view name, std::int32_t value) {
  OpenForWrite();
  if (!registry_.SetValue(rootPath_, name, DwordValue(static_cast<std::uint32_t>(value))))
    RaiseWriteError();
}

void RegistryStore::WriteString(std::string_view name, std::string_view value) {
  OpenForWrite();
  if (!registry_.SetValue(rootPath_, name, StringValue(value))) RaiseWriteError();
}

void RegistryStore::Flush() {
  if (!registry_.Flush()) RaiseWriteError();
}

std::optional<RegistryValue> RegistryStore::Query(std::string_view name) {
  auto lookup = registry_.QueryValue(rootPath_, name);
  if (lookup.key == UserRegistry::KeyState::kUnreadable) {
    throw ERegistryError("Unable to open key \"" + rootPath_ + "\\" + std::string(name) +
                         "\" for read");
  }
  return std::move(lookup.value);
}

void RegistryStore::OpenForWrite() {
  if (!registry_.CreateKey(rootPath_))
    throw ERegistryError("Unable to create key '" + rootPath_ + "'");
}

void RegistryStore::RaiseWriteError() const {
  throw ERegistryError("Unable to open key \"HKEY_CURRENT_USER\\" + rootPath_ + "\" for write");
}

}  // namespace quill
