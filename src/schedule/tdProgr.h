#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

#include "radio/RadioTypes.h"
#include "schedule/Countdowns.h"
#include "schedule/ScriptEditing.h"
#include "schedule/ScriptEditorContext.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;

namespace ondivo {

class Prompter;
class tScriptList;
struct tScriptDrag;

// The script editor ("Programming"): the events, the program being built in time order, and
// the properties of the selected action. It edits a copy; OK hands the program to the panel's
// current script. The rules of the program live in ScriptEditing; this class binds widgets to
// them and owns the frequency test and the beep preview.
class tdProgr : public QDialog {
 public:
  using HelpHook = std::function<void(const std::string& topic)>;
  using BeepHook = std::function<void()>;

  // beep sounds the default beep of a refused change; QApplication::beep() when empty.
  tdProgr(QWidget* parent, const tScriptEditorContext& context, Prompter& prompts, HelpHook help,
          BeepHook beep = {});
  ~tdProgr() override;

  // Shows the editor modally; true after OK, when the panel's script has been replaced.
  static bool Run(QWidget* parent, const tScriptEditorContext& context, Prompter& prompts,
                  HelpHook help);

  const ScriptEditing& Editing() const { return editing_; }
  int Selected() const;
  // The preview timer's tick: the end of the frequency test or the next tone of the preview.
  void PreviewTick();
  QTimer* Preview() const { return preview_; }

  // OK and Cancel both close through here; a changed script is confirmed first.
  void done(int result) override;

 private:
  // tdProgrLayout.cpp: the widgets, as a form designer would make them.
  void BuildWidgets();
  QWidget* BuildLists();
  QGroupBox* BuildProperties();
  QWidget* BuildVolumePanel();
  QWidget* BuildFreqPanel();
  QWidget* BuildPresetPanel();
  QWidget* BuildBeepPanel();
  QWidget* BuildCommonPanel();
  void ConnectWidgets();

  // tdProgr.cpp: opening, the lists, closing.
  void FillEvents();
  void RefreshProgram(std::optional<size_t> select);
  void Enable();
  void SetCaption();
  void Refuse();
  void RightClick();
  void LeftClick();
  bool ProgDragOver(const tScriptDrag& drag) const;
  void ProgDragDrop(const tScriptDrag& drag, int row);
  bool ActionsDragOver(const tScriptDrag& drag) const;
  void ActionsDragDrop(const tScriptDrag& drag, int row);
  tActionKind SelectedEvent();
  void RestoreStation();
  void btOkClick();

  // tdProgrPanels.cpp: the selected action's panels.
  void ScriptClick(int row);
  void ShowAction();  // also ReloadClick
  void ShowRange();
  void SaveClick();
  void TimeChange();  // TimeHHChange, TimeMMChange
  void SetPanelBand(tBand band, bool lowerLimit);
  void PresetsClick(int index);
  int PresetEntry(int preset) const;

  // tdProgrFiles.cpp: File menu and speed buttons.
  void btNewClick();
  void btLoadClick();
  void btSaveClick();
  void iSaveAsClick();
  bool SaveTo(const std::string& path);

  // tdProgrPreview.cpp: the frequency test and the beep preview.
  void btPrFreqClick(bool down);
  void btPrBeepClick(bool down);
  void StopPreview();

  tScriptEditorContext context_;
  Prompter& prompts_;
  HelpHook help_;
  BeepHook beep_;
  ScriptEditing editing_;
  std::string fileName_;  // empty until the script has a file of its own
  std::string lastFile_;  // the script file last saved or loaded, whose folder is offered
  bool askOnSave_ = false;
  tTimeRange range_;
  tBand panelBand_ = bFM;
  struct {
    tBand Band = bFM;
    double Frequency = 0;
    bool Stereo = false;
  } saved_;
  int previewItem_ = -1;
  BeepSequence beeps_;
  std::optional<tMonotonic> testUntil_;

  QLineEdit* title_ = nullptr;
  tScriptList* events_ = nullptr;
  tScriptList* script_ = nullptr;
  QToolButton* btNew_ = nullptr;
  QToolButton* btLoad_ = nullptr;
  QToolButton* btSave_ = nullptr;
  QToolButton* right_ = nullptr;
  QToolButton* left_ = nullptr;
  QWidget* gVolume_ = nullptr;
  QWidget* gFreq_ = nullptr;
  QWidget* gPreset_ = nullptr;
  QWidget* gBeep_ = nullptr;
  QWidget* gCommon_ = nullptr;
  QSlider* volume_ = nullptr;
  QLabel* perc_ = nullptr;
  QDoubleSpinBox* freq_ = nullptr;
  QPushButton* btFM_ = nullptr;
  QPushButton* btAM_ = nullptr;
  QCheckBox* freqStereo_ = nullptr;
  QPushButton* btPrFreq_ = nullptr;
  QLabel* tuned_ = nullptr;
  QComboBox* presets_ = nullptr;
  QCheckBox* presetStereo_ = nullptr;
  QSpinBox* times_ = nullptr;
  QSpinBox* bFreq_ = nullptr;
  QSpinBox* mSecs_ = nullptr;
  QPushButton* btPrBeep_ = nullptr;
  QSpinBox* timeHH_ = nullptr;
  QSpinBox* timeMM_ = nullptr;
  QLabel* bTime_ = nullptr;
  QLabel* eTime_ = nullptr;
  QPushButton* ok_ = nullptr;
  QTimer* preview_ = nullptr;
};

}  // namespace ondivo
