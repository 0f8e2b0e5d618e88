#pragma once
// A capture replayed by the emulated SDR (file=PATH,format=cu8|cs16|cf32): read a block at a
// time, converted to complex float, and started over at the end so a short capture plays on.
#include <complex>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace ondivo::sim {

class IqRecording {
 public:
  enum class tFormat { Cu8, Cs16, Cf32 };
  // Throws std::runtime_error for an unknown format or a file that cannot be read.
  static tFormat ParseFormat(const std::string& name);
  IqRecording(const std::string& path, tFormat format);

  void Read(std::complex<float>* out, size_t n);

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> mFile;
  tFormat mFormat;
  size_t mFrameBytes;
  std::vector<uint8_t> mBytes;
};

}  // namespace ondivo::sim
