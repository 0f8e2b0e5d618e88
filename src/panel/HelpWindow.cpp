#include "panel/HelpWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ondivo {

HelpWindow::HelpWindow(std::filesystem::path folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder)), owner_(parent) {
  setWindowTitle("Ondivo Help");
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({QString::fromStdString(folder_.string())});
  auto* back = new QPushButton("Back", this);
  auto* contents = new QPushButton("Contents", this);
  auto* closeButton = new QPushButton("Close", this);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { ShowTopic("Welcome"); });
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
  // Escape closes it as it closes a dialog.
  connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);
  back->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addLayout(buttons);
  // Wide enough for the dialog pictures in the pages, within the screen.
  QSize size(880, 640);
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableSize());
  resize(size);
}

void HelpWindow::ShowTopic(const QString& topic) {
  const QString page = QString::fromStdString((folder_ / (topic.toStdString() + ".html")).string());
  if (QFileInfo::exists(page)) {
    browser_->setSource(QUrl::fromLocalFile(page));
  } else {
    browser_->setHtml(
        QString("<h2>Help is not installed</h2><p>The help page <b>%1</b> was "
                "not found in %2.</p>")
            .arg(topic.toHtmlEscaped(), QString::fromStdString(folder_.string()).toHtmlEscaped()));
  }
  JoinModalDialog();
  show();
  raise();
  activateWindow();
  browser_->setFocus();  // the keys scroll the page at once
}

void HelpWindow::JoinModalDialog() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || modal == dialog_) return;
  if (dialog_) dialog_->removeEventFilter(this);
  dialog_ = modal;
  dialog_->installEventFilter(this);
  MoveTo(dialog_);
}

void HelpWindow::MoveTo(QWidget* parent) {
  const QRect place = geometry();
  const bool shown = !isHidden();
  setParent(parent, windowFlags());
  setGeometry(place);
  if (shown) show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  // Before the dialog is destroyed with its children: back to the dialog below it, if any, or
  // to the owner, where it stays open.
  if (watched == dialog_ && event->type() == QEvent::Hide && !event->spontaneous()) {
    dialog_->removeEventFilter(this);
    dialog_ = nullptr;
    QWidget* below = QApplication::activeModalWidget();
    if (below && below != watched) {
      JoinModalDialog();
    } else {
      MoveTo(owner_);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ondivo
