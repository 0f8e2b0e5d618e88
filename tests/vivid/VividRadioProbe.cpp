// Runs inside the test virtual machine, against the kernel's vivid radio receiver: enumerates
// the FM band, tunes, reads the tuner back, waits for the RDS service name and prints one line
// for the host to check:
//   VIVID-RESULT card="..." fm=LOW-HIGH tuned=F readback=F signal=N stereo=0|1 pi=XXXX ps="..."
// or, when something fails before that,
//   VIVID-RESULT error="..."
// Linked statically: the virtual machine has busybox and nothing else.
#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/UniqueFd.h"

namespace {

using ondivo::UniqueFd;

constexpr double kUnitsPerMHzLow = 16000.0;  // 62.5 Hz units
constexpr double kUnitsPerMHz = 16.0;        // 62.5 kHz units

[[noreturn]] void Fail(const std::string& what) {
  std::printf("VIVID-RESULT error=\"%s: %s\"\n", what.c_str(), std::strerror(errno));
  std::fflush(stdout);
  std::exit(1);
}

int Xioctl(int fd, unsigned long request, void* arg) {
  int result;
  do result = ::ioctl(fd, request, arg);
  while (result < 0 && errno == EINTR);
  return result;
}

struct FmBand {
  uint32_t Low = 0;
  uint32_t High = 0;
};

FmBand FindFmBand(int fd) {
  for (uint32_t index = 0;; ++index) {
    v4l2_frequency_band band{};
    band.tuner = 0;
    band.type = V4L2_TUNER_RADIO;
    band.index = index;
    if (Xioctl(fd, VIDIOC_ENUM_FREQ_BANDS, &band) < 0) break;
    if (band.modulation & V4L2_BAND_MODULATION_FM) return {band.rangelow, band.rangehigh};
  }
  Fail("no FM band");
}

// PS from groups 0A/0B: block B carries the segment address, block D two characters. A segment
// counts only when block D arrived without an uncorrectable error.
class ServiceName {
 public:
  void Feed(const v4l2_rds_data& data) {
    if (data.block & V4L2_RDS_BLOCK_ERROR) {
      expected_ = V4L2_RDS_BLOCK_A;
      return;
    }
    const unsigned id = data.block & V4L2_RDS_BLOCK_MSK;
    const uint16_t word = static_cast<uint16_t>(data.msb << 8 | data.lsb);
    if (id == V4L2_RDS_BLOCK_A) {
      pi_ = word;
      expected_ = V4L2_RDS_BLOCK_B;
    } else if (id == V4L2_RDS_BLOCK_B && expected_ == V4L2_RDS_BLOCK_B) {
      blockB_ = word;
      expected_ = V4L2_RDS_BLOCK_C;
    } else if ((id == V4L2_RDS_BLOCK_C || id == V4L2_RDS_BLOCK_C_ALT) &&
               expected_ == V4L2_RDS_BLOCK_C) {
      expected_ = V4L2_RDS_BLOCK_D;
    } else if (id == V4L2_RDS_BLOCK_D && expected_ == V4L2_RDS_BLOCK_D) {
      if ((blockB_ >> 12) == 0) {
        const int segment = blockB_ & 3;
        name_[2 * segment] = static_cast<char>(data.msb);
        name_[2 * segment + 1] = static_cast<char>(data.lsb);
        heard_ |= 1u << segment;
      }
      expected_ = V4L2_RDS_BLOCK_A;
    } else {
      expected_ = V4L2_RDS_BLOCK_A;
    }
  }
  bool Complete() const { return heard_ == 0xf; }
  std::string Name() const { return std::string(name_, 8); }
  uint16_t PI() const { return pi_; }

 private:
  unsigned expected_ = V4L2_RDS_BLOCK_A;
  uint16_t blockB_ = 0;
  uint16_t pi_ = 0;
  char name_[8] = {};
  unsigned heard_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "/dev/radio0";
  // A station of vivid's: it places one every 1 MHz of the FM band.
  const double station = argc > 2 ? std::atof(argv[2]) : 99.0;

  UniqueFd fd(::open(path, O_RDWR | O_NONBLOCK));
  if (!fd) Fail(std::string("open ") + path);

  v4l2_capability cap{};
  if (Xioctl(fd.get(), VIDIOC_QUERYCAP, &cap) < 0) Fail("VIDIOC_QUERYCAP");
  v4l2_tuner tuner{};
  if (Xioctl(fd.get(), VIDIOC_G_TUNER, &tuner) < 0) Fail("VIDIOC_G_TUNER");
  const double perMHz = (tuner.capability & V4L2_TUNER_CAP_LOW) ? kUnitsPerMHzLow : kUnitsPerMHz;
  const FmBand fm = FindFmBand(fd.get());

  v4l2_frequency frequency{};
  frequency.tuner = 0;
  frequency.type = V4L2_TUNER_RADIO;
  frequency.frequency = static_cast<uint32_t>(station * perMHz + 0.5);
  if (Xioctl(fd.get(), VIDIOC_S_FREQUENCY, &frequency) < 0) Fail("VIDIOC_S_FREQUENCY");
  v4l2_frequency readback{};
  readback.tuner = 0;
  if (Xioctl(fd.get(), VIDIOC_G_FREQUENCY, &readback) < 0) Fail("VIDIOC_G_FREQUENCY");
  if (Xioctl(fd.get(), VIDIOC_G_TUNER, &tuner) < 0) Fail("VIDIOC_G_TUNER");

  ServiceName ps;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!ps.Complete() && std::chrono::steady_clock::now() < deadline) {
    pollfd waiter{fd.get(), POLLIN, 0};
    if (::poll(&waiter, 1, 200) < 0 && errno != EINTR) Fail("poll");
    v4l2_rds_data blocks[64];
    const ssize_t got = ::read(fd.get(), blocks, sizeof blocks);
    if (got < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        ::usleep(20000);  // vivid reports readable always; its blocks come every ~22 ms
        continue;
      }
      Fail("read RDS");
    }
    for (ssize_t i = 0; i < got / static_cast<ssize_t>(sizeof blocks[0]); ++i) ps.Feed(blocks[i]);
  }

  std::printf(
      "VIVID-RESULT card=\"%s\" fm=%.3f-%.3f tuned=%.3f readback=%.3f signal=%u stereo=%d "
      "pi=%04X ps=\"%s\"\n",
      reinterpret_cast<const char*>(cap.card), fm.Low / perMHz, fm.High / perMHz,
      frequency.frequency / perMHz, readback.frequency / perMHz, tuner.signal,
      (tuner.rxsubchans & V4L2_TUNER_SUB_STEREO) ? 1 : 0, ps.PI(),
      ps.Complete() ? ps.Name().c_str() : "");
  std::fflush(stdout);
  return 0;
}
