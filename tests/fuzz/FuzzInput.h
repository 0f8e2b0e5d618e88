#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/LocaleFormat.h"
#include "platform/UniqueFd.h"

namespace ondivo::fuzz {

// The readers take paths, so each input becomes the content of an in-memory file reached
// through /proc/self/fd. The first byte picks the decimal separator, so both are fuzzed: a comma
// or any odd byte gives ",", anything else "." (seeds start with the separator they use). The
// rest is the file.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) {
    if (size > 0) {
      locale_.DecimalSeparator = (data[0] == ',' || (data[0] & 1) != 0) ? ',' : '.';
      ++data;
      --size;
    }
    text_.assign(reinterpret_cast<const char*>(data), size);
    path_ = Store(text_, 0);
  }

  const LocaleFormat& Locale() const { return locale_; }
  const std::filesystem::path& Path() const { return path_; }
  std::string_view Text() const { return text_; }

  // A second file, for reading back what a writer made of the first.
  std::filesystem::path Rewrite(std::string_view text) const { return Store(text, 1); }

 private:
  static std::filesystem::path Store(std::string_view text, int slot) {
    static UniqueFd files[2];
    UniqueFd& file = files[slot];
    if (!file) file.reset(::memfd_create("ondivo-fuzz", MFD_CLOEXEC));
    if (!file || ::ftruncate(file.get(), 0) != 0 ||
        ::pwrite(file.get(), text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
      std::abort();  // the harness itself failed, not the reader
    }
    return "/proc/self/fd/" + std::to_string(file.get());
  }

  LocaleFormat locale_;
  std::string text_;
  std::filesystem::path path_;
};

// A file in a private folder that lives as long as the process, for writers that replace a
// file atomically beside itself (they cannot write to /proc/self/fd).
inline std::filesystem::path ScratchPath(const std::string& name) {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ondivo-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    static const std::filesystem::path made = pattern;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(made, ec);
    });
    return made;
  }();
  return folder / name;
}

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The write-then-read-back checks report files the program writes but cannot read again.
// They are asked for with ONDIVO_FUZZ_ROUNDTRIP=1; without it a target looks for memory errors,
// undefined behaviour, leaks and hangs only.
inline bool RoundTripWanted() {
  static const bool wanted = [] {
    const char* value = std::getenv("ONDIVO_FUZZ_ROUNDTRIP");
    return value != nullptr && std::string_view(value) == "1";
  }();
  return wanted;
}

// A broken property: abort so that libFuzzer keeps the input as a crash.
#define ONDIVO_FUZZ_CHECK(condition)                                                  \
  do {                                                                                \
    if (!(condition)) {                                                               \
      ::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ::abort();                                                                      \
    }                                                                                 \
  } while (false)

}  // namespace ondivo::fuzz
