#pragma once

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "panel/ConfigurationKeys.h"
#include "panel/KeyString.h"
#include "panel/MainServices.h"
#include "panel/PanelCommand.h"
#include "panel/PanelModel.h"
#include "panel/PanelReadout.h"
#include "panel/PanelState.h"
#include "panel/PresetsPanel.h"
#include "panel/ScanStepper.h"
#include "panel/StartupPlan.h"
#include "stations/PresetsBank.h"

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QSlider;
class QSystemTrayIcon;
class QTimer;
class QToolButton;
class QWidget;

namespace ondivo {

class IniFile;
class Prompter;
class RdsNotifier;
class TDisplay;
class TRadioCard;
class HelpWindow;
class MixerEventNotifier;
class PanelVolume;
class Schedule;

// The display mode a Display command selects, or -1 for other commands.
int DisplayModeOf(tCommandId id);

// Whether a command or control runs while a scan is on, or is ignored until the scan ends.
enum class tDuringScan { Runs, Ignored };

// The front panel. A thin adapter: the tuning logic is PanelModel, what it shows ReadPanel,
// the scan one ScanStepper step at a time; this class owns the widgets, the actions, the
// menus, the tray icon and the timers, and runs the start-up and shutdown sequences.
class tdMain : public QMainWindow {
  Q_OBJECT

 public:
  // Designed size of the complete panel: window 623 x 164, client 121.
  static constexpr int kDesignWidth = 623;
  static constexpr int kDesignClientHeight = 121;
  static constexpr int kDesignHeight = 164;

  explicit tdMain(tMainServices services);
  ~tdMain() override;

  // The creation sequence after the widgets exist: configuration, first-run setup, card,
  // station, display. False when the first-run setup was cancelled: nothing is saved and the
  // program ends.
  bool Create();

  const tPanelState& State() const { return state_; }  // read access for tests and remotes
  tPanelState& MutableState() { return state_; }
  const tConfiguration& Settings() const { return settings_; }
  tConfiguration& MutableSettingsForShots() { return settings_; }
  PanelModel& Model() { return *model_; }
  PresetsPanel& Presets() { return *presets_; }
  QAction* Action(tCommandId id) const { return actions_[static_cast<size_t>(id)]; }
  QAction* ShowAction() const { return showAction_; }
  QAction* HideAction() const { return hideAction_; }
  QMenu* TrayMenu() const { return trayMenu_; }
  bool Saved() const { return saved_; }
  bool Closing() const { return closing_; }
  const tPanelReadout& Readout() const { return readout_; }

  // Runs a command as its menu item, key, tray entry or panel button would.
  void Run(tCommandId id);
  // Where every command and every control comes in: ignored while a scan runs unless it may
  // run then (false), and its card calls under the device guard.
  bool Enter(tDuringScan during, const std::function<void()>& handler);
  // The name tdAskName starts with when the tuned station goes into preset n: the station's RDS
  // name where a radio device sends one, else the preset's own name.
  std::string NameToStore(int n) const;
  // The desktop session ends or SIGTERM came: the radio goes off and the settings are saved.
  void SessionEnd();

