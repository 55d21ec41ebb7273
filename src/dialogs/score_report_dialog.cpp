#include "dialogs/score_report_dialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "dialogs/message_dialog.h"
#include "layout/artwork_layout.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {
namespace {

constexpr int kMargin = 14;
constexpr int kButtonW = 96;
constexpr int kButtonH = 28;
constexpr int kLetterPx = 12;
constexpr int kTitlePx = 14;
const QColor kPaper(0xFB, 0xF7, 0xEA);
const QColor kInk(0x1E, 0x2A, 0x20);
const QColor kNumbers(0x10, 0x2C, 0xB8);

QFont EvenFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(kLetterPx);
  return font;
}

// The pair's label as the score button writes it ("N" over pair 1, "E" over
// pair 2), as a small badge heading its column.
QImage PairLabel(int pair) {
  QImage badge(36, 18, QImage::Format_ARGB32);
  badge.fill(Qt::transparent);
  QPainter p(&badge);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath path;
  path.addRoundedRect(QRectF(0.5, 0.5, 35, 17), 5, 5);
  p.fillPath(path, kDialogFrame);
  p.end();
  const QString letter = QString::fromUtf8(pair == 1 ? kOurPairLetter : kTheirPairLetter);
  DrawText(badge, (36 - TextWidth(letter, kTextPx, true)) / 2, 2, letter, kTextPx, true,
           QColor(0xF2, 0xE8, 0xC8));
  return badge;
}

}  // namespace

Marcador::Marcador(GameState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      report_(BuildScoreReport(state)) {
  setObjectName(QStringLiteral("Marcador"));
  setWindowTitle(QString::fromUtf8(kScoreWindowTitle));
  setModal(true);
  // The window's width follows the mode the report is laid out for.
  informe_ = QRect(kMargin, kMargin, report_.width, report_.height);
  const int buttonsTop = informe_.bottom() + 1 + kMargin;
  const int width = report_.width + 2 * kMargin;
  const int gap = 24;
  const int left = (width - 2 * kButtonW - gap) / 2;
  historic_ = QRect(left, buttonsTop, kButtonW, kButtonH);
  salir_ = QRect(left + kButtonW + gap, buttonsTop, kButtonW, kButtonH);
  // Blown up with the table, so it reads at the table's size.
  scale_ = WindowScale();
  own_ = QSize(width, buttonsTop + kButtonH + kMargin);
  setFixedSize(static_cast<int>(std::lround(own_.width() * scale_)),
               static_cast<int>(std::lround(own_.height() * scale_)));
}

void Marcador::PaintInforme(QImage& image) const {
  image.fill(kPaper);
  QPainter p(&image);
  if (report_.ruleY > 0) {
    p.fillRect(kReportNumberX, report_.ruleY, report_.width - 2 * kReportNumberX, 1, kDialogFrame);
  }
  p.setFont(EvenFont());
  const int lineH = QFontMetrics(p.font()).height();
  for (const ReportItem& item : report_.items) {
    switch (item.style) {
      case ReportStyle::kTitle:
        p.end();
        DrawText(image, item.x, item.y, QString::fromStdString(item.text), kTitlePx, true, kInk);
        p.begin(&image);
        p.setFont(EvenFont());
        break;
      case ReportStyle::kPairLabel1:
      case ReportStyle::kPairLabel2:
        p.drawImage(item.x, item.y, PairLabel(item.style == ReportStyle::kPairLabel1 ? 1 : 2));
        break;
      case ReportStyle::kText: {
        const QString text = QString::fromStdString(item.text);
        // Numbers are the scores; words are the headings and the leaders.
        const bool number =
            !text.trimmed().isEmpty() && item.y >= kReportFirstRowY && item.x > kReportLeaderX;
        p.setPen(number ? kNumbers : kInk);
        p.drawText(QRect(item.x, item.y, report_.width, lineH), Qt::AlignLeft | Qt::AlignTop, text);
        break;
      }
    }
  }
}

QImage Marcador::Picture() const {
  QImage image(informe_.size(), QImage::Format_ARGB32);
  PaintInforme(image);
  return image;
}

void Marcador::paintEvent(QPaintEvent*) {
  // Drawn in the window's own pixels on a picture at the screen's pixels.
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  {
    QPainter p(&image);
    DrawDialogPanel(p, own_);
    // The report at the picture's own scale, so its text is drawn as text.
    const double scale = image.devicePixelRatio();
    QImage informe(static_cast<int>(std::lround(informe_.width() * scale)),
                   static_cast<int>(std::lround(informe_.height() * scale)), QImage::Format_ARGB32);
    informe.setDevicePixelRatio(scale);
    PaintInforme(informe);
    p.drawImage(informe_.topLeft(), informe);
    p.setPen(kDialogFrame);
    p.drawRect(informe_.adjusted(-1, -1, 0, 0));
  }
  DrawDialogButton(image, historic_, QString::fromUtf8(kHistoryLabel));
  DrawDialogButton(image, salir_, QString::fromUtf8(kExitLabel));
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void Marcador::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = (event->position() / scale_).toPoint();
  if (historic_.contains(at)) {
    TocaSonido(state_, Sound::kButton);
    if (onHistoric) onHistoric();
  } else if (salir_.contains(at)) {
    TocaSonido(state_, Sound::kClose);
    accept();
  }
}

void Marcador::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    TocaSonido(state_, Sound::kClose);
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ShowScoreReport(GameState& state, QWidget* parent, std::function<void()> onHistoric) {
  Marcador report(state, parent);
  report.onHistoric = std::move(onHistoric);
  ExecCentred(report, parent);
}

}  // namespace tarvelis
