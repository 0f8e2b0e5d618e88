#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/LocaleFormat.h"
#include "stations/OrganizerDatabase.h"
#include "stations/OrganizerTree.h"

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace ondivo {

class PresetDropButton;
class PresetsBank;
class Prompter;
class RadioTreeWidget;
class TRadioCard;
class TunerSection;

// What the organizer works on. The bank and the current preset are the panel's own: stations
// dropped on preset buttons and presets cleared here stay, whatever closes the dialog.
struct tOrganizerPanel {
  PresetsBank& Bank;
  int& CurrentPreset;
  TRadioCard& Card;
  double Step = 0.1;        // the panel's fine-tuning step, MHz
  bool JapaneseFM = false;  // the panel's setting: where new stations and stray tunes go
  int ColorFM = 0, ColorAM = 0, ColorNone = 0;  // preset glyph colours
  std::filesystem::path Database;               // Ondivo.db
  LocaleFormat Locale;
  Prompter& Prompts;
  std::function<void(const std::string& topic)> Help;
};

// "Channels organizer": folders and stations in a tree kept in Ondivo.db, a tuner that edits the
// selected station, and the hundred preset buttons that take stations dragged onto them. "OK"
// saves the tree; Cancel leaves the file as it was.
class tdOrganizer : public QDialog {
  Q_OBJECT

 public:
  tdOrganizer(QWidget* parent, tOrganizerPanel panel);
  ~tdOrganizer() override;

  // Shows the dialog modally; true when it was closed with "OK" and the tree was saved.
  static bool Run(QWidget* parent, tOrganizerPanel panel);

  OrganizerTree& Tree() { return tree_; }
  RadioTreeWidget* TreeView() const { return view_; }
  TunerSection* Tuner() const { return tuner_; }
  PresetDropButton* PresetButton(int n) const { return buttons_[static_cast<size_t>(n - 1)]; }
  QMenu* NodeMenu() const { return orgMenu_; }
  QMenu* ButtonMenu() const { return btMenu_; }
  bool Scanning() const { return scanning_; }
  // The item that shows node.
  QTreeWidgetItem* ItemOf(const OrganizerNode* node) const;

  // Handlers by their names.
  void AddFolderClick();
  void AddStationClick();
  void iDeleteClick();
  void iRenameClick();
  void RadioTreeDragDrop(QTreeWidgetItem* target);
  bool btRadioDragOver() const;
  void btRadioDragDrop(int n);
  void BtMenuPopup(int n);
  void iClearClick();
  void iClearAllClick();
  void btScanPrevClick();
  void btScanNextClick();
  void btStopScanClick();
  void btSaveExitClick();

  void reject() override;

 private:
  void BuildTree();
  void BuildPresets(QWidget* group);
  void BuildMenus();
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, OrganizerNode* node);
  void RadioTreeEdited(QTreeWidgetItem* item);
  void OrganizerSelectionChanged();
  OrganizerNode* SelectedNode() const;
  tStation* SelectedStation() const;
  void ShowPreset(int n);
  void ExpandAll(QTreeWidgetItem* item);
  void Warn(std::string_view text);
  size_t RowsNotShown() const;
  bool KeepCopy(const std::filesystem::path& database);
  // Tuning (tdOrganizerTuning.cpp).
  void ConnectTuner();
  void SetOrganizerBand(tBand band);
  // What the card reports after the tune (sNone while sliding).
  tSignal OrganizerTune(tBand band, bool sliding, double mhz);
  tSignal ShowTuned();
  void FineTune(bool up);
  void StepBy(int units);
  void ShowStep();
  void Scan(bool up);
  double MinimalStep() const;
  bool CardHas(tBand band) const;

  tOrganizerPanel panel_;
  OrganizerLoadReport loaded_;
  OrganizerTree tree_;
  tBand band_ = bFM;
  double step_;
  bool scanning_ = false;
  bool stop_ = false;
  int popupPreset_ = 0;
  QIcon folderClosed_, folderOpen_, station_;
  QIcon FolderIcon(bool open) const { return open ? folderOpen_ : folderClosed_; }

  RadioTreeWidget* view_ = nullptr;
  TunerSection* tuner_ = nullptr;
  QWidget* tunerGroup_ = nullptr;
  std::array<PresetDropButton*, 100> buttons_{};
  QMenu* orgMenu_ = nullptr;
  QMenu* btMenu_ = nullptr;
  QAction *iRename_ = nullptr, *iDelete_ = nullptr, *iAdd_ = nullptr, *iClear_ = nullptr;
};

}  // namespace ondivo
