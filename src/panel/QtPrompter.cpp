#include "panel/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace ondivo {

namespace {

QString Text(const std::string& s) {
  // Messages of the panel break lines with CR.
  return QString::fromStdString(s).replace("\r\n", "\n").replace('\r', '\n');
}

QString Filters(const std::vector<Prompter::FileFilter>& filters) {
  QStringList parts;
  for (const auto& f : filters) {
    QString caption = QString::fromStdString(f.caption);
    const QString pattern = QString::fromStdString(f.pattern);
    if (!caption.contains(pattern)) caption += " (" + pattern + ")";
    parts << caption;
  }
  return parts.join(";;");
}

QMessageBox::Icon BoxIcon(Prompter::Icon icon) {
  switch (icon) {
    case Prompter::Icon::Error:
      return QMessageBox::Critical;
    case Prompter::Icon::Warning:
      return QMessageBox::Warning;
    case Prompter::Icon::Information:
      break;
  }
  return QMessageBox::Information;
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

void QtPrompter::Message(const std::string& text, Icon icon, const std::string& title) {
  QApplication::beep();
  QMessageBox box(BoxIcon(icon), Text(title), Text(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtPrompter::Ask(const std::string& text, const std::string& title, Icon icon) {
  QApplication::beep();
  QMessageBox box(BoxIcon(icon), Text(title), Text(text), QMessageBox::Yes | QMessageBox::No,
                  parent_);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::OpenFile(const std::string& title,
                                                const std::vector<FileFilter>& filters,
                                                const std::string& defaultExtension) {
  QFileDialog dialog(parent_, Text(title), {}, Filters(filters));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

std::optional<std::string> QtPrompter::SaveFile(const std::string& title,
                                                const std::vector<FileFilter>& filters,
                                                const std::string& defaultExtension,
                                                const std::string& offered) {
  QFileDialog dialog(parent_, Text(title), {}, Filters(filters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  if (!offered.empty()) dialog.selectFile(QString::fromStdString(offered));
  dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

}  // namespace ondivo
