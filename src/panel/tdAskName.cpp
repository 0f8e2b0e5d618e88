#include "panel/tdAskName.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ondivo {

tdAskName::tdAskName(const std::string& name, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Asking for station name");
  auto* label = new QLabel("Station name", this);
  sName_ = new QLineEdit(this);
  sName_->setObjectName("sName");
  sName_->setMaxLength(kMaxLength);
  sName_->setText(QString::fromStdString(name));
  sName_->selectAll();
  label->setBuddy(sName_);
  // The buttons stand in the desktop's order, as on every other dialog of the panel.
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setAutoDefault(false);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(sName_);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  // Forty average characters fit without scrolling.
  const int width = sName_->fontMetrics().averageCharWidth() * (kMaxLength + 4);
  setFixedSize(sizeHint().expandedTo(QSize(width, 0)));
}

std::string tdAskName::Name() const {
  return sName_->text().toStdString();
}

std::optional<std::string> tdAskName::Run(QWidget* parent, const std::string& name) {
  tdAskName dialog(name, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Name();
}

}  // namespace ondivo
