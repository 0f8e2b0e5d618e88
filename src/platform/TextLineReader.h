#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

namespace ondivo {

// Reads a text file line by line with a cap on the line length, so a file of junk without line
// breaks costs a bounded amount of memory. A line ends at LF; a CR just before it is dropped.
class TextLineReader {
 public:
  enum class Status { Line, End, TooLong, Error };

  explicit TextLineReader(const std::filesystem::path& path);

  bool IsOpen() const { return fd_.isValid(); }
  // True when nothing is left to read (or reading failed, which ReadLine then reports).
  bool AtEnd();
  // The next line without its line break. TooLong when it exceeds maxLength bytes.
  Status ReadLine(std::string& line, size_t maxLength);
  // A read failed (AtEnd() then also gives true).
  bool Failed() const { return failed_; }

 private:
  bool Fill();

  UniqueFd fd_;
  bool failed_ = false;
  bool eof_ = false;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
};

}  // namespace ondivo
