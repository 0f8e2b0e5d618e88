// The edit-presets dialog's listening and its presets files.
#include <QPushButton>
#include <QTimer>

#include "panel/PresetsPanel.h"
#include "panel/Prompter.h"
#include "radio/RadioCard.h"
#include "stations/PresetsFile.h"
#include "stations/tdEditFavorites.h"

namespace ondivo {

namespace {

const std::vector<Prompter::FileFilter> kPresetFilters = {{"Ondivo presets (*.ovp)", "*.ovp"},
                                                          {"Plain text (*.txt)", "*.txt"},
                                                          {"All files (*.*)", "*.*"}};

}  // namespace

void tdEditFavorites::btListenClick(bool pressed) {
  if (!pressed) {
    StopListening();
    return;
  }
  const tPreset& e = editor_.Entry(editor_.Selected());
  const bool inside = WithinLimits(e.Frequency, card_.BandMin(), card_.BandMax());
  const tDevCap cap = card_.GetDevCap(card_.Model());
  const bool hasBand = e.Band == bAM ? cap.HasAM : cap.HasFM;
  if (!e.Assigned || !inside || !hasBand || e.Band != card_.Band()) {
    const QSignalBlocker block(listen_);
    listen_->setChecked(false);
    return;
  }
  listening_ = true;
  tSignal signal = sNone;
  try {
    card_.Tune(cardStereo_, e.Band, e.Frequency);
    signal = card_.GetSignal();
  } catch (const std::exception&) {
    // A radio device that went away: listening just finds nothing.
  }
  listen_->setText(signal != sNone ? "Listen T" : "Listen");
  preview_->start();
}

void tdEditFavorites::PreviewTimer() {
  StopListening();
}

void tdEditFavorites::StopListening() {
  preview_->stop();
  if (listening_) {
    listening_ = false;
    try {
      card_.Tune(cardStereo_, cardBand_, cardFrequency_);
    } catch (const std::exception&) {
    }
  }
  const QSignalBlocker block(listen_);
  listen_->setChecked(false);
  listen_->setText("Listen");
}

void tdEditFavorites::btLoadClick() {
  if (editor_.Count() > 0 && !prompts_.Ask(PresetsPanel::kLoadQuestion, "Warning")) return;
  const auto path = prompts_.OpenFile("Load presets", kPresetFilters, "ovp");
  if (!path) return;
  PresetsBank loaded;
  const tFileRead result = LoadPresetsFile(*path, locale_, loaded);
  if (result != kPresetsLoaded) {
    prompts_.Message(std::string(PresetsFileReadMessage(result)), Prompter::Icon::Error, "Warning");
    return;
  }
  editor_.Loaded(loaded, *path);
  setWindowTitle(QString::fromStdString(editor_.Caption()));
  SelectRow(1);
}

void tdEditFavorites::btSaveClick() {
  if (editor_.Duplicated()) return;
  if (editor_.Unnamed()) {
    iSaveAsClick();
  } else {
    SavePresetsFile(editor_.FileName());
  }
}

void tdEditFavorites::iSaveAsClick() {
  if (editor_.Duplicated()) return;
  if (const auto path = prompts_.SaveFile("Save presets", kPresetFilters, "ovp")) {
    SavePresetsFile(*path);
  }
}

void tdEditFavorites::SavePresetsFile(const std::string& path) {
  const tWriteResult written = WritePresetsFile(path, editor_.Result(), locale_);
  if (!written) {
    prompts_.Message(std::string(kPresetsWriteErrorMessage), Prompter::Icon::Error, "Warning");
    return;
  }
  editor_.Saved(path);
  setWindowTitle(QString::fromStdString(editor_.Caption()));
}

}  // namespace ondivo
