#pragma once

#include <QToolButton>
#include <QTreeWidget>
#include <functional>

class QMimeData;

namespace ondivo {

struct OrganizerNode;

// The organizer's tree: each item carries its node. Drags carry this tree's own format, so a
// drop is taken only from this tree; the dialog decides what a drop does.
class RadioTreeWidget : public QTreeWidget {
  Q_OBJECT

 public:
  explicit RadioTreeWidget(QWidget* parent);

  static OrganizerNode* NodeOf(const QTreeWidgetItem* item);
  static void SetNode(QTreeWidgetItem* item, OrganizerNode* node);
  // What a drag of the selected node carries; a drop that does not carry it is refused.
  QMimeData* DragData() const;
  bool IsOwnDrag(const QMimeData* data) const;
  // A label is being edited in place.
  bool Editing() const { return state() == QAbstractItemView::EditingState; }

  // A node was dropped onto target (never null).
  std::function<void(QTreeWidgetItem* target)> OnDrop;

 protected:
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// A preset button of the organizer that takes stations dragged from the tree.
class PresetDropButton : public QToolButton {
  Q_OBJECT

 public:
  PresetDropButton(QWidget* parent, int preset);
  int Preset() const { return preset_; }

  // Whether a drag over the button is taken, and what a drop does.
  std::function<bool(const QMimeData*)> Accepts;
  std::function<void()> OnDrop;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int preset_;
};

}  // namespace ondivo
