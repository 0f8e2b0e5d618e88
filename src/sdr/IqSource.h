#pragma once
// Where the receiver thread gets its IQ: a SoapySDR stream for real devices and the emulated
// one; tests hand it synthesized samples directly.
#include <cstddef>
#include <stdexcept>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

// Reading failed (device unplugged, stream broken); what() says so for the user.
class eIqSource : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IqSource {
 public:
  virtual ~IqSource() = default;
  virtual double Rate() const = 0;
  // Blocks until samples arrive; returns how many (0: the stream has ended). Throws eIqSource.
  virtual size_t Read(Iq* out, size_t max) = 0;
};

}  // namespace ondivo::sdr
