#include "table/options_menu.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "model/texts.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

constexpr int kWidth = 190;
constexpr int kRow = 18;

}  // namespace

OptionsMenu::OptionsMenu(const TableModes& modes, QWidget* table) : QWidget(table), modes_(modes) {
  setObjectName(QStringLiteral("Pic_SelOpciones"));
  // Shown as "menu 0|1" to the end-to-end scripts (platform/test_report).
  setProperty("openReport", QStringLiteral("menu"));
  setMouseTracking(true);
  hide();
}

bool OptionsMenu::Open(const OptionFlags& enabled, QPoint at) {
  entries_.clear();
  for (int e = 0; e < kOptionEntries; ++e) {
    if (enabled[e]) entries_.push_back(static_cast<OptionEntry>(e));
  }
  if (entries_.empty()) {
    hide();
    return false;
  }
  highlighted_ = 0;
  // Blown up with the table, so it reads at the table's size.
  scale_ = WindowScale();
  ownHeight_ = kRow * static_cast<int>(entries_.size()) + 6;
  resize(static_cast<int>(std::lround(kWidth * scale_)),
         static_cast<int>(std::lround(ownHeight_ * scale_)));
  // Shifted left or up where it would leave the table.
  const QWidget* table = parentWidget();
  at.setX(std::min(at.x(), table->width() - width()));
  at.setY(std::min(at.y(), table->height() - height()));
  move(std::max(at.x(), 0), std::max(at.y(), 0));
  show();
  raise();
  update();
  return true;
}

int OptionsMenu::EntryAt(int y) const {
  const int k = (static_cast<int>(y / scale_) + 16) / kRow;
  return k >= 1 && k <= static_cast<int>(entries_.size()) ? k : 0;
}

void OptionsMenu::paintEvent(QPaintEvent*) {
  // Drawn in the menu's own pixels on a picture at the screen's pixels.
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  image.fill(QColor(0xF6, 0xF2, 0xE6));
  for (int k = 0; k < static_cast<int>(entries_.size()); ++k) {
    const OptionEntry e = entries_[k];
    const bool lit = highlighted_ == k + 1;
    if (lit) {
      QPainter(&image).fillRect(QRect(QPoint(2, kRow * k + 2), QPoint(kWidth - 3, kRow * k + 19)),
                                QColor(0x1F, 0x4F, 0xB0));
    }
    const bool checked = (e == kOrderTiles && modes_.OrderMode) ||
                         (e == kTurnTiles && modes_.TurnMode) || (isTicked && isTicked(e));
    const QColor ink = lit ? QColor(Qt::white) : QColor(Qt::black);
    // The entries start a space after the check mark, whatever its font.
    const QString mark = QString::fromUtf8(kTickMark);
    const int textX = 5 + TextWidth(mark, kSmallTextPx, true) + 4;
    if (checked) DrawText(image, 5, kRow * k + 4, mark, kSmallTextPx, true, ink);
    DrawText(image, textX, kRow * k + 4, QString::fromUtf8(kOptionTexts[e]), kSmallTextPx, false,
             ink);
  }
  QPainter painter(&image);
  painter.setPen(QColor(0x1F, 0x4D, 0x2E));
  painter.drawRect(0, 0, kWidth - 1, ownHeight_ - 1);
  painter.end();
  QPainter(this).drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void OptionsMenu::HighlightAt(QPoint local) {
  const int k = rect().contains(local) ? EntryAt(local.y()) : 0;
  if (k != highlighted_) {
    highlighted_ = k;
    update();
  }
}

bool OptionsMenu::ChooseAt(QPoint local) {
  const int k = rect().contains(local) ? EntryAt(local.y()) : 0;
  hide();
  if (k == 0) return false;
  if (onChosen) onChosen(entries_[k - 1]);
  return true;
}

void OptionsMenu::mousePressEvent(QMouseEvent* event) {
  // Taken here, so the press never reaches the table below: the entry is
  // carried out when the button comes up.
  event->accept();
  HighlightAt(event->position().toPoint());
}

void OptionsMenu::mouseMoveEvent(QMouseEvent* event) {
  HighlightAt(event->position().toPoint());
}

void OptionsMenu::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  ChooseAt(event->position().toPoint());
}

}  // namespace tarvelis
