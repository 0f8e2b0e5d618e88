#include "stations/OrganizerWidgets.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "stations/OrganizerTree.h"

namespace ondivo {

namespace {

const QString kNodeFormat = QStringLiteral("application/x-ondivo-organizer-node");

}  // namespace

RadioTreeWidget::RadioTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("RadioTree");
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

OrganizerNode* RadioTreeWidget::NodeOf(const QTreeWidgetItem* item) {
  return item ? reinterpret_cast<OrganizerNode*>(item->data(0, Qt::UserRole).value<quintptr>())
              : nullptr;
}

void RadioTreeWidget::SetNode(QTreeWidgetItem* item, OrganizerNode* node) {
  item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
}

QStringList RadioTreeWidget::mimeTypes() const {
  return {kNodeFormat};
}

QMimeData* RadioTreeWidget::mimeData(const QList<QTreeWidgetItem*>&) const {
  return DragData();
}

// The tree's own address names the tree a drag comes from.
QMimeData* RadioTreeWidget::DragData() const {
  auto* data = new QMimeData;
  data->setData(kNodeFormat, QByteArray::number(reinterpret_cast<quintptr>(this)));
  return data;
}

bool RadioTreeWidget::IsOwnDrag(const QMimeData* data) const {
  return data && data->hasFormat(kNodeFormat) &&
         data->data(kNodeFormat) == QByteArray::number(reinterpret_cast<quintptr>(this));
}

void RadioTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (IsOwnDrag(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void RadioTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (IsOwnDrag(event->mimeData())) {
    QTreeWidget::dragMoveEvent(event);
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

// The dialog moves the node itself: the view's own move would copy items and lose the nodes.
void RadioTreeWidget::dropEvent(QDropEvent* event) {
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  if (IsOwnDrag(event->mimeData()) && target && OnDrop) OnDrop(target);
}

PresetDropButton::PresetDropButton(QWidget* parent, int preset)
    : QToolButton(parent), preset_(preset) {
  setAcceptDrops(true);
}

void PresetDropButton::dragEnterEvent(QDragEnterEvent* event) {
  if (Accepts && Accepts(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PresetDropButton::dragMoveEvent(QDragMoveEvent* event) {
  if (Accepts && Accepts(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PresetDropButton::dropEvent(QDropEvent* event) {
  if (!Accepts || !Accepts(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (OnDrop) OnDrop();
}

}  // namespace ondivo
