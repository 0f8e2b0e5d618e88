#include "platform/IniFile.h"

#include <fcntl.h>

// Narrow strings only, compared with plain ASCII case folding (no locale).
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // this packaging keeps the template bodies behind this switch
#include <SimpleIni.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>

#include "platform/AtomicFile.h"
#include "platform/ReadWholeFile.h"
#include "platform/TextConvert.h"

namespace ondivo {
namespace {

// One matching pair of surrounding quotes is taken off, as the profile functions do.
std::string_view Unquoted(std::string_view value) {
  value = TrimText(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// A stored value as the program sees it. Control characters read as the blanks they are
// written as, so a value read and written back reads the same again.
std::string ReadValue(std::string_view stored) {
  return std::string(Unquoted(ScrubControlCharacters(stored)));
}

// The value as written, so that Unquoted gives it back unchanged.
std::string Quoted(std::string_view value) {
  std::string text = ScrubControlCharacters(value);
  if (Unquoted(text) != text) text = '"' + text + '"';
  return text;
}

// The name an unreadable file is kept under: the first free "<name>.bak", "<name>.bak2", ...
// Moved without replacing anything, so an earlier backup is never lost either.
bool MoveAside(const std::filesystem::path& path, std::filesystem::path& keptAs,
               std::error_code& error) {
  for (int n = 1; n < 100; ++n) {
    std::filesystem::path candidate = path;
    candidate += n == 1 ? ".bak" : ".bak" + std::to_string(n);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, candidate.c_str(), RENAME_NOREPLACE) == 0) {
      keptAs = candidate;
      return true;
    }
    if (errno != EEXIST) {
      error = std::error_code(errno, std::generic_category());
      return false;
    }
  }
  error = std::make_error_code(std::errc::file_exists);
  return false;
}

// Whether the parser makes anything of a line that starts with neither a blank nor a tab: an
// empty line, a comment, a named section or a key with a value.
bool IsParsedLine(std::string_view line) {
  if (line.empty()) return true;
  switch (line.front()) {
    case ';':
    case '#':
      return true;
    case '[': {
      // "[]" names the unnamed section, which a save moves to the head of the file and writes
      // without its line; the keys after it stay in the section before.
      const size_t close = line.find(']');
      return close != std::string_view::npos && !TrimText(line.substr(1, close - 1)).empty();
    }
    case '=':
      return false;
    default:
      return line.find('=') != std::string_view::npos;
  }
}

// The text the parser is given, so that what it reads is what a save writes back and the save
// reads the same again. A NUL would end the parse (every later section would read as defaults,
// which the next save would write over the user's settings): it reads as a blank. Every line
// ends in one LF, since a CR in a comment is copied into the saved file and splits it
// differently next time. Lines the parser skips are dropped beforehand: after a "[" line
// without its "]" it files the keys under a section named after the following lines, and a
// comment after a skipped first line would move to the head of the file on the next save.
// Blanks and UTF-8 signatures at the start of a line go too: the parser skips blanks before
// keys and sections but not before a comment at the head of the file, and it takes a signature
// off only at the very start of the file.
std::string ParsableText(std::string_view file) {
  constexpr std::string_view kSignature = "\xEF\xBB\xBF";
  std::string text;
  text.reserve(file.size());
  std::string line;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = file.size();
    line.assign(file.substr(start, end - start));
    std::replace(line.begin(), line.end(), '\0', ' ');
    size_t first = 0;
    while (first < line.size()) {
      if (line[first] == ' ' || line[first] == '\t') {
        ++first;
      } else if (line.compare(first, kSignature.size(), kSignature) == 0) {
        first += kSignature.size();
      } else {
        break;
      }
    }
    line.erase(0, first);
    // Empty lines before the first line that counts go as well: a comment after them would
    // start the file once saved.
    if (IsParsedLine(line) && !(line.empty() && text.empty())) text += line + '\n';
    start = end + (file.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return text;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value, 16);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  // Eight hex digits wrap into the sign bit, as the profile functions did.
  return static_cast<int32_t>(value);
}

}  // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
  text = Unquoted(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseHex(text.substr(2));
  }
  if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
  return ParseInt32(text);
}

std::string UnableToWriteMessage(const std::string& path) {
  return "Unable to write to " + path;
}