  // Handlers with the names the panel has always used.
  tTuneResult TuneTo(tBand band, bool fromSlider, double frequency);
  void SwitchBand(tBand band);
  void UpdateTuningControls();
  void Actions_TunePrev();
  void Actions_TuneNext();
  void Actions_StepDec();
  void Actions_StepInc();
  void Actions_ScanPrev();
  void Actions_ScanNext();
  void Actions_StopScan();
  void Actions_Stereo();
  void Actions_Jump();
  void Options_Settings();
  void btFMClick();
  void btAMClick();
  void sStepChange(int value);
  void sFrequencyChange(int value);
  void EndSliding();
  void btRadioClick(int button);
  void btNextPrevTopClick();
  void btNextPrevBottomClick();
  // tdMainPresets.cpp
  void Stations_Memory();
  void btClrClick();
  void Stations_Clear();
  void Stations_ClearAll();
  void Stations_Rename();
  // The button popup menu opened on button 1..10: its entries enabled for that preset.
  void btMenuPopup(int button);
  void Popup_Memory();
  void Popup_Clear();
  void Popup_Rename();
  void FavMenu(int preset);
  void File_LoadPresets();
  // "Edit presets" and "Organize" (tdMainStations.cpp).
  void Stations_EditPresets();
  void Stations_Organize();
  // The alarm and the sleep timer are held while a stations dialog is open and released after
  // it. Hooks for the clock: they do nothing until the alarm and the sleep timer exist.
  void HoldAlarmAndSleep();
  void ReleaseAlarmAndSleep();
  void StorePreset(int preset);
  void ClearPreset(int preset);
  void RenamePreset(int preset);
  void RebuildPresetMenus();
  // Volume and mute (tdMainVolume.cpp).
  void Volume_Up();
  void Volume_Down();
  void Volume_Mute();
  void Volume_0();
  void Volume_Mixer();
  void sVolumeChange(int value);
  void RadioCardMixerChange(int32_t volume, bool mute);
  void ShowMuteState();
  void UpdateVolumeControls();
  void SetupVolumeSlider();
  void File_Exit();
  void Do_Show();
  void Do_Hide();
  void PGTrayIcon951Click();
  void PGTrayIcon951DblClick();
  void Display_AlwaysOnTop();
  void Display_Complete();
  void Display_Minimal();
  void Display_MinTuner();
  void Display_MinPresets();
  void Display_MinVolBtn();
  void Display_MinVolBtnPre();
  void SetDisplayMode(int mode);
  void Help_Topics();
  // Opens the help window at a topic ("Welcome", "Tuning_the_configuration", ...).
  void ShowHelp(const QString& topic);
  void Help_About();

  void ShowFrequencyDigits();
  void ShowTuningStatus(tSignal status);
  void ApplyColours();
  void ApplyDisplayMode();
  void RefreshPanel();

  // Clock, alarm, sleep, beeper and programming mode (tdMainSchedule.cpp).
  void ClockTimer();
  void TSleepTimer();
  void BeeperTimer();
  void Actions_Alarm();
  void Actions_Sleep();
  void Actions_Prog();
  void File_LoadScript();
  // Performs action index (1-based) of the current script, once within its minute.
  void RunScriptAction(int index);
  void StartBeeps(int count, int frequency, int duration);
  void ShowAlarmState();
  void ShowSleepState();
  void ShowProgState();
  const Schedule& ScheduleState() const { return *schedule_; }
  QToolButton* AlarmButton() const { return btAlarm_; }
  QToolButton* SleepButton() const { return btSleep_; }
  QToolButton* ProgButton() const { return btProg_; }
  QLabel* AlarmIndicator() const { return icAlarm_; }
  QLabel* SleepIndicator() const { return icSleep_; }
  QLabel* ProgIndicator() const { return icProg_; }
  QLabel* ClockLabel() const { return hhmmss_; }
  QTimer* SleepTimerForTests() const { return tSleep_; }
  QTimer* BeeperForTests() const { return beeper_; }

