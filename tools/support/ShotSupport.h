// What the picture tools share: a Prompter that answers nothing (and prints what it was told),
// and saving a widget's picture into the output folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <optional>

#include "panel/Prompter.h"

namespace ondivo::shots {

class SilentPrompter final : public Prompter {
 public:
  void Message(const std::string& text, Icon, const std::string&) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  bool Ask(const std::string&, const std::string&, Icon) override { return false; }
  std::optional<std::string> OpenFile(const std::string&, const std::vector<FileFilter>&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFile(const std::string&, const std::vector<FileFilter>&,
                                      const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

// The tools take a folder and a name suffix and nothing else: an option such as --help is
// answered with the usage (status 0, others 2) instead of becoming a folder of that name.
inline std::optional<int> AnswerOptions(int argc, char** argv, const char* usage) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] != '-') continue;
    const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
    std::fprintf(help ? stdout : stderr, "usage: %s %s\n", argv[0], usage);
    return help ? 0 : 2;
  }
  return std::nullopt;
}

// Pending layout and paint events run first, so the picture shows the widget's current state.
inline bool Save(QWidget& w, const QString& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(folder).filePath(name + ".png");
  const bool ok = w.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

// The configuration a picture starts from, written where the panel reads it.
inline void WriteIni(const QTemporaryDir& config, const char* text) {
  QFile ini(config.filePath("Ondivo.ini"));
  ini.open(QIODevice::WriteOnly);
  ini.write(text);
}

}  // namespace ondivo::shots
