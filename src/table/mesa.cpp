#include "table/mesa.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/raster.h"
#include "table/artwork_layout.h"
#include "table/button_bar.h"

namespace tarvelis {

Mesa::Mesa(GameState& state, QWidget* parent) : QWidget(parent), state_(state) {
  setObjectName(QStringLiteral("Mesa"));
  setWindowTitle(QStringLiteral("TARVELIS"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  buttons_ = LoadStrip(QString::fromLatin1(art::kBmpVarioPath));
}

void Mesa::LayOut() {
  const TableGeometry& g = state_.Table;
  const QImage marble = LoadStrip(QStringLiteral(":/strips/marmol.png"));
  marmol_ = QImage(g.ScreenWidthPx, g.ScreenHeightPx, QImage::Format_ARGB32);
  if (marble.isNull()) {
    marmol_.fill(QColor(0x1E, 0x4A, 0x2C));
  } else {
    // The marble is repeated from the top left corner where the table is larger.
    for (int y = 0; y < marmol_.height(); y += marble.height()) {
      for (int x = 0; x < marmol_.width(); x += marble.width()) {
        Blit(marmol_, x, y, marble.width(), marble.height(), marble, 0, 0, RasterOp::Copy);
      }
    }
  }
  surface_ = marmol_.copy();
  setFixedSize(g.ScreenWidthPx, g.ScreenHeightPx);
  DrawButtons();
  update();
}

QRect Mesa::ButtonRect(int n) const {
  const ButtonPlace place = PlaceOfButton(n, state_.Table);
  return QRect(place.x, place.y, place.w, place.h);
}

void Mesa::RestoreFromMarmol(const QRect& area) {
  Blit(surface_, area.x(), area.y(), area.width(), area.height(), marmol_, area.x(), area.y(),
       RasterOp::Copy);
}

void Mesa::DrawButtons() {
  if (surface_.isNull()) return;
  for (int n = 1; n <= kBarButtons; ++n) {
    const QRect r = ButtonRect(n);
    RestoreFromMarmol(r);
    if (buttons_.isNull()) continue;
    const ButtonCell cell = CellOfButton(n);
    MaskedBlit(surface_, r.x(), r.y(), r.width(), r.height(), buttons_, cell.imageX, cell.imageY,
               cell.maskX, cell.maskY);
  }
  update();
}

void Mesa::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect r = event->rect();
  painter.drawImage(r.topLeft(), surface_, r);
}

void Mesa::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return;
  for (int n = 1; n <= kBarButtons; ++n) {
    if (ButtonRect(n).contains(at)) {
      if (onButton) onButton(n);
      return;
    }
  }
}

void Mesa::keyPressEvent(QKeyEvent* event) {
  // Escape and Q put the game out of the way without leaving it.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Q) {
    showMinimized();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Mesa::closeEvent(QCloseEvent* event) {
  // The window manager's close button and Alt+F4 are the exit button: the
  // program saves and quits by itself when the user agrees.
  event->ignore();
  if (onButton) onButton(5);
}

}  // namespace tarvelis
