#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondivo {

enum class IniLoadResult { Loaded, Missing, Unreadable };

// Private-profile access to one INI file: sections and keys are case-insensitive, values come
// back trimmed, a key present twice gives its first value (and only that one is saved). The
// file is parsed once when the object is made; writes change the object and Save() replaces
// the file atomically.
class IniFile {
 public:
  // Files larger than this are not parsed (read as Unreadable).
  static constexpr uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

  explicit IniFile(std::filesystem::path path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Missing reads as empty; Unreadable (a read error, a folder, an oversized file) too, but a
  // caller may not want to save over a file it could not read.
  IniLoadResult LoadResult() const { return loadResult_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // Decimal, or hexadecimal after "0x" or "$"; anything unreadable or outside 32 bits gives
  // fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // An integer read; any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Every key of a section with its trimmed value, in file order (first value of a duplicate).
  std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

  // Line breaks in a value would split the entry, so control characters are written as blanks.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int64_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  bool EraseSection(std::string_view section);

  // The file's text as Save() writes it.
  std::string ToText() const;
  // Writes through a temporary file; false leaves the previous file as it was.
  bool Save();

 private:
  struct Store;
  std::filesystem::path path_;
  IniLoadResult loadResult_ = IniLoadResult::Missing;
  std::unique_ptr<Store> store_;
};

// The private-profile integer rule on its own: decimal, or hexadecimal after "0x" (text longer
// than two characters) or "$".
std::optional<int32_t> ParseProfileInteger(std::string_view text);

}  // namespace ondivo
