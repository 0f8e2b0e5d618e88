#pragma once

#include <QListWidget>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

#include "schedule/ScriptActions.h"

class QMimeData;

namespace ondivo {

// The sixteen-pixel picture of an action kind (icMuteOn, icBeep, ...), drawn for the given
// device pixel ratio.
QPixmap ActionIcon(tActionKind kind, qreal devicePixelRatio);

// What is being dragged between the editor's lists: an event (a kind to make an action of) or an
// action of the program (by its row).
struct tScriptDrag {
  enum tFrom { Events, Program } From = Events;
  int Value = 0;  // the kind for an event, the row for an action
};
QMimeData* ScriptDragData(const tScriptDrag& drag);
std::optional<tScriptDrag> ReadScriptDrag(const QMimeData* data);

// A row of either list: the kind's icon and name, and for an action of the program its time at
// a fixed column. Rows are 20 pixels high (more when the font needs it).
class tScriptRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  static constexpr int KindRole = Qt::UserRole;
  static constexpr int TimeRole = Qt::UserRole + 1;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The events list and the program list: each row drags as a tScriptDrag, and a drop is handed
// to the editor with the row it landed on (-1 below the last row), which decides what happens.
// The lists never move their own rows: the editor rebuilds them from the program.
class tScriptList : public QListWidget {
 public:
  using AcceptHook = std::function<bool(const tScriptDrag&)>;
  using DropHook = std::function<void(const tScriptDrag&, int row)>;

  tScriptList(tScriptDrag::tFrom kind, QWidget* parent);

  void SetDropHooks(AcceptHook accept, DropHook drop);
  // Adds a row for an event or an action; time is empty for an event.
  void AddRow(tActionKind kind, const QString& time = {});

  // The drag data of the given rows, as a drag out of this list carries it.
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

 protected:
  QStringList mimeTypes() const override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool Accepts(const QMimeData* data) const;

  tScriptDrag::tFrom kind_;
  AcceptHook accept_;
  DropHook drop_;
};

}  // namespace ondivo
