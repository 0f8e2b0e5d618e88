#include "panel/TipWindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "panel/Prompter.h"

namespace ondivo {

QStringList ReadTips(const std::filesystem::path& file, bool* readable) {
  QFile in(QString::fromStdString(file.string()));
  QStringList tips;
  *readable = in.open(QIODevice::ReadOnly | QIODevice::Text);
  if (!*readable) return tips;
  // A tips file is a few kilobytes; anything far larger is not one.
  const QByteArray bytes = in.read(1 << 20);
  for (const QString& line : QString::fromUtf8(bytes).split('\n')) {
    const QString tip = line.trimmed();
    if (!tip.isEmpty() && !tip.startsWith('#')) tips << tip;
  }
  return tips;
}

TipWindow::TipWindow(QStringList tips, int first, QWidget* parent)
    : QDialog(parent), tips_(std::move(tips)), index_(first) {
  setWindowTitle("Tip of the Day");
  auto* bulb = new QLabel(this);
  bulb->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  auto* heading = new QLabel("<b>Did you know...</b>", this);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.3);
  heading->setFont(big);
  text_ = new QLabel(this);
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text_->setMinimumHeight(72);
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setBackgroundRole(QPalette::Base);
  panel->setAutoFillBackground(true);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->addWidget(bulb, 0, Qt::AlignTop);
  auto* column = new QVBoxLayout;
  column->addWidget(heading);
  column->addWidget(text_, 1);
  panelLayout->addLayout(column, 1);

  show_ = new QCheckBox("Show Tips at Startup", this);
  show_->setChecked(true);
  auto* next = new QPushButton("&Next Tip", this);
  auto* closeButton = new QPushButton("Close", this);
  closeButton->setDefault(true);
  connect(next, &QPushButton::clicked, this, &TipWindow::NextTip);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(show_);
  buttons->addStretch();
  buttons->addWidget(next);
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel, 1);
  layout->addLayout(buttons);
  if (tips_.isEmpty()) tips_ << "There are no tips in the tips file.";
  index_ = ((index_ % tips_.size()) + tips_.size()) % tips_.size();
  text_->setText(tips_[index_]);
  resize(420, 200);
}

void TipWindow::NextTip() {
  index_ = (index_ + 1) % tips_.size();
  text_->setText(tips_[index_]);
}

bool TipWindow::ShowAtStartup() const {
  return show_->isChecked();
}

QString TipWindow::CurrentTip() const {
  return tips_[index_];
}

std::optional<bool> TipWindow::Run(QWidget* parent, const std::filesystem::path& file,
                                   Prompter& prompts) {
  bool readable = false;
  QStringList tips = ReadTips(file, &readable);
  if (!readable) {
    prompts.Message("The tips file " + file.string() +
                        " cannot be read, so there is no tip "
                        "of the day.",
                    Prompter::Icon::Warning);
    return std::nullopt;
  }
  const int first = static_cast<int>(QDateTime::currentSecsSinceEpoch() / 86400);
  TipWindow window(std::move(tips), first, parent);
  window.exec();
  return window.ShowAtStartup();
}

}  // namespace ondivo
