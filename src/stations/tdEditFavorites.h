#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/LocaleFormat.h"
#include "stations/PresetsEditor.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

namespace ondivo {

class Prompter;
class TRadioCard;
class TunerSection;

// What "Ok" hands back to the panel.
struct tPresetsEdit {
  PresetsBank Bank;
  int Current = 0;
  std::string FileName;
};

// "Edit presets": the hundred presets as a numbered list on a working copy. Entries are named,
// tuned, inserted, deleted, moved, cleared, listened to for a few seconds and saved to or
// loaded from presets files; "Ok" hands the copy back, Cancel drops it after asking when
// presets of the panel would be lost.
class tdEditFavorites : public QDialog {
  Q_OBJECT

 public:
  using HelpHook = std::function<void(const std::string& topic)>;
  static constexpr int kPreviewMs = 5000;

  tdEditFavorites(QWidget* parent, const PresetsBank& bank, int currentPreset, std::string fileName,
                  TRadioCard& card, double step, Prompter& prompts, LocaleFormat locale,
                  HelpHook help);
  ~tdEditFavorites() override;

  static std::optional<tPresetsEdit> Run(QWidget* parent, const PresetsBank& bank,
                                         int currentPreset, std::string fileName, TRadioCard& card,
                                         double step, Prompter& prompts, LocaleFormat locale,
                                         HelpHook help);

  const PresetsEditor& Editor() const { return editor_; }
  tPresetsEdit Result() const;
  // The listening time is over (the Preview timer's handler).
  void PreviewTimer();
  QTimer* Preview() const { return preview_; }

  void reject() override;
  void done(int result) override;

 private:
  void BuildControls(QWidget* group);
  void BuildMenu();
  void PresetsClick(int row);
  void ShowEntry();
  void SetEntryFrequency(tBand band, double mhz);
  void UpdateEditButtons();
  void SelectRow(int n);
  void StationNameChange(const QString& text);
  void StepBy(int units);
  void ShowStep();
  void btListenClick(bool pressed);
  void StopListening();
  void Ask(const std::string& question, const std::function<void()>& then);
  void btLoadClick();
  void btSaveClick();
  void iSaveAsClick();
  void SavePresetsFile(const std::string& path);
  void Refresh();

  PresetsEditor editor_;
  TRadioCard& card_;
  Prompter& prompts_;
  LocaleFormat locale_;
  HelpHook help_;
  double step_;
  // Where the card returns after listening.
  tBand cardBand_;
  double cardFrequency_;
  bool cardStereo_;
  bool listening_ = false;

  QListWidget* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  TunerSection* tuner_ = nullptr;
  QLabel* errMsg_ = nullptr;
  QLabel* stored_ = nullptr;
  QPushButton *undo_ = nullptr, *insert_ = nullptr, *delete_ = nullptr, *listen_ = nullptr;
  QToolButton *moveUp_ = nullptr, *moveDown_ = nullptr;
  QPushButton *clear_ = nullptr, *clearAll_ = nullptr, *open_ = nullptr, *save_ = nullptr;
  QPushButton *reload_ = nullptr, *ok_ = nullptr;
  QAction* menuSave_ = nullptr;
  QTimer* preview_ = nullptr;
};

}  // namespace ondivo
