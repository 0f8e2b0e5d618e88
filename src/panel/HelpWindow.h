#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>

class QTextBrowser;

namespace ondivo {

// The help viewer: HTML pages in the help folder, one page per topic ("Welcome.html",
// "Tuning_the_configuration.html", ...), links between them followed in place.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(std::filesystem::path folder, QWidget* parent = nullptr);

  // Shows the page of a topic and brings the window to the front.
  void ShowTopic(const QString& topic);
  QTextBrowser* Browser() const { return browser_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A modal dialog blocks every window outside its own family: while one is open, the help
  // window is the dialog's, and it goes back to its owner when the dialog closes.
  void JoinModalDialog();
  void MoveTo(QWidget* parent);

  std::filesystem::path folder_;
  QTextBrowser* browser_ = nullptr;
  QPointer<QWidget> owner_;
  QPointer<QWidget> dialog_;
};

}  // namespace ondivo
