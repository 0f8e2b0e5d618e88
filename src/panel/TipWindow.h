#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <optional>

class QCheckBox;
class QLabel;

namespace ondivo {

class Prompter;

// The tips of the day: one line of Ondivo.txt per tip ('#' starts a comment line).
QStringList ReadTips(const std::filesystem::path& file, bool* readable);

// One tip at a time, a "Next Tip" button and the "Show Tips at Startup" box.
class TipWindow : public QDialog {
  Q_OBJECT

 public:
  TipWindow(QStringList tips, int first, QWidget* parent = nullptr);

  // Shows the window; whether the box stays ticked, or nothing when the file could not be
  // read (a message says so).
  static std::optional<bool> Run(QWidget* parent, const std::filesystem::path& file,
                                 Prompter& prompts);

  void NextTip();
  bool ShowAtStartup() const;
  QString CurrentTip() const;
  QCheckBox* ShowBox() const { return show_; }

 private:
  QStringList tips_;
  int index_ = 0;
  QLabel* text_ = nullptr;
  QCheckBox* show_ = nullptr;
};

}  // namespace ondivo