  // Widgets the tests look at.
  QSlider* FrequencySlider() const { return sFrequency_; }
  QLabel* StatusLabel() const { return tuned_; }
  QLabel* StationLabel() const { return station_; }
  QToolButton* StopScanButton() const { return btStopScan_; }
  QToolButton* AMButton() const { return btAM_; }
  QToolButton* FMButton() const { return btFM_; }
  const std::array<QLabel*, 12>& ScaleLabelWidgets() const { return scale_; }
  QWidget* TunerGroup() const { return tunerGroup_; }
  QWidget* PresetsGroup() const { return presetsGroup_; }
  QWidget* VolumeGroup() const { return volumeGroup_; }
  QSlider* VolumeSlider() const { return sVolume_; }
  QToolButton* MuteButton() const { return btMute_; }
  QToolButton* MixerButton() const { return btMixer_; }
  QLabel* VolumeNotice() const { return vcDisabled_; }
  QLabel* SoundIndicator() const { return icMusic_; }
  // The tray and window icons for sound on and off.
  const QIcon& SoundOnIcon() const { return imgMuteOn_; }
  const QIcon& SoundOffIcon() const { return imgMuteOff_; }
  QWidget* ButtonRows() const { return buttonRows_; }
  QToolButton* PresetButton(int button) const { return btRadio_[button - 1]; }
  QMenu* PresetsMenu() const { return msPresets_; }
  QMenu* TrayPresetsMenu() const { return tmPresets_; }
  QMenu* ButtonMenu() const { return btMenu_; }
  QFrame* DisplayPanel() const { return displayPanel_; }
  // Called by the scan loop after each step; tests post events through it.
  std::function<void()> OnScanStep;
  std::function<void()> OnShownChange;  // after what the panel shows changed (remote control)

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // tdMainLayout.cpp
  void BuildWidgets();
  void BuildDisplay(QWidget* parent);
  void BuildTuner(QWidget* parent);
  void BuildPresets(QWidget* parent);
  void BuildVolume(QWidget* parent);
  void BuildButtons(QWidget* parent);
  void ConnectWidgets();
  // tdMainActions.cpp
  void CreateActions();
  void UpdateActionStates();
  // tdMainMenus.cpp
  void BuildMenus();
  void BuildTray();
  // tdMainTuning.cpp
  void Scan(tScanDirection direction);
  // Redraws after a tune; the tuner group follows when the band changed.
  tTuneResult AfterTune(const tTuneResult& result);
  void RefreshStepControls();
  // tdMainPresets.cpp
  void ConnectPresets();
  void ShowPresetPage();
  void UpdatePresetActions();
  // Redraws after a preset operation; the tuner follows when it changed band.
  void AfterPresetChange(tBand bandBefore);
  std::optional<std::string> AskName(int preset, tNaming naming);
  // After a stations dialog: menus and buttons rebuilt, the current preset tuned again.
  void AfterStationsDialog();
  // Help from a dialog opens this panel's help window.
  std::function<void(const std::string&)> HelpHook();

  // tdMainDisplay.cpp
  void ApplyReadout();
  void RefreshLamps();
  // A lamp picture as an icon, drawn once per name: every tune redraws eighteen lamps.
  QIcon Lamp(const QString& name);
  // tdMainLifecycle.cpp
  bool FormCloseQuery();
  // False when the file could not be written (said to the user, or on stderr when the session
  // ends and nobody would answer).
  bool SaveSettings();
  void ConfigureCard();
  bool RunFirstSetup();
  void ShowTipOfTheDay();
  void SetHidden(bool hidden);
  // tdMainSchedule.cpp
  void ConnectSchedule();
  void ArmAlarmAtStart();
  tAlarmSetting AlarmSetting() const;
  // A timer started again for what its countdown has left.
  void Rearm(QTimer* timer, std::chrono::milliseconds remaining);
  // The mute state made muted or playing through the mute command, so its guards apply.
  void SetMuted(bool muted);
  // A script's "Jump to" or "Preset" leaves the stereo switch as the action says.
  void ApplyScriptStereo(bool stereo);
  // tdMainVolume.cpp
  void ConnectVolume();
  void UpdateVolumeActions();
  void ShowVolume(int value);
  // tdMainDialogs.cpp
  void ApplySetup(const tSetupValues& chosen);
  void ChangeCard(tModel model, int32_t port);
  void ChangeVolumeLine(tVolumeLine line);
  // tdMainDevice.cpp
  void WireDevice();
  void SwitchCardOn();
  void SwitchCardOff();
  // Runs a step that reaches the card; a lost or busy radio device is told, not thrown.
  bool GuardDevice(const std::function<void()>& step);
  void DeviceTrouble(const char* message);

  friend class ModalScope;

  tMainServices services_;
  TRadioCard& card_;
  Prompter& prompts_;
  tConfiguration settings_;
  PresetsBank bank_;
  tPanelState state_;
  std::unique_ptr<PanelModel> model_;
  std::unique_ptr<PresetsPanel> presets_;
  std::unique_ptr<IniFile> ini_;
  tPanelReadout readout_;
  bool created_ = false;
  bool saved_ = false;
  bool closing_ = false;
  bool closeAfterScan_ = false;  // a close came during a scan: it follows when the scan ends
  bool sliding_ = false;
  int volumeBeforeSetup_ = 0;
  std::unique_ptr<PanelVolume> volume_;
  bool volumeGroupUsable_ = true;
  bool muteEnabled_ = true;
  bool mixerEnabled_ = false;
  bool volumeItemsEnabled_ = true;  // "Up", "Down" and the slider, as the volume line allows
  QIcon imgMuteOn_, imgMuteOff_;

