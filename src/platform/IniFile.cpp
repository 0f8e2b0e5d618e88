#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Narrow strings only, compared with plain ASCII case folding (no locale).
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // this packaging keeps the template bodies behind this switch
#include <SimpleIni.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <optional>

#include "platform/AtomicFile.h"
#include "platform/TextConvert.h"

namespace ondivo {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

enum class ReadOutcome { Ok, Missing, Failed };

ReadOutcome ReadWholeFile(const std::filesystem::path& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<uintmax_t>(info.st_size) > IniFile::kMaxFileSize) {
    ::close(fd);
    return ReadOutcome::Failed;
  }
  out.clear();
  out.reserve(static_cast<size_t>(info.st_size));
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 ||
        out.size() + static_cast<size_t>(std::max<ssize_t>(got, 0)) > IniFile::kMaxFileSize) {
      ::close(fd);
      return ReadOutcome::Failed;
    }
    if (got == 0) break;
    out.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return ReadOutcome::Ok;
}

std::string Sanitized(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    if (static_cast<unsigned char>(c) < ' ' && c != '\t') c = ' ';
  }
  return result;
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
  text = TrimBlanks(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseHex(text.substr(2));
  }
  if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
  const auto value = ParseInteger(text);
  if (!value || *value < std::numeric_limits<int32_t>::min() ||
      *value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*value);
}

struct IniFile::Store {
  CSimpleIniA ini{false, false, false};
};

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)), store_(new Store) {
  store_->ini.SetSpaces(false);
  std::string text;
  switch (ReadWholeFile(path_, text)) {
    case ReadOutcome::Missing:
      loadResult_ = IniLoadResult::Missing;
      return;
    case ReadOutcome::Failed:
      loadResult_ = IniLoadResult::Unreadable;
      return;
    case ReadOutcome::Ok:
      break;
  }
  // Keep every duplicate while parsing so lookups return the first one, as the profile
  // functions do; with multi-key off again, a save writes only that first one.
  store_->ini.SetMultiKey(true);
  const SI_Error rc = store_->ini.LoadData(text);
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
  return std::string(TrimBlanks(value));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t fallback) const {
  const std::string s(section), k(key);
  const char* value = store_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
  if (!value) return fallback;
  return ParseProfileInteger(value).value_or(fallback);
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
    result.emplace_back(entry->first.pItem, std::string(TrimBlanks(entry->second)));
  }
  return result;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string s(section), k(key), v = Sanitized(value);
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

bool IniFile::Save() {
  std::string text;
  if (store_->ini.Save(text) < 0) return false;
  return WriteFileAtomically(path_, text);
}

}  // namespace ondivo
