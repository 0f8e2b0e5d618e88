#include "sim/EmulatedSerialRadio.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace ondivo::sim {

namespace {

constexpr uint8_t kHead = 0x1D;
constexpr uint8_t kSep = 0x23;
constexpr uint8_t kAudioOn = 0x01;
constexpr uint8_t kMute = 0x02;
constexpr uint8_t kTuned = 0x04;
constexpr uint8_t kTuneFM = 0x05;
constexpr uint8_t kQuery = 0x08;
constexpr uint8_t kTuneAM = 0x09;

constexpr int kMaxFMChannel = 640;  // 108.0 MHz
constexpr int kMaxAMChannel = 121;  // 1620 kHz
constexpr double kAMChannelStep = 0.009;
constexpr int kHangupRecheckMs = 10;  // a hung-up master polls ready at once: do not spin
constexpr size_t kReceivedKept = 64 * 1024;

bool HasAM(tModel model) {
  return model == mRadioMan || model == mRajikoma;
}

bool IsDigit(uint8_t byte) {
  return byte >= '0' && byte <= '9';
}

}  // namespace

EmulatedSerialRadio::EmulatedSerialRadio(tModel model, StationLandscape landscape)
    : EmulatedSerialRadio(model, landscape, Options{}) {}

EmulatedSerialRadio::EmulatedSerialRadio(tModel model, StationLandscape landscape, Options options)
    : landscape_(landscape), options_(options), random_(options.Seed), model_(model) {
  master_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY));
  if (!master_.isValid() || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) {
    throw std::runtime_error("cannot open a pty");
  }
  ::fcntl(master_.get(), F_SETFL, ::fcntl(master_.get(), F_GETFL) | O_NONBLOCK);
  ::fcntl(master_.get(), F_SETFD, FD_CLOEXEC);
  std::array<char, 128> name{};
  if (::ptsname_r(master_.get(), name.data(), name.size()) != 0) {
    throw std::runtime_error("cannot name the pty");
  }
  slavePath_ = name.data();
  // Open and close the slave once: from then on the master reports a hang-up whenever no one
  // holds the line, so every open and close by the program can be seen.
  UniqueFd(::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  wake_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
}

EmulatedSerialRadio::~EmulatedSerialRadio() {
  Stop();
}

tModel EmulatedSerialRadio::Model() const {
  std::lock_guard lock(mutex_);
  return model_;
}

void EmulatedSerialRadio::SetModel(tModel model) {
  std::lock_guard lock(mutex_);
  model_ = model;
}

SerialRadioStatus EmulatedSerialRadio::Status() const {
  std::lock_guard lock(mutex_);
  return status_;
}

bool EmulatedSerialRadio::WaitUntil(const std::function<bool(const SerialRadioStatus&)>& done,
                                    std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return done(status_); });
}

std::vector<uint8_t> EmulatedSerialRadio::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<uint8_t> EmulatedSerialRadio::TakeReceived() {
  std::lock_guard lock(mutex_);
  return std::exchange(received_, {});
}

void EmulatedSerialRadio::Start() {
  if (thread_.joinable() || !master_.isValid()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }
  thread_ = std::thread([this] { Run(); });
}

void EmulatedSerialRadio::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  const uint64_t one = 1;
  [[maybe_unused]] auto ignored = ::write(wake_.get(), &one, sizeof one);
  thread_.join();
  WakeDrain();
}

void EmulatedSerialRadio::Unplug() {
  Stop();
  master_.reset();
  pending_.clear();
  std::lock_guard lock(mutex_);
  status_.Unplugged = true;
  status_.Powered = false;
  status_.Tuned = false;
  changed_.notify_all();
}

void EmulatedSerialRadio::Run() {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
    ServiceOnce(1000);
  }
}

void EmulatedSerialRadio::WakeDrain() {
  uint64_t count = 0;
  [[maybe_unused]] auto ignored = ::read(wake_.get(), &count, sizeof count);
}

