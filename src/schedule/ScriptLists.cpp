#include "schedule/ScriptLists.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

namespace ondivo {

namespace {

constexpr int kIconSize = 16;
constexpr int kRowHeight = 20;
constexpr auto kDragFormat = "application/x-ondivo-script-drag";

void Speaker(QPainter& p) {
  QPainterPath path;
  path.moveTo(2, 6);
  path.lineTo(5, 6);
  path.lineTo(9, 2);
  path.lineTo(9, 14);
  path.lineTo(5, 10);
  path.lineTo(2, 10);
  path.closeSubpath();
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(QColor(120, 120, 120));
  p.drawPath(path);
}

void Draw(QPainter& p, tActionKind kind) {
  p.setRenderHint(QPainter::Antialiasing);
  switch (kind) {
    case akMuteOn:
      Speaker(p);
      p.setPen(QPen(QColor(200, 0, 0), 2));
      p.drawLine(QPointF(10.5, 5.5), QPointF(14.5, 10.5));
      p.drawLine(QPointF(14.5, 5.5), QPointF(10.5, 10.5));
      break;
    case akMuteOff:
      Speaker(p);
      p.setPen(QPen(QColor(0, 150, 0), 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(6, 3, 9, 10), -60 * 16, 120 * 16);
      break;
    case akBeep: {
      QPainterPath bell;
      bell.moveTo(3, 12);
      bell.cubicTo(5, 10, 4, 3, 8, 3);
      bell.cubicTo(12, 3, 11, 10, 13, 12);
      bell.closeSubpath();
      p.setPen(QPen(QColor(120, 90, 0), 1));
      p.setBrush(QColor(240, 200, 40));
      p.drawPath(bell);
      p.drawEllipse(QPointF(8, 13.5), 1.5, 1.5);
      break;
    }
    case akVolume: {
      p.setPen(Qt::NoPen);
      const QColor colors[] = {QColor(0, 160, 0), QColor(120, 180, 0), QColor(220, 160, 0),
                               QColor(220, 60, 0)};
      for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(QRectF(1.5 + i * 3.5, 12 - i * 3, 2.5, 2 + i * 3));
      }
      break;
    }
    case akJumpTo: {
      p.setPen(QPen(QColor(0, 70, 170), 1));
      p.setBrush(QColor(210, 225, 255));
      p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 2, 2);
      p.setPen(QPen(QColor(0, 70, 170), 1));
      for (int x = 4; x <= 12; x += 2) p.drawLine(QPointF(x, 9.5), QPointF(x, 11));
      p.setPen(QPen(QColor(200, 0, 0), 1.5));
      p.drawLine(QPointF(9, 5), QPointF(9, 11.5));
      break;
    }
    case akPreset: {
      p.setPen(QPen(QColor(90, 60, 0), 1));
      p.setBrush(QColor(250, 220, 120));
      p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
      QFont font = QApplication::font();
      font.setPixelSize(10);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(90, 60, 0));
      p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("P"));
      break;
    }
    case akOff:
      p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
      p.drawLine(QPointF(8, 1.5), QPointF(8, 8));
      break;
    case akNone:
      break;
  }
}

}  // namespace

