#include "schedule/tdSnooze.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ondivo {

tdSnooze::tdSnooze(QWidget* parent, int minutes, HelpHook help)
    : QDialog(parent), help_(std::move(help)) {
  setWindowTitle("Sleep");
  setObjectName("tdSnooze");

  auto* group = new QGroupBox("Turno off radio after", this);
  minutes_ = new QSpinBox(group);
  minutes_->setObjectName("sMinutes");
  minutes_->setRange(kMinMinutes, kMaxMinutes);
  minutes_->setAlignment(Qt::AlignRight);
  minutes_->setValue(minutes);  // out of range comes back within it
  auto* label = new QLabel("Minutes", group);
  label->setBuddy(minutes_);
  auto* row = new QHBoxLayout(group);
  row->addWidget(minutes_);
  row->addWidget(label);
  row->addStretch(1);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* helpButton = buttons->addButton("Help", QDialogButtonBox::HelpRole);
  helpButton->setObjectName("btHelp");
  helpButton->setAutoDefault(false);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("btCancel");
  cancel->setAutoDefault(false);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("btOk");
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this] {
    if (help_) help_("Sleep_function");
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  minutes_->setFocus();
  minutes_->selectAll();
}

std::optional<int> tdSnooze::Run(QWidget* parent, int minutes, HelpHook help) {
  tdSnooze dialog(parent, minutes, std::move(help));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Minutes();
}

int tdSnooze::Minutes() const {
  return minutes_->value();
}

}  // namespace ondivo