bool EmulatedSerialRadio::ServiceOnce(int waitMs) {
  if (!master_.isValid()) return false;
  // A line coming up shows only as the hang-up going away: look again soon.
  if (!Status().Powered) waitMs = std::min(waitMs, kHangupRecheckMs);
  std::array<pollfd, 2> fds{{{master_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
  const int ready = ::poll(fds.data(), fds.size(), waitMs);
  if (ready < 0) return false;
  if (fds[0].revents & POLLIN) {
    std::array<uint8_t, 1024> buffer{};
    bool got = false;
    for (;;) {
      const ssize_t n = ::read(master_.get(), buffer.data(), buffer.size());
      if (n <= 0) break;
      got = true;
      pending_.insert(pending_.end(), buffer.begin(), buffer.begin() + n);
      std::lock_guard lock(mutex_);
      received_.insert(received_.end(), buffer.begin(), buffer.begin() + n);
      if (received_.size() > kReceivedKept) {
        received_.erase(received_.begin(), received_.end() - kReceivedKept / 2);
      }
    }
    if (got) {
      SetPowered(true);
      Decode();
      return true;
    }
  }
  if (fds[0].revents & POLLHUP) {
    SetPowered(false);
    pollfd wake{wake_.get(), POLLIN, 0};
    ::poll(&wake, 1, std::min(waitMs, kHangupRecheckMs));
    return false;
  }
  if (!(fds[1].revents & POLLIN)) SetPowered(true);  // no hang-up: someone holds the line
  return false;
}

void EmulatedSerialRadio::SetPowered(bool powered) {
  std::lock_guard lock(mutex_);
  if (status_.Powered == powered) return;
  status_.Powered = powered;
  if (!powered) {
    // Power comes from the modem lines: a dropped line resets the radio.
    status_.Tuned = false;
    status_.Muted = false;
    pending_.clear();
  }
  changed_.notify_all();
}

void EmulatedSerialRadio::Decode() {
  size_t at = 0;
  while (pending_.size() - at >= 4) {
    const uint8_t* frame = pending_.data() + at;
    if (frame[0] != kHead || frame[1] != kSep || frame[3] != kSep) {
      ++at;  // noise: look for the next frame start
      continue;
    }
    const uint8_t command = frame[2];
    if (command == kTuneFM || command == kTuneAM) {
      if (pending_.size() - at < 7) break;  // the digits are still on their way
      if (!IsDigit(frame[4]) || !IsDigit(frame[5]) || !IsDigit(frame[6])) {
        at += 4;  // a broken tuning frame is dropped
        continue;
      }
      Apply(command, frame + 4);
      at += 7;
    } else {
      Apply(command, nullptr);
      at += 4;
    }
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}

void EmulatedSerialRadio::Apply(uint8_t command, const uint8_t* digits) {
  bool reply = false;
  {
    std::lock_guard lock(mutex_);
    ++status_.Frames;
    if (command == kAudioOn) {
      status_.Muted = false;
    } else if (command == kMute) {
      status_.Muted = true;
    } else if (command == kQuery) {
      reply = status_.Tuned && landscape_.StationAt(status_.Band, status_.Frequency) != nullptr;
    } else if (command == kTuneFM || command == kTuneAM) {
      const int channel = (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
      if (command == kTuneFM && channel <= kMaxFMChannel) {
        status_.Tuned = true;
        status_.Band = bFM;
        status_.Channel = channel;
        status_.Frequency = 76.0 + channel / 20.0;
      } else if (command == kTuneAM && HasAM(model_) && channel <= kMaxAMChannel) {
        status_.Tuned = true;
        status_.Band = bAM;
        status_.Channel = channel;
        status_.Frequency = kAMMin + channel * kAMChannelStep;
      }
    }
    if (!reply) changed_.notify_all();
  }
  if (reply) Reply();
}

void EmulatedSerialRadio::Reply() {
  std::vector<uint8_t> bytes = {kHead, kSep, kTuned, kSep};
  if (options_.StrayBytes) {
    switch (random_() % 3) {
      case 1:
        bytes.insert(bytes.begin(), 0x00);
        break;
      case 2:
        bytes.push_back(0x0D);
        break;
      default:
        break;
    }
  }
  [[maybe_unused]] auto ignored = ::write(master_.get(), bytes.data(), bytes.size());
  std::lock_guard lock(mutex_);
  ++status_.Replies;
  changed_.notify_all();
}

std::vector<std::unique_ptr<EmulatedSerialRadio>> StartSerialRadios(
    tModel model, const StationLandscape& landscape, ComPortPaths& paths, int count) {
  std::vector<std::unique_ptr<EmulatedSerialRadio>> radios;
  for (int n = 1; n <= count; ++n) {
    auto radio = std::make_unique<EmulatedSerialRadio>(model, landscape);
    paths.Override(n, radio->SlavePath());
    radio->Start();
    radios.push_back(std::move(radio));
  }
  return radios;
}

}  // namespace ondivo::sim