QPixmap ActionIcon(tActionKind kind, qreal devicePixelRatio) {
  QPixmap pixmap(QSize(kIconSize, kIconSize) * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  Draw(painter, kind);
  return pixmap;
}

QMimeData* ScriptDragData(const tScriptDrag& drag) {
  auto* data = new QMimeData;
  const char from = drag.From == tScriptDrag::Events ? 'E' : 'A';
  data->setData(kDragFormat, QByteArray(1, from) + QByteArray::number(drag.Value));
  return data;
}

std::optional<tScriptDrag> ReadScriptDrag(const QMimeData* data) {
  if (!data || !data->hasFormat(kDragFormat)) return std::nullopt;
  const QByteArray bytes = data->data(kDragFormat);
  bool ok = false;
  const int value = bytes.mid(1).toInt(&ok);
  if (!ok || bytes.isEmpty() || (bytes[0] != 'E' && bytes[0] != 'A')) return std::nullopt;
  return tScriptDrag{bytes[0] == 'E' ? tScriptDrag::Events : tScriptDrag::Program, value};
}

void tScriptRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

  const auto kind = static_cast<tActionKind>(index.data(KindRole).toInt());
  const QRect r = opt.rect;
  const qreal ratio = painter->device()->devicePixelRatioF();
  painter->drawPixmap(r.left() + 2, r.top() + (r.height() - kIconSize) / 2,
                      ActionIcon(kind, ratio));

  const bool selected = opt.state & QStyle::State_Selected;
  painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(opt.font);
  const int nameLeft = r.left() + kIconSize + 6;
  const QRect nameRect(nameLeft, r.top(), r.right() - nameLeft, r.height());
  painter->drawText(
      nameRect, Qt::AlignLeft | Qt::AlignVCenter,
      QString::fromUtf8(ActionKeyword(kind).data(), static_cast<int>(ActionKeyword(kind).size())));
  const QString time = index.data(TimeRole).toString();
  if (!time.isEmpty()) {
    // The times line up one gap (the widest name and 7 pixels) after the names.
    const int timeLeft =
        nameLeft + opt.fontMetrics.horizontalAdvance(QStringLiteral("Mute off")) + 7;
    painter->drawText(QRect(timeLeft, r.top(), r.right() - timeLeft, r.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, time);
  }
}

QSize tScriptRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  const QSize text = QStyledItemDelegate::sizeHint(option, index);
  const int timeWidth = option.fontMetrics.horizontalAdvance(QStringLiteral("Mute off_00:00"));
  return {kIconSize + 6 + timeWidth + 14, std::max(kRowHeight, text.height())};
}

tScriptList::tScriptList(tScriptDrag::tFrom kind, QWidget* parent)
    : QListWidget(parent), kind_(kind) {
  setItemDelegate(new tScriptRowDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  // Copy, so that a drag never takes the row out of its list: the editor decides what changes.
  setDefaultDropAction(Qt::CopyAction);
}

void tScriptList::SetDropHooks(AcceptHook accept, DropHook drop) {
  accept_ = std::move(accept);
  drop_ = std::move(drop);
}

void tScriptList::AddRow(tActionKind kind, const QString& time) {
  auto* item = new QListWidgetItem(this);
  item->setData(tScriptRowDelegate::KindRole, static_cast<int>(kind));
  item->setData(tScriptRowDelegate::TimeRole, time);
  const std::string_view name = ActionKeyword(kind);
  item->setText(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
}

QStringList tScriptList::mimeTypes() const {
  return {QString::fromLatin1(kDragFormat)};
}

QMimeData* tScriptList::mimeData(const QList<QListWidgetItem*>& items) const {
  if (items.isEmpty()) return nullptr;
  QListWidgetItem* item = items.first();
  const int value =
      kind_ == tScriptDrag::Events ? item->data(tScriptRowDelegate::KindRole).toInt() : row(item);
  return ScriptDragData({kind_, value});
}

bool tScriptList::Accepts(const QMimeData* data) const {
  const auto drag = ReadScriptDrag(data);
  return drag && accept_ && accept_(*drag);
}

void tScriptList::dragEnterEvent(QDragEnterEvent* event) {
  if (!Accepts(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void tScriptList::dragMoveEvent(QDragMoveEvent* event) {
  if (!Accepts(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void tScriptList::dropEvent(QDropEvent* event) {
  const auto drag = ReadScriptDrag(event->mimeData());
  if (!drag || !Accepts(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  const QModelIndex at = indexAt(event->position().toPoint());
  if (drop_) drop_(*drag, at.isValid() ? at.row() : -1);
}

}  // namespace ondivo
