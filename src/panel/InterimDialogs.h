#pragma once

#include <optional>

#include "panel/ConfigurationKeys.h"
#include "panel/tdMain.h"

class QWidget;

namespace ondivo {

class Prompter;
class TRadioCard;

// Stand-ins used until the settings and jump-to dialogs are part of the build: the first run
// offers the first card on its default port, and Jump to asks for a frequency.
std::optional<tConfiguration> InterimSetup(QWidget* parent, const tConfiguration& current,
                                           TRadioCard& card, Prompter& prompts);
std::optional<tJumpTarget> InterimJumpTo(QWidget* parent, const TRadioCard& card);

}  // namespace ondivo
