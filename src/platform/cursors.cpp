#include "platform/cursors.h"

#include <QPixmap>
#include <QWidget>

#include "layout/artwork_layout.h"

namespace tarvelis {

QCursor CursorOfKind(int kind) {
  // The no-drop pointer of a control that cannot be used now.
  if (kind == 7) return QCursor(Qt::ForbiddenCursor);
  if (kind < 1 || kind > 6) return QCursor(Qt::ArrowCursor);
  static QCursor cache[7];
  static bool loaded[7] = {};
  if (!loaded[kind]) {
    const art::CursorArt& a = art::kCursor[kind];
    QPixmap picture(QString::fromLatin1(a.path));
    cache[kind] = picture.isNull() ? QCursor(Qt::PointingHandCursor)
                                   : QCursor(picture, a.hotSpot.x, a.hotSpot.y);
    loaded[kind] = true;
  }
  return cache[kind];
}

void LoadPointer(QWidget* target, int kind) {
  if (!target) return;
  if (kind == 0) {
    target->unsetCursor();
  } else {
    target->setCursor(CursorOfKind(kind));
  }
}

QCursor BusyCursor() {
  return QCursor(Qt::WaitCursor);
}

}  // namespace tarvelis
