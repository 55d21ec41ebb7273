#include "dialogs/cover.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "model/texts.h"
#include "platform/keys.h"
#include "platform/raster.h"

namespace tarvelis {
namespace {

constexpr int kBorder = 2;
const QColor kBorderColour(0xC9, 0xA2, 0x3C);

}  // namespace

Careta::Careta(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      strip_(LoadSharpStrip(QString::fromLatin1(art::kCaretaPath))),
      scale_(WindowScale()) {
  setObjectName(QStringLiteral("careta"));
  setWindowTitle(QString::fromUtf8(kCoverWindowTitle));
  setModal(true);
  // At the factor the table will be blown up by, measured before it shows.
  setFixedSize(static_cast<int>(std::lround((kCoverWidth + 2 * kBorder) * scale_)),
               static_cast<int>(std::lround((kCoverHeight + 2 * kBorder) * scale_)));
  setFocusPolicy(Qt::StrongFocus);
  // Frames are timed on the clock, never on the game's speed.
  frames_.setTimerType(Qt::PreciseTimer);
  frames_.setInterval(static_cast<int>(kCoverFrameSeconds * 1000));
  connect(&frames_, &QTimer::timeout, this, [this] { NextFrame(); });
}

void Careta::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!scroll_.Stopped) frames_.start();
}

void Careta::NextFrame() {
  scroll_.Step();
  if (scroll_.Stopped) {
    Stop();
    return;
  }
  update();
}

void Careta::Stop() {
  scroll_.Stopped = true;
  frames_.stop();
  accept();
}

void Careta::paintEvent(QPaintEvent*) {
  // In the cover's own pixels on a picture at the screen's, its pieces from
  // the sharper strip.
  QImage cover = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  cover.fill(kBorderColour);
  QPainter(&cover).fillRect(kBorder, kBorder, kCoverWidth, kCoverHeight,
                            QColor(QRgb(art::kCoverBackgroundRgb)));
  for (const CoverPiece& piece : CoverPieces(scroll_.Y)) {
    // A piece is clipped to the cover, never drawn over its border.
    const QRect on = QRect(piece.X, piece.Y, piece.From.w, piece.From.h) &
                     QRect(0, 0, kCoverWidth, kCoverHeight);
    if (on.isEmpty()) continue;
    Blit(cover, kBorder + on.x(), kBorder + on.y(), on.width(), on.height(), strip_,
         piece.From.x + on.x() - piece.X, piece.From.y + on.y() - piece.Y, RasterOp::Copy);
  }
  QPainter(this).drawImage(QRectF(rect()), cover, QRectF(cover.rect()));
}

void Careta::keyPressEvent(QKeyEvent* event) {
  if (IsModifierOnly(event->key())) return;
  Stop();
}

void Careta::mousePressEvent(QMouseEvent*) {
  Stop();
}

void ShowCover() {
  Careta cover;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    cover.move(screen->geometry().center() - QPoint(cover.width() / 2, cover.height() / 2));
  }
  // The cover takes the keyboard at once, even on a desktop without a window
  // manager to hand it over.
  QTimer::singleShot(0, &cover, [&cover] {
    cover.raise();
    cover.activateWindow();
    cover.setFocus(Qt::ActiveWindowFocusReason);
  });
  cover.exec();
}

}  // namespace tarvelis
