#include "panel/tdExit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace ondivo {

tdExit::tdExit(bool yesEnabled, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Power-off message");
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
  auto* text = new QLabel("Do you want the music to be in background ?", this);
  QFont bold = text->font();
  bold.setBold(true);
  text->setFont(bold);
  text->setWordWrap(true);
  yes_ = new QPushButton("&Yes", this);
  no_ = new QPushButton("&No", this);
  notExit_ = new QPushButton("Not &exit", this);
  yes_->setEnabled(yesEnabled);
  (yesEnabled ? yes_ : no_)->setDefault(true);
  connect(yes_, &QPushButton::clicked, this, [this] {
    answer_ = tExitAnswer::KeepPlaying;
    accept();
  });
  connect(no_, &QPushButton::clicked, this, [this] {
    answer_ = tExitAnswer::SwitchOff;
    accept();
  });
  connect(notExit_, &QPushButton::clicked, this, [this] {
    answer_ = tExitAnswer::NotExit;
    reject();
  });
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(yes_);
  buttons->addWidget(no_);
  buttons->addWidget(notExit_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

tExitAnswer tdExit::Run(QWidget* parent, bool yesEnabled) {
  tdExit dialog(yesEnabled, parent);
  dialog.exec();
  return dialog.Answer();
}

}  // namespace ondivo
