#include "sim/IqRecording.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "sdr/IqFormat.h"

namespace ondivo::sim {

IqRecording::tFormat IqRecording::ParseFormat(const std::string& name) {
  if (name == "cu8") return tFormat::Cu8;
  if (name == "cs16") return tFormat::Cs16;
  if (name == "cf32") return tFormat::Cf32;
  throw std::runtime_error("ondivo: unknown recording format \"" + name + "\"");
}

IqRecording::IqRecording(const std::string& path, tFormat format)
    : mFile(std::fopen(path.c_str(), "rb")),
      mFormat(format),
      mFrameBytes(format == tFormat::Cu8    ? 2
                  : format == tFormat::Cs16 ? 4
                                            : 8) {
  if (!mFile) throw std::runtime_error("ondivo: cannot read " + path + ": " + std::strerror(errno));
  std::fseek(mFile.get(), 0, SEEK_END);
  if (std::ftell(mFile.get()) < static_cast<long>(mFrameBytes))
    throw std::runtime_error("ondivo: " + path + " holds no samples");
  std::rewind(mFile.get());
}

void IqRecording::Read(std::complex<float>* out, size_t n) {
  mBytes.resize(n * mFrameBytes);
  size_t frames = 0;
  while (frames < n) {
    const size_t got =
        std::fread(mBytes.data() + frames * mFrameBytes, mFrameBytes, n - frames, mFile.get());
    frames += got;
    if (got == 0) std::rewind(mFile.get());
  }
  switch (mFormat) {
    case tFormat::Cu8:
      sdr::Cu8ToIq(mBytes.data(), n, out);
      break;
    case tFormat::Cs16:
      sdr::Cs16ToIq(reinterpret_cast<const int16_t*>(mBytes.data()), n, out);
      break;
    case tFormat::Cf32:
      std::memcpy(out, mBytes.data(), n * mFrameBytes);
      break;
  }
}

}  // namespace ondivo::sim
