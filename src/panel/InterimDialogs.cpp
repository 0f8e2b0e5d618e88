#include "panel/InterimDialogs.h"

#include <QInputDialog>

#include "panel/Prompter.h"
#include "radio/RadioCard.h"
#include "settings/JumpToValues.h"

namespace ondivo {

std::optional<tConfiguration> InterimSetup(QWidget*, const tConfiguration& current,
                                           TRadioCard& card, Prompter& prompts) {
  if (current.Hardware != 0 && current.Port != 0) {
    prompts.Message(
        "The settings dialog is not part of this build yet; edit Ondivo.ini to "
        "change the card.",
        Prompter::Icon::Information, "Settings");
    return std::nullopt;
  }
  const tModel model = ModelFromHardwareIndex(current.Hardware);
  const tDevCap cap = card.GetDevCap(model);
  if (!prompts.Ask("Ondivo has no radio card set up yet.\rUse the " + cap.Maker + " " + cap.Name +
                       " on its default port?",
                   "Settings")) {
    return std::nullopt;
  }
  tConfiguration chosen = current;
  chosen.Hardware = HardwareIndexFromModel(model);
  chosen.Port = static_cast<uint8_t>(cap.DefaultPort);
  chosen.VolumeLine = (cap.CanVolume || cap.CanMute) ? vlNative : vlNone;
  return chosen;
}

std::optional<tJumpTarget> InterimJumpTo(QWidget* parent, const TRadioCard& card) {
  const tJumpToValues values = tJumpToValues::FromCard(card);
  const tJumpBand& band = values.Limits();
  bool ok = false;
  const double typed = QInputDialog::getDouble(
      parent, "Jump to", card.Band() == bFM ? "Frequency (MHz)" : "Frequency (MHz, AM)",
      values.Value(), band.Min, band.Max, 3, &ok);
  if (!ok) return std::nullopt;
  return tJumpTarget{values.Band(), values.Snap(typed)};
}

}  // namespace ondivo
