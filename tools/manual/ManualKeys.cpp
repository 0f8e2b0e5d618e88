// Writes the table of default keys into the help's keyboard page, from the program itself: each
// command's default key, its name on the settings' "Keys" page and the menu item that runs it,
// read from the panel's own menu bar. The table sits between the page's "<!-- keys -->" and
// "<!-- /keys -->" lines; the rest of the page is left as it is.
// Usage: manual-keys PAGE
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

#include "panel/KeyCommands.h"
#include "panel/PanelCommand.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "support/ShotSupport.h"

using namespace ondivo;

namespace {

QString Caption(const QAction* action) {
  return action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

// "Options > Display > Complete": where the action sits in the menu, empty when nowhere.
QString MenuPath(const QMenu* menu, const QAction* wanted, const QString& above) {
  const QString here = above + Caption(menu->menuAction()) + " &gt; ";
  for (const QAction* action : menu->actions()) {
    if (action == wanted) return here + Caption(action).toHtmlEscaped();
    if (action->menu()) {
      const QString found = MenuPath(action->menu(), wanted, here);
      if (!found.isEmpty()) return found;
    }
  }
  return {};
}

QString KeyTable(const tdMain& window) {
  QString table =
      "<table border=\"1\" cellspacing=\"0\" "
      "cellpadding=\"3\">\n<tr><th>Key</th><th>Command</th><th>Menu item</th></tr>\n";
  for (const tPanelCommand& command : kPanelCommands) {
    QString menu;
    for (const QAction* entry : window.menuBar()->actions()) {
      if (entry->menu()) menu = MenuPath(entry->menu(), window.Action(command.Id), {});
      if (!menu.isEmpty()) break;
    }
    table += QString("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                 .arg(QString::fromStdString(KeyName(command.DefaultKey)).toHtmlEscaped(),
                      QString::fromUtf8(command.Caption.data(), command.Caption.size()),
                      menu.isEmpty() ? "&ndash;" : menu);
  }
  return table + "</table>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = shots::AnswerOptions(argc, argv, "PAGE")) return *status;
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: manual-keys PAGE\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "manual-keys: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString page = QString::fromUtf8(file.readAll());
  file.close();
  const QString begin = "<!-- keys -->\n", end = "<!-- /keys -->";
  const qsizetype from = page.indexOf(begin), to = page.indexOf(end);
  if (from < 0 || to < from) {
    std::fprintf(stderr, "manual-keys: %s has no \"%s\" ... \"%s\" lines\n", argv[1],
                 "<!-- keys -->", "<!-- /keys -->");
    return 1;
  }

  // The default keys: a fresh configuration on emulated hardware.
  QTemporaryDir config;
  shots::WriteIni(config, "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nTipOfTheDay=0\n");
  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  shots::SilentPrompter prompts;
  tMainServices services;
  services.Card = &card;
  services.Prompts = &prompts;
  services.ConfigDir = config.path().toStdString();
  tdMain window(services);
  if (!window.Create()) return 1;

  QSaveFile out(file.fileName());
  out.open(QIODevice::WriteOnly);
  out.write((page.left(from + begin.size()) + KeyTable(window) + page.mid(to)).toUtf8());
  if (!out.commit()) {
    std::fprintf(stderr, "manual-keys: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
