// The main menu and the tray menu, both made of the same QActions.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

#include "panel/PanelPictures.h"
#include "panel/tdMain.h"

namespace ondivo {

namespace {

void AddAll(QMenu* menu, const tdMain& window, std::initializer_list<tCommandId> ids) {
  for (const tCommandId id : ids) menu->addAction(window.Action(id));
}

constexpr std::initializer_list<tCommandId> kTuningItems = {
    cmJump, cmDecFreq, cmIncFreq, cmIncStep, cmDecStep, cmScanLeft, cmScanRight, cmStopScan};
constexpr std::initializer_list<tCommandId> kScheduleItems = {cmSleepOnOff, cmAlarmOnOff, cmProgr};
constexpr std::initializer_list<tCommandId> kVolumeItems = {cmVolumeUp, cmVolumeDown, cmMuteOnOff,
                                                            cmMixer, cmVolumeTo0};
constexpr std::initializer_list<tCommandId> kDisplayModes = {
    cmComplete, cmMinimal, cmMinimalTuner, cmMinimalFavs, cmMinimalVolBtn, cmMinimalVolBtnPre};
constexpr std::initializer_list<tCommandId> kStationItems = {cmOrganize, cmEditFavs, cmClear,
                                                             cmClearAll, cmMemory,   cmRename};

void AddActionsMenu(QMenu* menu, const tdMain& window) {
  AddAll(menu, window, kTuningItems);
  menu->addSeparator();
  AddAll(menu, window, kScheduleItems);
  menu->addSeparator();
  menu->addAction(window.Action(cmStereo));
}

void AddDisplayMenu(QMenu* menu, const tdMain& window) {
  menu->addAction(window.Action(cmOnTop));
  menu->addSeparator();
  AddAll(menu, window, kDisplayModes);
}

}  // namespace

void tdMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  // Narrower items: in the display modes a single panel wide, all six menus still fit.
  bar->setStyleSheet("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 5px; }");
  QMenu* file = bar->addMenu("&File");
  AddAll(file, *this, {cmLoadScript, cmLoadPresets});
  file->addSeparator();
  file->addAction(Action(cmExit));

  AddActionsMenu(bar->addMenu("&Actions"), *this);
  AddAll(bar->addMenu("&Volume"), *this, kVolumeItems);

  QMenu* options = bar->addMenu("&Options");
  options->addAction(Action(cmSetup));
  AddDisplayMenu(options->addMenu("D&isplay"), *this);

  QMenu* stations = bar->addMenu("&Stations");
  AddAll(stations, *this, kStationItems);
  msPresets_ = stations->addMenu("Presets");

  QMenu* help = bar->addMenu("&Help");
  AddAll(help, *this, {cmHelp, cmAbout});
}

void tdMain::BuildTray() {
  trayMenu_ = new QMenu(this);
  AddActionsMenu(trayMenu_->addMenu("Actions"), *this);
  AddAll(trayMenu_->addMenu("Volume"), *this, kVolumeItems);
  trayMenu_->addAction(Action(cmSetup));
  AddDisplayMenu(trayMenu_->addMenu("Display"), *this);
  trayMenu_->addSeparator();
  AddAll(trayMenu_, *this, kStationItems);
  tmPresets_ = trayMenu_->addMenu("Presets");
  trayMenu_->addSeparator();
  AddAll(trayMenu_->addMenu("Help"), *this, {cmHelp, cmAbout});
  trayMenu_->addAction(showAction_);
  trayMenu_->addAction(hideAction_);
  trayMenu_->addSeparator();
  // The file commands too, so the tray menu alone reaches every command.
  AddAll(trayMenu_, *this, {cmLoadScript, cmLoadPresets});
  trayMenu_->addAction(Action(cmExit));

  // Without a notification area the panel stays a normal window; the same menu opens on a
  // right click on the panel, so every command stays reachable in every display mode.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(PictureIcon("RADIO5ON"), this);
  tray_->setContextMenu(trayMenu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::Trigger) PGTrayIcon951Click();
    if (r == QSystemTrayIcon::DoubleClick) PGTrayIcon951DblClick();
  });
  tray_->show();
}

void tdMain::contextMenuEvent(QContextMenuEvent* event) {
  trayMenu_->popup(event->globalPos());
}

}  // namespace ondivo
