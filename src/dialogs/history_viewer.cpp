#include "dialogs/history_viewer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

#include "dialogs/message_dialog.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {
namespace {

constexpr int kTitleH = 26;
constexpr int kMargin = 14;
constexpr int kButtonW = 96;
constexpr int kButtonH = 28;
const QColor kCard(0xC8, 0x9B, 0x55);
const QColor kCardEdge(0x7A, 0x55, 0x22);
const QColor kPaper(0xFB, 0xF8, 0xEE);
const QColor kRuling(0xB9, 0xCD, 0xE6);
const QColor kMarginLine(0xE0, 0x9A, 0x9A);
const QColor kEntryBlue(0x10, 0x2C, 0xB0);
const QColor kTitleRed(0x7A, 0x12, 0x12);
// The line under the totals' column header.
constexpr int kTotalsRule = 39;

// The column headers a size smaller, so that "Fecha / Hora" in bold ends
// before the names' column.
QFont FontOf(LineStyle style) {
  QFont font = GameFont(style == LineStyle::Header ? kSmallTextPx - 1 : kSmallTextPx,
                        style != LineStyle::Entry);
  font.setItalic(style == LineStyle::Entry);
  return font;
}

QColor ColourOf(LineStyle style) {
  switch (style) {
    case LineStyle::Entry:
      return kEntryBlue;
    case LineStyle::Title:
      return kTitleRed;
    default:
      return Qt::black;
  }
}

// The corner of the page turned up: the triangle cut off the page shows the
// card below, and the flap folded over the page is that triangle mirrored on
// the fold.
void DrawTurnedCorner(QPainter& p, Corner corner) {
  const int w = kFolderWidth, h = kFolderHeight;
  const bool next = corner == Corner::Next;
  const QPointF a(next ? w - 4 - kCornerWidth : 4 + kCornerWidth, h - 4);
  const QPointF b(next ? w - 4 : 4, h - 4 - kCornerHeight);
  const QPointF c(next ? w - 4 : 4, h - 4);
  // The mirror image of c on the line a-b.
  const QPointF d = b - a;
  const double t = QPointF::dotProduct(c - a, d) / QPointF::dotProduct(d, d);
  const QPointF foot = a + t * d;
  const QPointF mirrored = 2 * foot - c;
  p.setPen(Qt::NoPen);
  p.setBrush(kCard);
  p.drawPolygon(QPolygonF({a, b, c}));
  QLinearGradient shade(foot, mirrored);
  shade.setColorAt(0, QColor(0xE4, 0xDE, 0xCC));
  shade.setColorAt(1, QColor(0xFF, 0xFF, 0xFA));
  p.setBrush(shade);
  p.setPen(QPen(QColor(0x9C, 0x93, 0x7C), 1));
  p.drawPolygon(QPolygonF({a, b, mirrored}));
}

}  // namespace

