#pragma once

#include <QDialogButtonBox>
#include <QString>

#include <functional>
#include <string>

class QDialog;
class QPushButton;

namespace ondivo {

// The Help / Cancel / OK row at the foot of the dialogs. Cancel rejects and OK accepts the
// dialog; Help opens the dialog's topic when a help hook is given. Only OK is the default button,
// so Enter in a field never triggers Help or Cancel.
struct tDialogButtons {
  QDialogButtonBox* Box = nullptr;
  QPushButton* Help = nullptr;    // "btHelp"
  QPushButton* Cancel = nullptr;  // "btCancel"
  QPushButton* Ok = nullptr;      // "btOk"
};

tDialogButtons AddDialogButtons(QDialog& dialog, std::function<void(const std::string&)> help,
                                std::string topic, const QString& okText = QStringLiteral("OK"));

}  // namespace ondivo
