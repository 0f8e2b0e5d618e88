// The organizer's preset buttons, which take stations dragged from the tree, and "OK", which
// saves the tree.
#include <QMenu>

#include "panel/Prompter.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/ReadWholeFile.h"
#include "stations/OrganizerRules.h"
#include "stations/OrganizerWidgets.h"
#include "stations/PresetsBank.h"
#include "stations/tdOrganizer.h"

namespace ondivo {

namespace {

std::string SaveOverQuestion(size_t rows) {
  return std::to_string(rows) +
         " entries of Ondivo.db could not be read and would be lost.\r"
         "Save the tree shown over the file? A copy is kept as Ondivo.db.bak.";
}

}  // namespace

bool tdOrganizer::btRadioDragOver() const {
  const tStation* station = SelectedStation();
  return !scanning_ && station && StationFitsPresets(panel_.Bank, *station);
}

void tdOrganizer::btRadioDragDrop(int n) {
  const tStation* station = SelectedStation();
  if (!btRadioDragOver() || !PresetsBank::IsPresetNumber(n)) return;
  const int previous = panel_.CurrentPreset;
  panel_.Bank.Store(n, SelectedNode()->Name, station->Frequency, station->Band);
  panel_.CurrentPreset = n;
  if (PresetsBank::IsPresetNumber(previous)) ShowPreset(previous);
  ShowPreset(n);
}

void tdOrganizer::BtMenuPopup(int n) {
  popupPreset_ = n;
  iClear_->setEnabled(panel_.Bank.Preset(n).Assigned);
}

void tdOrganizer::iClearClick() {
  const int n = popupPreset_;
  if (scanning_ || !PresetsBank::IsPresetNumber(n)) return;
  panel_.Bank.Clear(n);
  if (panel_.CurrentPreset == n) panel_.CurrentPreset = 0;
  ShowPreset(n);
}

void tdOrganizer::iClearAllClick() {
  if (scanning_ || !panel_.Prompts.Ask("Are you sure ?", "Clear all favorites")) return;
  panel_.Bank.ClearAll();
  panel_.CurrentPreset = 0;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) ShowPreset(n);
}

// Rows of Ondivo.db that were skipped or dropped on reading (a damaged file, or one written
// under the other decimal separator) are not in the tree: saving over the file would lose them.
size_t tdOrganizer::RowsNotShown() const {
  return loaded_.Skipped + loaded_.Dropped;
}

void tdOrganizer::btSaveExitClick() {
  stop_ = true;
  if (RowsNotShown() > 0) {
    if (!panel_.Prompts.Ask(SaveOverQuestion(RowsNotShown()), "Warning")) return;
    if (!KeepCopy(panel_.Database)) return;
  }
  const tWriteResult written = SaveOrganizerDatabase(panel_.Database, tree_, panel_.Locale);
  if (!written) {
    panel_.Prompts.Message(written.Message, Prompter::Icon::Error, "Warning");
    return;
  }
  if (!written.Notice.empty()) {
    panel_.Prompts.Message(written.Notice, Prompter::Icon::Warning, "Warning");
  }
  accept();
}

// The file as it was, as "Ondivo.db.bak" beside it.
bool tdOrganizer::KeepCopy(const std::filesystem::path& database) {
  std::filesystem::path copy = database;
  copy += ".bak";
  std::string bytes;
  std::error_code error;
  if (ReadWholeFile(database, IniFile::kMaxFileSize, bytes) != tWholeFileRead::Read ||
      !WriteFileAtomically(copy, bytes, &error)) {
    panel_.Prompts.Message(UnableToWriteMessage(copy.string()), Prompter::Icon::Error, "Warning");
    return false;
  }
  return true;
}

}  // namespace ondivo
