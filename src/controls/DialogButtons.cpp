#include "controls/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace ondivo {

tDialogButtons AddDialogButtons(QDialog& dialog, std::function<void(const std::string&)> help,
                                std::string topic, const QString& okText) {
  tDialogButtons row;
  row.Box = new QDialogButtonBox(&dialog);
  row.Help = row.Box->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
  row.Help->setObjectName("btHelp");
  row.Help->setAutoDefault(false);
  row.Cancel = row.Box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  row.Cancel->setObjectName("btCancel");
  row.Cancel->setAutoDefault(false);
  row.Ok = row.Box->addButton(okText, QDialogButtonBox::AcceptRole);
  row.Ok->setObjectName("btOk");
  row.Ok->setDefault(true);
  QObject::connect(row.Box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(row.Box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(row.Help, &QPushButton::clicked, &dialog,
                   [help = std::move(help), topic = std::move(topic)] {
                     if (help) help(topic);
                   });
  return row;
}

}  // namespace ondivo
