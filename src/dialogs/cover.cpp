#include "dialogs/cover.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

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
      strip_(LoadStrip(QString::fromLatin1(art::kCaretaPath))) {
  setObjectName(QStringLiteral("careta"));
  setWindowTitle(QString::fromUtf8(kCoverWindowTitle));
  setModal(true);
  setFixedSize(kCoverWidth + 2 * kBorder, kCoverHeight + 2 * kBorder);
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
  QImage cover(kCoverWidth, kCoverHeight, QImage::Format_RGB32);
  cover.fill(QColor(QRgb(art::kCoverBackgroundRgb)));
  for (const CoverPiece& piece : CoverPieces(scroll_.Y)) {
    Blit(cover, piece.X, piece.Y, piece.From.w, piece.From.h, strip_, piece.From.x, piece.From.y,
         RasterOp::Copy);
  }
  QPainter p(this);
  p.fillRect(rect(), kBorderColour);
  p.drawImage(kBorder, kBorder, cover);
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
