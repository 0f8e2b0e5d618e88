#include "panel/AboutBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/Pictures.h"

namespace ondivo {

std::unique_ptr<QDialog> AboutBox::Build(QWidget* parent) {
  auto dialog = std::make_unique<QDialog>(parent);
  QDialog& box = *dialog;
  box.setWindowTitle("About Ondivo");
  auto* icon = new QLabel(&box);
  // The 11-pixel note three times over, pixel for pixel, beside the heading at any scale.
  const qreal ratio = box.devicePixelRatioF();
  const int side = static_cast<int>(33 * ratio);
  QImage picture = Picture(u"RADIO5ON", ratio > 1.0 ? 2.0 : 1.0)
                       .scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
  picture.setDevicePixelRatio(ratio);
  icon->setPixmap(QPixmap::fromImage(picture));
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
  box.setFixedWidth(400);
  return dialog;
}

void AboutBox::Run(QWidget* parent) {
  Build(parent)->exec();
}

}  // namespace ondivo
