#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/UniqueFd.h"
#include "radio/ComPortPaths.h"
#include "radio/RadioTypes.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

// What the emulated radio has made of the bytes it received.
struct SerialRadioStatus {
  bool Powered = false;  // the far end holds the line open (DTR and RTS up)
  bool Tuned = false;    // a tuning frame arrived since power-up
  tBand Band = bFM;
  int Channel = 0;
  double Frequency = 0;  // MHz, from the channel
  bool Muted = false;    // the radio powers up playing
  uint64_t Frames = 0;   // complete command frames decoded
  uint64_t Replies = 0;  // "tuned" replies sent
  bool Unplugged = false;
};

// A serial radio on the master side of a pty: the program opens SlavePath() as its COM port.
// Ptys carry no modem lines, so power is read from the line itself: the radio is powered while
// the far end holds the slave open (opening raises DTR and RTS, closing drops them) and loses
// its tuning when the line drops. It decodes the command frames into band, channel and mute and
// answers the reception query with 1D 23 04 23 when a landscape station sits at the tuned
// frequency, now and then with a stray byte before or after as real radios do.
//
// Serviced either by the test (ServiceOnce) or by its own thread (Start), never both at once.
class EmulatedSerialRadio {
 public:
  struct Options {
    bool StrayBytes = true;
    uint32_t Seed = 1;  // for the stray bytes
  };

  EmulatedSerialRadio(tModel model, StationLandscape landscape);
  EmulatedSerialRadio(tModel model, StationLandscape landscape, Options options);
  ~EmulatedSerialRadio();
  EmulatedSerialRadio(const EmulatedSerialRadio&) = delete;
  EmulatedSerialRadio& operator=(const EmulatedSerialRadio&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  tModel Model() const;
  void SetModel(tModel model);

  // Waits up to waitMs for the line, takes every pending byte and answers. True if bytes came.
  bool ServiceOnce(int waitMs);
  void Start();
  void Stop();

  SerialRadioStatus Status() const;
  // Blocks until the status satisfies done or the timeout passes; needs the thread running.
  bool WaitUntil(const std::function<bool(const SerialRadioStatus&)>& done,
                 std::chrono::milliseconds timeout) const;
  // Every byte received so far (the most recent 64 KiB), in order.
  std::vector<uint8_t> Received() const;
  std::vector<uint8_t> TakeReceived();

  // The far end disappears, as a USB adapter pulled out: stops servicing and closes the master.
  void Unplug();

 private:
  void Run();
  void Decode();
  void Apply(uint8_t command, const uint8_t* digits);
  void Reply();
  void SetPowered(bool powered);
  void WakeDrain();

  UniqueFd master_;
  UniqueFd wake_;  // eventfd that stops the thread's wait
  std::string slavePath_;
  StationLandscape landscape_;
  Options options_;
  std::minstd_rand random_;
  std::vector<uint8_t> pending_;  // bytes of a frame not complete yet

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  tModel model_;
  SerialRadioStatus status_;
  std::vector<uint8_t> received_;

  std::thread thread_;
  bool stopping_ = false;  // guarded by mutex_
};

// The serial side of --simulate: a radio of the given model behind each of COM1..COMcount,
// each serviced by its own thread, with paths pointing COMn at its pty. Follow model changes
// with SetModel on every radio.
std::vector<std::unique_ptr<EmulatedSerialRadio>> StartSerialRadios(
    tModel model, const StationLandscape& landscape, ComPortPaths& paths, int count = 8);

}  // namespace ondivo::sim
