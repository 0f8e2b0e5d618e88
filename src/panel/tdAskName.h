#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace ondivo {

// "Asking for station name": one line of at most 40 characters, prefilled; OK hands the text
// back as typed (the caller trims it), Cancel nothing.
class tdAskName : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 40;

  explicit tdAskName(const std::string& name, QWidget* parent = nullptr);

  static std::optional<std::string> Run(QWidget* parent, const std::string& name);

  std::string Name() const;
  QLineEdit* NameEdit() const { return sName_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  QLineEdit* sName_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace ondivo
