#include "dialogs/message_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTextOption>
#include <QTimer>
#include <cmath>

#include "layout/artwork_layout.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/keys.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {
namespace {

constexpr int kWidth = 440;
constexpr int kMargin = 16;
constexpr int kPicture = 50;
constexpr int kButtonW = 96;
constexpr int kButtonH = 28;

QPointer<Mensajes>& OpenDialog() {
  static QPointer<Mensajes> open;
  return open;
}

// The texts carry CR LF line breaks, as every message of the game does.
QString ForDisplay(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Wrapped at spaces where it can be, anywhere where it cannot.
QTextOption TextOption() {
  QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  return option;
}

}  // namespace

Mensajes::Mensajes(GameState& state, const QString& title, const QString& text, int picture,
                   int buttons, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      title_(title),
      text_(ForDisplay(text)),
      picture_(picture),
      buttons_(buttons == kQuestion ? kQuestion : kNotice) {
  setObjectName(QStringLiteral("mensajes"));
  setWindowTitle(title);
  setModal(true);
  Layout();
}

void Mensajes::Layout() {
  const int titleH = 26;
  titleRect_ = QRect(0, 0, kWidth, titleH);
  pictureRect_ = QRect(kMargin, titleH + kMargin, kPicture, kPicture);
  const int textLeft = pictureRect_.right() + 1 + kMargin;
  const int textWidth = kWidth - textLeft - kMargin;
  // Measured with the very options it is drawn with: a word wider than the
  // text's width (a long name with no spaces) is broken, never run past the
  // dialog's edge.
  QImage scratch(1, 1, QImage::Format_ARGB32);
  QPainter measure(&scratch);
  measure.setFont(GameFont(kTextPx, false));
  const QRectF needed = measure.boundingRect(QRectF(0, 0, textWidth, 2000), text_, TextOption());
  measure.end();
  textRect_ = QRect(textLeft, titleH + kMargin, textWidth,
                    std::max(static_cast<int>(std::ceil(needed.height())), kPicture));
  const int buttonsTop = textRect_.bottom() + 1 + kMargin;
  if (buttons_ == kNotice) {
    salir_ = QRect((kWidth - kButtonW) / 2, buttonsTop, kButtonW, kButtonH);
    si_ = no_ = QRect();
  } else {
    const int gap = 24;
    const int left = (kWidth - 2 * kButtonW - gap) / 2;
    si_ = QRect(left, buttonsTop, kButtonW, kButtonH);
    no_ = QRect(left + kButtonW + gap, buttonsTop, kButtonW, kButtonH);
    salir_ = QRect();
  }
  // Blown up with the table, so it reads at the table's size.
  scale_ = WindowScale();
  height_ = buttonsTop + kButtonH + kMargin;
  setFixedSize(static_cast<int>(std::lround(kWidth * scale_)),
               static_cast<int>(std::lround(height_ * scale_)));
}

void DrawDialogButton(QImage& image, const QRect& rect, const QString& label, bool usable) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(rect.topLeft(), rect.bottomLeft());
  g.setColorAt(0, usable ? QColor(0x4C, 0x9A, 0x62) : QColor(0x9A, 0xA3, 0x9C));
  g.setColorAt(1, usable ? QColor(0x23, 0x5E, 0x36) : QColor(0x6E, 0x77, 0x70));
  QPainterPath path;
  path.addRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  p.fillPath(path, g);
  p.setPen(QPen(QColor(0x12, 0x33, 0x1D), 1));
  p.drawPath(path);
  p.end();
  const int w = TextWidth(label, kTextPx, true);
  DrawText(image, rect.x() + (rect.width() - w) / 2,
           rect.y() + (rect.height() - TextHeight(kTextPx, true)) / 2, label, kTextPx, true,
           usable ? QColor(Qt::white) : QColor(0xDD, 0xDD, 0xDD));
}

void DrawDialogPanel(QPainter& p, const QSize& size, const QRect& titleBar) {
  static const QColor bar(0x2A, 0x6B, 0x3F);
  const int w = size.width();
  const int h = size.height();
  p.fillRect(0, 0, w, h, kDialogPanel);
  if (!titleBar.isEmpty()) p.fillRect(titleBar, bar);
  p.fillRect(0, 0, w, 2, kDialogFrame);
  p.fillRect(0, h - 2, w, 2, kDialogFrame);
  p.fillRect(0, 0, 2, h, kDialogFrame);
  p.fillRect(w - 2, 0, 2, h, kDialogFrame);
}

void Mensajes::paintEvent(QPaintEvent*) {
  // Drawn in the dialog's own pixels on a picture at the screen's pixels.
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  {
    QPainter p(&image);
    DrawDialogPanel(p, QSize(kWidth, height_), titleRect_);
  }
  DrawText(image, kMargin, 6, title_, kTextPx, true, Qt::white);

  static const QImage pictures = LoadSharpStrip(QString::fromLatin1(art::kMensajesPath));
  const int n = std::clamp(picture_, 1, art::kMessagePictureCount);
  const art::Cell cell = art::MessagePictureOpaque(n);
  Blit(image, pictureRect_.x(), pictureRect_.y(), cell.w, cell.h, pictures, cell.x, cell.y,
       RasterOp::Copy);
  {
    QPainter p(&image);
    p.setFont(GameFont(kTextPx, false));
    p.setPen(Qt::black);
    p.drawText(QRectF(textRect_), text_, TextOption());
  }
  if (buttons_ == kNotice) {
    DrawDialogButton(image, salir_, QString::fromUtf8(kAcceptLabel));
  } else {
    DrawDialogButton(image, si_, QString::fromUtf8(kAcceptLabel));
    DrawDialogButton(image, no_, QString::fromUtf8(kCancelLabel));
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void Mensajes::Answer(bool yes) {
  TocaSonido(state_, Sound::kButton);
  done(yes ? QDialog::Accepted : QDialog::Rejected);
}

void Mensajes::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = (event->position() / scale_).toPoint();
  if (buttons_ == kNotice) {
    if (salir_.contains(at)) {
      TocaSonido(state_, Sound::kClose);
      accept();
    }
  } else if (si_.contains(at)) {
    Answer(true);
  } else if (no_.contains(at)) {
    Answer(false);
  }
}

void Mensajes::keyPressEvent(QKeyEvent* event) {
  if (IsModifierOnly(event->key())) return;
  if (event->isAutoRepeat()) return;
  // Any key typed closes a notice.
  if (buttons_ == kNotice) {
    if (parentWidget()) parentWidget()->unsetCursor();
    accept();
    return;
  }
  // A question is answered only on purpose, since a yes may throw a match
  // away: Return takes the default button (yes), Escape is no, as on every
  // desktop; any other key is ignored.
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Answer(true);
      break;
    case Qt::Key_Escape:
      Answer(false);
      break;
    default:
      break;
  }
}

int ExecCentred(QDialog& dialog, QWidget* over, QWidget* focus) {
  const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
  const QRect area = over ? over->geometry() : screen ? screen->geometry() : QRect();
  if (!area.isEmpty()) {
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
  }
  QWidget* keys = focus ? focus : &dialog;
  QTimer::singleShot(0, &dialog, [&dialog, keys] {
    dialog.raise();
    dialog.activateWindow();
    keys->setFocus(Qt::ActiveWindowFocusReason);
  });
  return dialog.exec();
}

bool ShowMessage(GameState& state, const QString& title, const QString& text, int picture,
                 int buttons, QWidget* parent) {
  if (OpenDialog()) OpenDialog()->reject();
  if (!parent) parent = QApplication::activeWindow();
  Mensajes dialog(state, title, text, picture, buttons, parent);
  OpenDialog() = &dialog;
  const int result = ExecCentred(dialog, parent);
  if (buttons != kQuestion) return true;
  return result == QDialog::Accepted;
}

}  // namespace tarvelis
