#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/FileResult.h"

namespace ondivo {

enum class IniLoadResult { Loaded, Missing, Unreadable };

// Private-profile access to one INI file: sections and keys are case-insensitive, values come
// back trimmed with one pair of surrounding quotes taken off, a key present twice gives its
// first value (and only that one is saved). The file is parsed once when the object is made;
// writes change the object and Save() replaces the file atomically.
class IniFile {
 public:
  // Files larger than this are not parsed (read as Unreadable).
  static constexpr uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

  explicit IniFile(std::filesystem::path path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Missing reads as empty, and so does Unreadable (a read error, a folder, an oversized file);
  // a NUL byte is read as a blank.
  IniLoadResult LoadResult() const { return loadResult_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // The text ReadString gives, as decimal, or hexadecimal after "0x" or "$"; anything
  // unreadable or outside 32 bits gives fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // An integer read; any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Every key of a section with its value read as ReadString does, in file order (first value
  // of a duplicate).
  std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

  // Control characters are written as blanks, since a line break would split the entry. A value
  // that would not read back as it stands (a blank at either end, surrounding quotes) is
  // written in double quotes.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int64_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  bool EraseSection(std::string_view section);

  // A file that was there but could not be read is never saved over. This moves it to the
  // first free "<name>.bak", "<name>.bak2", ... and gives the text to tell the user, once;
  // nothing when the file was read, was missing or was already moved. When it cannot be moved
  // the text says so and Save() fails. Save() calls this itself and puts the text in its
  // Notice; call it first to tell the user before saving.
  std::optional<std::string> KeepUnreadableFile();

  // The file's text as Save() writes it.
  std::string ToText() const;
  // Writes through a temporary file; on failure ("Unable to write to <path>") the previous file
  // is left as it was.
  tWriteResult Save();

 private:
  struct Store;
  std::filesystem::path path_;
  IniLoadResult loadResult_ = IniLoadResult::Missing;
  std::error_code keepError_;  // why an unreadable file could not be moved aside
  std::unique_ptr<Store> store_;
};

// The private-profile integer rule on its own: decimal, or hexadecimal after "0x" (text longer
// than two characters) or "$".
std::optional<int32_t> ParseProfileInteger(std::string_view text);

// "Unable to write to %s", with the file's path: the message of a failed INI file save.
std::string UnableToWriteMessage(const std::string& path);

}  // namespace ondivo