Historic::Historic(GameState& state, std::vector<HistoryMatch> matches, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      fileOrder_(std::move(matches)),
      newestFirst_(NewestFirst(fileOrder_)) {
  setObjectName(QStringLiteral("Historic"));
  setWindowTitle(QString::fromUtf8(kHistoryWindowTitle));
  setModal(true);
  setMouseTracking(true);
  const int width = kFolderWidth + 2 * kMargin;
  title_ = QRect(0, 0, width, kTitleH);
  folder_ = QRect(kMargin, kTitleH + kMargin, kFolderWidth, kFolderHeight);
  const int buttonsTop = folder_.bottom() + 1 + kMargin;
  const int gap = 24;
  const int left = (width - 2 * kButtonW - gap) / 2;
  totalsButton_ = QRect(left, buttonsTop, kButtonW, kButtonH);
  exitButton_ = QRect(left + kButtonW + gap, buttonsTop, kButtonW, kButtonH);
  // Blown up with the table, so it reads at the table's size.
  scale_ = WindowScale();
  own_ = QSize(width, buttonsTop + kButtonH + kMargin);
  setFixedSize(static_cast<int>(std::lround(own_.width() * scale_)),
               static_cast<int>(std::lround(own_.height() * scale_)));
}

int Historic::EntryCount() const {
  return static_cast<int>(showingTotals_ ? totals_.size() : newestFirst_.size());
}

std::vector<PageLine> Historic::PageLines() const {
  return showingTotals_ ? ListaTotales(totals_, first_) : MatchesPage(newestFirst_, first_);
}

Corner Historic::UsableCornerAt(QPoint at) const {
  const Corner corner = CornerAt(at.x() - folder_.x(), at.y() - folder_.y());
  return CornerUsable(corner, first_, EntryCount()) ? corner : Corner::None;
}

void Historic::Turn(Corner corner) {
  TocaSonido(state_, Sound::kFolderOpens);
  Espera(state_, 50);
  first_ = TurnPage(corner, first_);
  update();
}

void Historic::ToggleTotals() {
  TocaSonido(state_, Sound::kButton);
  if (showingTotals_) {
    showingTotals_ = false;
    first_ = matchesFirst_;
  } else {
    // Computed afresh at each press, as the history stands.
    totals_ = ComputeTotals(fileOrder_);
    matchesFirst_ = first_;
    showingTotals_ = true;
    first_ = 0;
  }
  update();
}

QImage Historic::DrawFolder(double scale) const {
  const int w = kFolderWidth, h = kFolderHeight;
  QImage image(static_cast<int>(std::lround(w * scale)), static_cast<int>(std::lround(h * scale)),
               QImage::Format_ARGB32);
  image.setDevicePixelRatio(scale);
  image.fill(kDialogPanel);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // The card of the folder, and the page on it.
  p.setPen(QPen(kCardEdge, 1));
  p.setBrush(kCard);
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 5, 5);
  p.setPen(QPen(QColor(0xA8, 0xA0, 0x88), 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 3.5, w - 9, h - 8));
  // Ruling between the rows of matches, or under the totals' header; and the
  // margin.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(kRuling, 1));
  if (showingTotals_) {
    p.drawLine(6, kTotalsRule, w - 7, kTotalsRule);
  } else {
    for (int i = 0; i <= kHistoryPageSize; ++i) {
      const int y = kMatchRowsTop - 2 + i * kMatchRowsStep;
      p.drawLine(6, y, w - 7, y);
    }
  }
  p.setPen(QPen(kMarginLine, 1));
  p.drawLine(16, 4, 16, h - 6);
  // The punched holes of the binder along the margin.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x8C, 0x84, 0x70), 1));
  p.setBrush(kCard);
  for (int i = 1; i <= 3; ++i) p.drawEllipse(QPointF(10, h * i / 4.0), 3, 3);
  for (Corner corner : {Corner::Previous, Corner::Next}) {
    if (CornerUsable(corner, first_, EntryCount())) DrawTurnedCorner(p, corner);
  }
  p.end();

  QPainter text(&image);
  text.setRenderHint(QPainter::TextAntialiasing);
  // No column runs into the one before it on its row, whatever the font: a
  // wide date moves the names after it along, two spaces clear of it.
  std::map<int, int> rowEnd;
  for (const PageLine& line : PageLines()) {
    const QFont font = FontOf(line.Style);
    const QString s = QString::fromStdString(line.Text);
    const QFontMetrics metrics(font);
    int x = line.X;
    if (line.Align == TextAlign::Centre) x -= metrics.horizontalAdvance(s) / 2;
    if (line.Align == TextAlign::Right) x -= metrics.horizontalAdvance(s);
    if (const auto before = rowEnd.find(line.Y); before != rowEnd.end()) {
      x = std::max(x, before->second + 2 * metrics.horizontalAdvance(QLatin1Char(' ')));
    }
    if (!s.trimmed().isEmpty()) rowEnd[line.Y] = x + metrics.horizontalAdvance(s);
    text.setFont(font);
    text.setPen(ColourOf(line.Style));
    text.drawText(x, line.Y + metrics.ascent(), s);
  }
  return image;
}

void Historic::paintEvent(QPaintEvent*) {
  // Drawn in the window's own pixels on a picture at the screen's pixels.
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  {
    QPainter p(&image);
    DrawDialogPanel(p, own_, title_);
    p.drawImage(folder_.topLeft(), DrawFolder(image.devicePixelRatio()));
  }
  DrawText(image, kMargin, 6, windowTitle(), kTextPx, true, Qt::white);
  DrawDialogButton(image, totalsButton_,
                   QString::fromUtf8(showingTotals_ ? kMatchesLabel : kTotalsLabel));
  DrawDialogButton(image, exitButton_, QString::fromUtf8(kExitLabel));
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void Historic::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = (event->position() / scale_).toPoint();
  if (exitButton_.contains(at)) {
    TocaSonido(state_, Sound::kButton);
    accept();
  } else if (totalsButton_.contains(at)) {
    ToggleTotals();
  } else if (const Corner corner = UsableCornerAt(at); corner != Corner::None) {
    Turn(corner);
  }
}

void Historic::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = (event->position() / scale_).toPoint();
  // The totals button answers an empty history too, with a page that says so.
  if (exitButton_.contains(at) || totalsButton_.contains(at) ||
      UsableCornerAt(at) != Corner::None) {
    setCursor(CursorOfKind(1));
  } else {
    unsetCursor();
  }
}

void Historic::keyPressEvent(QKeyEvent* event) {
  // The keyboard turns the pages too, as the corners would.
  Corner corner = Corner::None;
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      corner = Corner::Next;
      break;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
      corner = Corner::Previous;
      break;
    default:
      QDialog::keyPressEvent(event);
      return;
  }
  if (CornerUsable(corner, first_, EntryCount())) Turn(corner);
}

void OpenHistoryViewer(GameState& state, const std::filesystem::path& dataFolder, QWidget* parent) {
  Historic viewer(state, ReadAllHistory(dataFolder), parent);
  // Centred on the window it opens from (the score report, itself centred on
  // the table).
  ExecCentred(viewer, parent);
}

}  // namespace tarvelis
