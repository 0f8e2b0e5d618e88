// Pictures of the presets group for people to look at: pages with FM, AM and empty buttons, the
// lit current preset, the button popup menu, the "Presets" submenus, MEM armed and the ask-name
// dialog, on emulated hardware. Run it under QT_SCALE_FACTOR=2 for the 200 % pictures.
// Usage: presetshots FOLDER [SUFFIX]
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

#include "panel/tdAskName.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "support/ShotSupport.h"

using namespace ondivo;
using shots::Save;
using shots::SilentPrompter;

namespace {

bool SaveMenu(QMenu* menu, const QString& folder, const QString& name) {
  menu->adjustSize();
  menu->show();
  const bool ok = Save(*menu, folder, name);
  menu->hide();
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
  shots::WriteIni(config,
                  "[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\nStyle=2\n"
                  "[Frequency]\nFrequency=M 098.000\n"
                  "[Presets]\nCurrent=2\nList=1,2,3,5,8,12,13,17,100,\n"
                  "Station01=M 088.100 Classic 88\nStation02=M 098.000 Radio Forum\n"
                  "Station03=M 104.300 Blues Avenue\nStation05=K 000.999 Talk Wave\n"
                  "Station08=M 107.900 \nStation12=M 093.000 Rock Harbour\n"
                  "Station13=K 001.602 Night Owl\nStation17=M 101.100 Sports Call\n"
                  "Station00=M 089.700 Coast FM\n");
  sim::SimulatedRig rig(mRadioMan, false);
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
  window.SetDisplayMode(3);  // display + presets
  window.show();
  QApplication::processEvents();
  bool ok = Save(window, folder, "presets-page1" + suffix);
  window.btNextPrevBottomClick();
  ok &= Save(window, folder, "presets-page2" + suffix);
  window.FavMenu(12);
  ok &= Save(window, folder, "presets-page2-lit" + suffix);
  for (int i = 0; i < 8; ++i) window.btNextPrevBottomClick();
  ok &= Save(window, folder, "presets-page10" + suffix);
  window.FavMenu(2);
  window.Run(cmIncFreq);
  window.Stations_Memory();
  window.SetDisplayMode(0);
  QApplication::processEvents();
  ok &= Save(window, folder, "complete-mem-armed" + suffix);
  window.Stations_Memory();

  window.btMenuPopup(5);
  ok &= SaveMenu(window.ButtonMenu(), folder, "button-menu" + suffix);
  ok &= SaveMenu(window.PresetsMenu(), folder, "presets-menu" + suffix);
  ok &= SaveMenu(window.TrayPresetsMenu(), folder, "tray-presets-menu" + suffix);
  tdAskName ask("Radio Forum");
  ask.show();
  ok &= Save(ask, folder, "ask-name" + suffix);
  return ok ? 0 : 1;
}
