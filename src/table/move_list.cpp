#include "table/move_list.h"

#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

namespace tarvelis {
namespace {

int LetterPx(int width) {
  return width >= 170 ? 11 : 10;
}

}  // namespace

MoveList::MoveList(QWidget* table) : QListWidget(table) {
  setObjectName(QStringLiteral("Lis_Grabadora"));
  // The list never takes the keyboard: keys belong to the table.
  setFocusPolicy(Qt::NoFocus);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setUniformItemSizes(true);
  setTextElideMode(Qt::ElideNone);
  // Even-width letters keep the names and tiles of every line in columns.
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(11);
  setFont(font);
  setStyleSheet(
      QStringLiteral("QListWidget { background: #F2E8C8; color: #1E2A20; border: 2px solid #1F4D2E;"
                     " padding: 1px; }"
                     "QListWidget::item { padding: 0px 2px; }"
                     "QListWidget::item:selected { background: #2A6B3F; color: white; }"));
  hide();
}

void MoveList::SetLines(const std::vector<std::string>& lines, int selected) {
  const int n = static_cast<int>(lines.size());
  while (count() > n) delete takeItem(count() - 1);
  for (int i = 0; i < n; ++i) {
    const QString text = QString::fromStdString(lines[static_cast<size_t>(i)]);
    if (i < count()) {
      if (item(i)->text() != text) item(i)->setText(text);
    } else {
      addItem(text);
    }
  }
  selected_ = selected >= 0 && selected < n ? selected : -1;
  PutSelectionBack();
}

void MoveList::SetMarks(const std::vector<bool>& marked, const std::vector<std::string>& hints) {
  static const QBrush kLossInk(QColor(0x9A, 0x1B, 0x1B));
  for (int i = 0; i < count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    const bool mark = k < marked.size() && marked[k];
    QListWidgetItem* it = item(i);
    if (it->data(Qt::UserRole).toBool() != mark) {
      it->setData(Qt::UserRole, mark);
      it->setForeground(mark ? kLossInk : QBrush());
    }
    const QString hint = k < hints.size() ? QString::fromStdString(hints[k]) : QString();
    if (it->toolTip() != hint) it->setToolTip(hint);
  }
}

int MoveList::MarkedLines() const {
  int n = 0;
  for (int i = 0; i < count(); ++i) n += item(i)->data(Qt::UserRole).toBool() ? 1 : 0;
  return n;
}

int MoveList::ColumnsFor(int width) const {
  QFont f = font();
  f.setPixelSize(LetterPx(width));
  // The frame, the list's padding and the item's, each on both sides.
  const int inner = width - 2 * (2 + 1 + 2) - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return inner / std::max(1, QFontMetrics(f).horizontalAdvance(QLatin1Char('0')));
}

int MoveList::FirstMarkedLine() const {
  for (int i = 0; i < count(); ++i) {
    if (item(i)->data(Qt::UserRole).toBool()) return i;
  }
  return -1;
}

void MoveList::PutSelectionBack() {
  if (selected_ < 0) {
    clearSelection();
    setCurrentRow(-1);
    return;
  }
  setCurrentRow(selected_);
  scrollToItem(item(selected_), QAbstractItemView::EnsureVisible);
}

void MoveList::SetTall(bool tall) {
  if (tall == tall_) return;
  tall_ = tall;
  if (onTallChanged) onTallChanged(tall_);
  PutSelectionBack();
}

void MoveList::mousePressEvent(QMouseEvent* event) {
  // Looking is allowed, choosing is not: the selection stays where play is.
  event->accept();
  const int line = indexAt(event->position().toPoint()).row();
  PutSelectionBack();
  if (onLineClicked) onLineClicked(line);
}

void MoveList::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  PutSelectionBack();
}

void MoveList::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}

void MoveList::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  SetTall(!tall_);
}

void MoveList::resizeEvent(QResizeEvent* event) {
  // A narrow table's list takes smaller letters, so every line stays whole.
  QFont f = font();
  const int px = LetterPx(width());
  if (f.pixelSize() != px) {
    f.setPixelSize(px);
    setFont(f);
  }
  QListWidget::resizeEvent(event);
  if (selected_ >= 0) scrollToItem(item(selected_), QAbstractItemView::EnsureVisible);
}

}  // namespace tarvelis