struct IniFile::Store {
  CSimpleIniA ini{false, false, false};
};

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)), store_(new Store) {
  store_->ini.SetSpaces(false);
  std::string text;
  switch (ReadWholeFile(path_, kMaxFileSize, text)) {
    case tWholeFileRead::Missing:
      loadResult_ = IniLoadResult::Missing;
      return;
    case tWholeFileRead::Unreadable:
    case tWholeFileRead::TooLarge:
      loadResult_ = IniLoadResult::Unreadable;
      return;
    case tWholeFileRead::Read:
      break;
  }
  // Keep every duplicate while parsing so lookups return the first one, as the profile
  // functions do; with multi-key off again, a save writes only that first one.
  store_->ini.SetMultiKey(true);
  const SI_Error rc = store_->ini.LoadData(ParsableText(text));
  store_->ini.SetMultiKey(false);
  if (rc < 0) {
    store_->ini.Reset();
    loadResult_ = IniLoadResult::Unreadable;
    return;
  }
  loadResult_ = IniLoadResult::Loaded;
}

IniFile::~IniFile() = default;

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const std::string s(section), k(key);
  const char* value = store_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
  if (!value) return std::string(fallback);
  return ReadValue(value);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t fallback) const {
  const std::string s(section), k(key);
  const char* value = store_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
  if (!value) return fallback;
  // The text ReadString gives, so a quoted "8 " is 8 here as well.
  return ParseProfileInteger(ReadValue(value)).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const {
  const std::string s(section);
  return store_->ini.GetSection(s.c_str()) != nullptr;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  const std::string s(section), k(key);
  return store_->ini.GetValue(s.c_str(), k.c_str(), nullptr) != nullptr;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSection(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> result;
  const std::string s(section);
  const CSimpleIniA::TKeyVal* keys = store_->ini.GetSection(s.c_str());
  if (!keys) return result;
  // The map is sorted by key, duplicates in file order; keep the first of each key and then
  // restore file order.
  std::vector<std::pair<int, const CSimpleIniA::TKeyVal::value_type*>> entries;
  entries.reserve(keys->size());
  const char* previous = nullptr;
  const CSimpleIniA::Entry::KeyOrder sameKey;
  for (const auto& entry : *keys) {
    if (previous && !sameKey(CSimpleIniA::Entry(previous), entry.first) &&
        !sameKey(entry.first, CSimpleIniA::Entry(previous))) {
      continue;
    }
    previous = entry.first.pItem;
    entries.emplace_back(entry.first.nOrder, &entry);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  result.reserve(entries.size());
  for (const auto& [order, entry] : entries) {
    result.emplace_back(entry->first.pItem, ReadValue(entry->second));
  }
  return result;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string s(section), k(key), v = Quoted(value);
  // Replaces the first copy of a duplicated key; saving writes only that one.
  return store_->ini.SetValue(s.c_str(), k.c_str(), v.c_str()) >= 0;
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::EraseSection(std::string_view section) {
  const std::string s(section);
  store_->ini.Delete(s.c_str(), nullptr);
  return true;
}

std::string IniFile::ToText() const {
  std::string text;
  store_->ini.Save(text);
  return text;
}

std::optional<std::string> IniFile::KeepUnreadableFile() {
  if (loadResult_ != IniLoadResult::Unreadable || keepError_) return std::nullopt;
  std::filesystem::path keptAs;
  if (!MoveAside(path_, keptAs, keepError_)) {
    return path_.string() + " could not be read and could not be kept aside (" +
           keepError_.message() + "); it is not saved over.";
  }
  // Nothing is left to protect: the next save creates the file afresh.
  loadResult_ = IniLoadResult::Missing;
  return path_.string() + " could not be read. It has been kept as " + keptAs.string() +
         " and a new file is written in its place.";
}

tWriteResult IniFile::Save() {
  tWriteResult result;
  if (auto notice = KeepUnreadableFile()) result.Notice = std::move(*notice);
  if (loadResult_ == IniLoadResult::Unreadable) {
    result.Message = UnableToWriteMessage(path_.string());
    result.Error = keepError_;
    return result;
  }
  std::string text;
  if (store_->ini.Save(text) < 0) {
    result.Message = UnableToWriteMessage(path_.string());
    result.Error = std::make_error_code(std::errc::not_enough_memory);
    return result;
  }
  if (!WriteFileAtomically(path_, text, &result.Error)) {
    result.Message = UnableToWriteMessage(path_.string());
  }
  return result;
}

}  // namespace ondivo
