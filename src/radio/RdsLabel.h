#pragma once

#include <string>
#include <string_view>

namespace ondivo {

class RdsDecoder;

// What the panel shows of RDS. rds may be null (no RDS, or not the V4L2 model).
// The station label: a named preset matching the tuned frequency keeps its name; otherwise the
// service name without its padding; empty when there is neither.
std::string StationNameToShow(std::string_view matchingPresetName, const RdsDecoder* rds);
// The label's hint: the RadioText, empty when there is none.
std::string StationHintToShow(const RdsDecoder* rds);
// The name tdAskName proposes for a new preset: the service name without its padding.
std::string SuggestedPresetName(const RdsDecoder* rds);
// What the ask-name dialog opens with when the tuned station goes into a preset whose name is
// presetName: the station's service name when one is in, else the preset's own name.
std::string PresetNameToOffer(std::string_view presetName, const RdsDecoder* rds);

}  // namespace ondivo
