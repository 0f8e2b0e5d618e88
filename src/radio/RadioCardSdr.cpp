// The SDR model's part of the card component: which device each port opens.
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "sdr/SdrProtocol.h"

namespace ondivo {

void TRadioCard::SetSdrDevices(SdrDevices devices) {
  if (on_) throw eCantSetup();
  sdrDevices_ = std::move(devices);
}

std::string TRadioCard::SdrFailure() const {
  return sdr_->Failure();
}

}  // namespace ondivo
