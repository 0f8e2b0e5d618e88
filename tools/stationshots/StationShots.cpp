// Pictures of the two station dialogs for people to look at: the organizer with nested folders
// and a station selected (and a folder selected, the tuner gone), and the edit-presets dialog
// with several entries and a duplicate warning, on an emulated RadioTrack.
// Usage: stationshots FOLDER [SUFFIX]
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>

#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "stations/OrganizerWidgets.h"
#include "stations/PresetsBank.h"
#include "stations/tdEditFavorites.h"
#include "stations/tdOrganizer.h"
#include "support/ShotSupport.h"

using namespace ondivo;
using shots::Save;
using shots::SilentPrompter;

namespace {

QTreeWidgetItem* Find(QTreeWidget* tree, const QString& name) {
  const auto items = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
  return items.isEmpty() ? nullptr : items.front();
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = shots::AnswerOptions(argc, argv, "[FOLDER [SUFFIX]]")) return *status;
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? argv[1] : "shots";
  const QString suffix = argc > 2 ? argv[2] : "";
  QDir().mkpath(folder);
  QTemporaryDir config;
  const std::filesystem::path db = config.filePath("Ondivo.db").toStdString();
  std::ofstream(db) << "[Archive]\nRows=11\n"
                       "Row1=1 1 0 X 000.000 Music\nRow2=1 2 1 X 000.000 Jazz and blues\n"
                       "Row3=2 3 2 M 095.500 Blue Note\nRow4=2 4 2 M 101.100 Late Swing\n"
                       "Row5=1 5 1 X 000.000 Classical\nRow6=2 6 5 M 088.100 Classic 88\n"
                       "Row7=1 7 0 X 000.000 News and talk\nRow8=2 8 7 K 000.999 Talk Wave\n"
                       "Row9=2 9 7 M 093.000 City News\nRow10=2 10 0 M 107.900 Coast FM\n"
                       "Row11=1 11 0 X 000.000 Travel\n";

  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  card.SetModel(mRadioTrack);
  card.SetPort(card.GetDevCap(mRadioTrack).DefaultPort);
  card.SwitchOn();
  PresetsBank bank;
  bank.Store(1, "Classic 87", 87.0, bFM);
  bank.Store(2, "Blue Note", 95.5, bFM);
  bank.Store(3, "Talk Wave", 0.999, bAM);
  bank.Store(5, "Coast FM", 107.9, bFM);
  bank.Store(12, "Rock Harbour", 93.0, bFM);
  int current = 2;
  SilentPrompter prompts;

  bool ok = true;
  {
    tdOrganizer organizer(nullptr, {bank, current, card, 0.1, false, 2, 0, 4, db, {}, prompts, {}});
    organizer.show();
    QTreeWidget* tree = organizer.TreeView();
    tree->expandAll();
    tree->setCurrentItem(Find(tree, "Blue Note"));
    ok &= Save(organizer, folder, "organizer-station" + suffix);
    tree->setCurrentItem(Find(tree, "Talk Wave"));
    ok &= Save(organizer, folder, "organizer-am" + suffix);
    tree->setCurrentItem(Find(tree, "News and talk"));
    ok &= Save(organizer, folder, "organizer-folder" + suffix);
  }
  {
    card.Tune(false, bFM, 95.5);
    tdEditFavorites edit(nullptr, bank, current, "", card, 0.1, prompts, {}, {});
    edit.show();
    auto* list = edit.findChild<QListWidget*>("Presets");
    ok &= Save(edit, folder, "editpresets" + suffix);
    list->setCurrentRow(6);
    edit.findChild<QLineEdit*>("StationName")->setText("Morning Show");
    ok &= Save(edit, folder, "editpresets-duplicate" + suffix);
    list->setCurrentRow(2);
    ok &= Save(edit, folder, "editpresets-am" + suffix);
  }
  return ok ? 0 : 1;
}