  // Actions, one per command, shared by both menus, the buttons and the keys.
  std::array<QAction*, kKeyStringLength> actions_{};  // by command id; 32 is reserved
  QAction* showAction_ = nullptr;
  QAction* hideAction_ = nullptr;
  QActionGroup* displayGroup_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
  QTimer* clock_ = nullptr;
  QTimer* tSleep_ = nullptr;  // TSleep
  bool alarmHeld_ = false;    // armed when a stations dialog opened
  bool sleepHeld_ = false;    // counting down when a stations dialog opened
  QTimer* beeper_ = nullptr;  // Beeper
  std::unique_ptr<Schedule> schedule_;
  QPointer<HelpWindow> help_;
  QHash<QString, QIcon> lamps_;
  std::unique_ptr<RdsNotifier> rds_;
  bool troublePending_ = false;

  // Groups.
  QWidget* central_ = nullptr;
  QFrame* displayPanel_ = nullptr;
  QWidget* tunerGroup_ = nullptr;
  QWidget* presetsGroup_ = nullptr;
  QWidget* volumeGroup_ = nullptr;
  QWidget* buttonRows_ = nullptr;
  // Display.
  std::array<TDisplay*, 6> digits_{};
  QLabel* point_ = nullptr;
  QLabel* amFm_ = nullptr;
  QLabel* hz_ = nullptr;
  QLabel* stationNum_ = nullptr;
  QLabel* station_ = nullptr;
  QLabel* hhmmss_ = nullptr;
  QLabel* tuned_ = nullptr;
  QLabel* icMusic_ = nullptr;
  QLabel* icAlarm_ = nullptr;
  QLabel* icSleep_ = nullptr;
  QLabel* icProg_ = nullptr;
  QLabel* icScan_ = nullptr;
  // Tuner.
  QSlider* sFrequency_ = nullptr;
  std::array<QLabel*, 12> scale_{};
  QLabel* lTune_ = nullptr;
  QToolButton* btTunePrev_ = nullptr;
  QToolButton* btTuneNext_ = nullptr;
  QLabel* lScan_ = nullptr;
  QToolButton* btScanPrev_ = nullptr;
  QToolButton* btScanNext_ = nullptr;
  QToolButton* btStopScan_ = nullptr;
  QToolButton* btStepUp_ = nullptr;
  QToolButton* btStepDown_ = nullptr;
  QSlider* sStep_ = nullptr;
  QLabel* step_ = nullptr;
  QLabel* lStep_ = nullptr;
  QToolButton* btJump_ = nullptr;
  QToolButton* btFM_ = nullptr;
  QToolButton* btAM_ = nullptr;
  // Presets.
  std::array<QToolButton*, 10> btRadio_{};
  QToolButton* btPageUp_ = nullptr;
  QToolButton* btPageDown_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QMenu* msPresets_ = nullptr;  // main menu's "Presets"
  QMenu* tmPresets_ = nullptr;  // tray menu's "Presets"
  QMenu* btMenu_ = nullptr;     // the preset buttons' popup menu
  QAction* popupMemory_ = nullptr;
  QAction* popupClear_ = nullptr;
  QAction* popupRename_ = nullptr;
  int popupPreset_ = 0;
  // Volume and the two button rows.
  QSlider* sVolume_ = nullptr;
  QToolButton* btMixer_ = nullptr;
  QLabel* lVolume_ = nullptr;
  QLabel* vcDisabled_ = nullptr;
  QToolButton* btMute_ = nullptr;
  QToolButton* btAlarm_ = nullptr;
  QToolButton* btSleep_ = nullptr;
  QToolButton* btProg_ = nullptr;
  QToolButton* btClr_ = nullptr;
  QToolButton* btMem_ = nullptr;
  QToolButton* btStr_ = nullptr;
  QToolButton* btOff_ = nullptr;
};

}  // namespace ondivo
