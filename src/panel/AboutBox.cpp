#include "panel/AboutBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/Pictures.h"

namespace ondivo {

void AboutBox::Run(QWidget* parent) {
  QDialog box(parent);
  box.setWindowTitle("About Ondivo");
  auto* icon = new QLabel(&box);
  QImage picture = Picture(u"RADIO5ON", 2.0);
  icon->setPixmap(
      QPixmap::fromImage(picture.scaled(44, 44, Qt::KeepAspectRatio, Qt::FastTransformation)));
  auto* text = new QLabel(&box);
  text->setTextFormat(Qt::RichText);
  text->setText(QString("<h2>Ondivo %1</h2>"
                        "<p>A radio set with a front panel on the screen, for PC tuner cards "
                        "on I/O ports and radios on a serial line.</p>"
                        "<p>Start it with <tt>--simulate</tt> to try it on emulated "
                        "hardware.</p>")
                    .arg(ONDIVO_VERSION));
  text->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addWidget(buttons);
  box.setFixedWidth(360);
  box.exec();
}

}  // namespace ondivo
