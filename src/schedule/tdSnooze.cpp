#include "schedule/tdSnooze.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls/DialogButtons.h"

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

  const tDialogButtons buttons = AddDialogButtons(*this, help_, "Sleep_function");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons.Box);
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
