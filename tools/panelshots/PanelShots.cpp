// Pictures of the front panel for people to look at: the six display modes, the menus, the
// tray menu, the exit dialog and the tip window, on emulated hardware. Run it under
// QT_SCALE_FACTOR=2 for the 200 % pictures. Usage: panelshots FOLDER [SUFFIX]
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <cstdio>

#include "panel/AboutBox.h"
#include "panel/HelpWindow.h"
#include "panel/TipWindow.h"
#include "panel/tdExit.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "radio/RdsDecoder.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/SimulatedRig.h"
#include "support/ShotSupport.h"

using namespace ondivo;
using shots::Save;
using shots::SilentPrompter;
using shots::WriteIni;

namespace {

// A kernel radio device (the emulated one of --simulate) on a station whose RDS name and
// RadioText are in: the panel and its display.
bool ShootRadioDevice(const QString& folder, const QString& suffix, SilentPrompter& prompts) {
  QTemporaryDir config;
  WriteIni(config,
           "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\nStyle=2\n"
           "[Frequency]\nFrequency=M 097.100\nTuneStep=2\n"
           "[Presets]\nCurrent=0\nList=1,2,\nStation01=M 088.100 Classic 88\n"
           "Station02=M 104.300 Blues Avenue\n");
  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  int64_t nowMs = 0;
  sim::EmulatedV4l2Radio::Options options;
  options.NowMs = [&nowMs] { return nowMs; };
  sim::PlugSimulatedV4l2Radio(card, rig.Landscape(), {}, options);
  tMainServices services;
  services.Card = &card;
  services.Prompts = &prompts;
  services.ConfigDir = config.path().toStdString();
  services.DataDir = std::filesystem::path(ONDIVO_DATA_DIR);
  tdMain window(services);
  window.Create();
  window.show();
  QDeadlineTimer deadline(10000);
  while (!(card.Rds() && !card.Rds()->RadioText().empty()) && !deadline.hasExpired()) {
    nowMs += 500;
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  bool ok = Save(window, folder, "v4l2" + suffix);
  ok &= Save(*window.DisplayPanel(), folder, "v4l2-display" + suffix);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = shots::AnswerOptions(argc, argv, "[FOLDER [SUFFIX]]")) return *status;
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? argv[1] : "shots";
  const QString suffix = argc > 2 ? argv[2] : "";
  QDir().mkpath(folder);
  QTemporaryDir config;
  WriteIni(config,
           "[Configuration]\nHardware=7\nPort=1\nVolumeLine=1\nStyle=2\n"
           "[Frequency]\nFrequency=M 098.000\nTuneStep=20\n"
           "[Presets]\nCurrent=2\nList=1,2,3,\nStation01=M 088.100 Classic 88\n"
           "Station02=M 098.000 Radio Forum\nStation03=M 104.300 Blues Avenue\n");
  sim::SimulatedRig rig(mZoltrix, false);
  TRadioCard card(rig.Hardware());
  SilentPrompter prompts;
  tMainServices services;
  services.Card = &card;
  services.Prompts = &prompts;
  services.ConfigDir = config.path().toStdString();
  services.DataDir = std::filesystem::path(ONDIVO_DATA_DIR);
  services.HardwareChanged = [&](tModel m) { rig.Follow(m); };
  tdMain window(services);
  window.Create();
  window.show();
  bool ok = true;
  for (int mode = 0; mode < 6; ++mode) {
    window.SetDisplayMode(mode);
    QApplication::processEvents();
    ok &= Save(window, folder, QString("mode%1%2").arg(mode).arg(suffix));
  }
  window.SetDisplayMode(0);
  for (int style = 0; style < 4; ++style) {
    window.MutableSettingsForShots().Style = style;
    window.ApplyColours();
    ok &= Save(*window.DisplayPanel(), folder, QString("style%1%2").arg(style).arg(suffix));
  }
  // Each menu of the menu bar, its items with their keys; the display modes' submenu too.
  for (QAction* entry : window.menuBar()->actions()) {
    QMenu* menu = entry->menu();
    if (!menu) continue;
    for (QMenu* shown : {menu, menu->findChild<QMenu*>()}) {
      if (!shown) continue;
      shown->resize(shown->sizeHint());  // adjustSize would clip it to 2/3 of the screen
      shown->show();
      const QString name = shown->title().remove('&').toLower();
      ok &= Save(*shown, folder, "menu-" + name + suffix);
      shown->hide();
    }
  }
  QMenu* tray = window.TrayMenu();
  tray->adjustSize();
  tray->show();
  ok &= Save(*tray, folder, "traymenu" + suffix);
  tray->hide();
  tdExit exit(true);
  exit.show();
  ok &= Save(exit, folder, "exit" + suffix);
  bool readable = false;
  TipWindow tips(ReadTips(std::filesystem::path(ONDIVO_DATA_DIR) / "Ondivo.txt", &readable), 0);
  tips.show();
  ok &= Save(tips, folder, "tips" + suffix);
  const auto about = AboutBox::Build(&window);
  about->show();
  ok &= Save(*about, folder, "about" + suffix);
  about->hide();
  window.ShowHelp("Welcome");
  if (auto* help = window.findChild<HelpWindow*>()) ok &= Save(*help, folder, "help" + suffix);
  ok &= ShootRadioDevice(folder, suffix, prompts);
  return ok ? 0 : 1;
}
