// The emulated sound card's stream output as an ALSA PCM: "type ondivo_stream" in an ALSA
// configuration, "file" naming the ring file (EmulatedStream.h). Like a file PCM on a null
// slave it takes sound as fast as it is given, but it keeps only the last seconds.
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <fcntl.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "platform/UniqueFd.h"
#include "sim/AlsaPluginField.h"
#include "sim/EmulatedStream.h"

namespace ondivo::sim {
namespace {

constexpr unsigned kFrameBytes = 2;  // per channel: S16_LE

struct StreamPcm {
  snd_pcm_ioplug_t io{};
  UniqueFd file;
  UniqueFd wake;  // always ready: the output never makes a writer wait
  EmulatedStreamHeader header;
};

StreamPcm* Of(snd_pcm_ioplug_t* io) {
  return static_cast<StreamPcm*>(io->private_data);
}

bool WriteAt(int fd, const void* data, size_t size, off_t at) {
  return ::pwrite(fd, data, size, at) == static_cast<ssize_t>(size);
}

int Close(snd_pcm_ioplug_t* io) {
  delete Of(io);
  return 0;
}

int StartOrStop(snd_pcm_ioplug_t*) {
  return 0;
}

// Everything given is played at once, so the position is the application's.
snd_pcm_sframes_t Pointer(snd_pcm_ioplug_t* io) {
  return static_cast<snd_pcm_sframes_t>(io->appl_ptr);
}

// A new format starts the ring afresh; a prepare after a stop keeps what was kept.
int Prepare(snd_pcm_ioplug_t* io) {
  StreamPcm& s = *Of(io);
  if (s.header.Rate == io->rate && s.header.Channels == io->channels) return 0;
  s.header.Rate = io->rate;
  s.header.Channels = io->channels;
  s.header.Capacity = kStreamSeconds * io->rate;
  s.header.Written = 0;
  const off_t size = static_cast<off_t>(sizeof s.header) +
                     static_cast<off_t>(s.header.Capacity) * io->channels * kFrameBytes;
  if (::ftruncate(s.file.get(), 0) != 0 || ::ftruncate(s.file.get(), size) != 0) return -errno;
  return WriteAt(s.file.get(), &s.header, sizeof s.header, 0) ? 0 : -EIO;
}

snd_pcm_sframes_t Transfer(snd_pcm_ioplug_t* io, const snd_pcm_channel_area_t* areas,
                           snd_pcm_uframes_t offset, snd_pcm_uframes_t size) {
  StreamPcm& s = *Of(io);
  const size_t frameBytes = io->channels * kFrameBytes;
  const auto* from =
      static_cast<const char*>(areas[0].addr) + areas[0].first / 8 + offset * areas[0].step / 8;
  // The last Capacity frames are all the ring can hold.
  const size_t skip = size > s.header.Capacity ? size - s.header.Capacity : 0;
  for (size_t done = skip; done < size;) {
    const size_t slot = (s.header.Written + done) % s.header.Capacity;
    const size_t n = std::min<size_t>(size - done, s.header.Capacity - slot);
    if (!WriteAt(s.file.get(), from + done * frameBytes, n * frameBytes,
                 static_cast<off_t>(sizeof s.header + slot * frameBytes))) {
      return -EIO;
    }
    done += n;
  }
  s.header.Written += size;
  if (!WriteAt(s.file.get(), &s.header, sizeof s.header, 0)) return -EIO;
  return static_cast<snd_pcm_sframes_t>(size);
}

snd_pcm_ioplug_callback_t MakeCallbacks() {
  snd_pcm_ioplug_callback_t callbacks{};
  callbacks.start = StartOrStop;
  callbacks.stop = StartOrStop;
  callbacks.pointer = Pointer;
  callbacks.transfer = Transfer;
  callbacks.close = Close;
  callbacks.prepare = Prepare;
  return callbacks;
}
const snd_pcm_ioplug_callback_t kCallbacks = MakeCallbacks();

int Constrain(snd_pcm_ioplug_t& io) {
  static const unsigned accesses[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
  static const unsigned formats[] = {SND_PCM_FORMAT_S16_LE};
  int error = snd_pcm_ioplug_set_param_list(&io, SND_PCM_IOPLUG_HW_ACCESS, 1, accesses);
  if (error >= 0) error = snd_pcm_ioplug_set_param_list(&io, SND_PCM_IOPLUG_HW_FORMAT, 1, formats);
  if (error >= 0) error = snd_pcm_ioplug_set_param_minmax(&io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_minmax(&io, SND_PCM_IOPLUG_HW_RATE, 8000, 192000);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_minmax(&io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 1 << 16);
  if (error >= 0) error = snd_pcm_ioplug_set_param_minmax(&io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64);
  return error;
}

int OpenStream(snd_pcm_t** pcm, const char* name, snd_config_t* conf, snd_pcm_stream_t stream,
               int mode) {
  std::string path;
  if (const int error = ReadPluginField(conf, "file", &path); error < 0) return error;
  if (path.empty()) {
    SNDERR("No file for the emulated stream output");
    return -EINVAL;
  }
  if (stream != SND_PCM_STREAM_PLAYBACK) return -EINVAL;

  auto s = std::make_unique<StreamPcm>();
  s->file = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  s->wake = UniqueFd(::eventfd(1, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!s->file || !s->wake) return -errno;
  snd_pcm_ioplug_t& io = s->io;
  io.version = SND_PCM_IOPLUG_VERSION;
  io.name = "Ondivo emulated stream output";
  io.mmap_rw = 0;
  io.poll_fd = s->wake.get();
  io.poll_events = POLLOUT;
  // Pointer() counts up to the boundary, not the buffer size, so a whole buffer written between
  // two looks is not mistaken for none.
  io.flags = SND_PCM_IOPLUG_FLAG_BOUNDARY_WA;
  io.callback = &kCallbacks;
  io.private_data = s.get();
  int error = snd_pcm_ioplug_create(&io, name, stream, mode);
  if (error < 0) return error;
  (void)s.release();  // freed by the close callback from here on
  error = Constrain(io);
  if (error < 0) {
    snd_pcm_ioplug_delete(&io);
    return error;
  }
  *pcm = io.pcm;
  return 0;
}

}  // namespace
}  // namespace ondivo::sim

extern "C" {

SND_PCM_PLUGIN_DEFINE_FUNC(ondivo_stream) {
  (void)root;
  return ondivo::sim::OpenStream(pcmp, name, conf, stream, mode);
}

SND_PCM_PLUGIN_SYMBOL(ondivo_stream)
}
