#include "platform/TextLineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ondivo {

TextLineReader::TextLineReader(const std::filesystem::path& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), buffer_(64 * 1024) {}

bool TextLineReader::Fill() {
  if (begin_ < end_) return true;
  if (!fd_ || failed_ || eof_) return false;
  begin_ = end_ = 0;
  for (;;) {
    const ssize_t got = ::read(fd_.get(), buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed_ = true;
      return false;
    }
    if (got == 0) {
      eof_ = true;
      return false;
    }
    end_ = static_cast<size_t>(got);
    return true;
  }
}

bool TextLineReader::AtEnd() {
  return !Fill();
}

TextLineReader::Status TextLineReader::ReadLine(std::string& line, size_t maxLength) {
  line.clear();
  if (!fd_) return Status::Error;
  bool any = false;
  for (;;) {
    if (!Fill()) {
      if (failed_) return Status::Error;
      break;  // end of file ends the last line
    }
    any = true;
    const char* start = buffer_.data() + begin_;
    const void* found = std::memchr(start, '\n', end_ - begin_);
    const size_t take =
        found ? static_cast<size_t>(static_cast<const char*>(found) - start) : end_ - begin_;
    // One byte of slack for the CR that may precede the LF.
    if (line.size() + take > maxLength + 1) return Status::TooLong;
    line.append(start, take);
    begin_ += take;
    if (found) {
      ++begin_;
      break;
    }
  }
  if (!any) return Status::End;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > maxLength) return Status::TooLong;
  return Status::Line;
}

}  // namespace ondivo
