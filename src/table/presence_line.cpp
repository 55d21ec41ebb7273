#include "table/presence_line.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QStringList>
#include <algorithm>

#include "table/table_painter.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

// Table pixels: the gap above the continue button, the letters' size.
constexpr int kGap = 6;
constexpr int kLetterPixels = 13;

}  // namespace

PresenceLine::PresenceLine(Mesa& mesa) : mesa_(mesa), label_(new QLabel(&mesa)) {
  label_->setObjectName(QStringLiteral("Lbl_Presencia"));
  label_->setStyleSheet(QStringLiteral(
      "QLabel { color: white; background: rgba(0, 0, 0, 160); border-radius: 4px; padding: 3px "
      "8px; }"));
  // The table's clicks go through the line to the table.
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->hide();
  expiry_.setSingleShot(true);
  connect(&expiry_, &QTimer::timeout, this, [this] { Refresh(); });
  refresh_.setSingleShot(true);
  refresh_.setInterval(0);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  clock_.start();
  mesa_.installEventFilter(this);
}

PresenceLine::~PresenceLine() {
  mesa_.removeEventFilter(this);
  delete label_;
}

void PresenceLine::Set(int subject, const QString& text, int ms) {
  lines_[subject] = Line{text, ms > 0 ? clock_.elapsed() + ms : 0};
  Schedule();
}

void PresenceLine::Clear(int subject) {
  if (lines_.erase(subject) > 0) Schedule();
}

void PresenceLine::Schedule() {
  if (!refresh_.isActive()) refresh_.start();
}

QString PresenceLine::Text() const {
  QStringList shown;
  for (const auto& [subject, line] : lines_) shown.push_back(line.Text);
  return shown.join(QLatin1Char('\n'));
}

bool PresenceLine::eventFilter(QObject* watched, QEvent* event) {
  // The table changed size or scale: the line follows the continue button.
  if (watched == &mesa_ && event->type() == QEvent::Resize) Schedule();
  return false;
}

void PresenceLine::Refresh() {
  const qint64 now = clock_.elapsed();
  qint64 next = 0;
  for (auto it = lines_.begin(); it != lines_.end();) {
    if (it->second.Until != 0 && it->second.Until <= now) {
      it = lines_.erase(it);
      continue;
    }
    if (it->second.Until != 0)
      next = next == 0 ? it->second.Until : std::min(next, it->second.Until);
    ++it;
  }
  if (next != 0) {
    expiry_.start(static_cast<int>(next - now));
  } else {
    expiry_.stop();
  }
  const QString text = Text();
  if (text.isEmpty()) {
    label_->hide();
    return;
  }
  const double factor = mesa_.View().Factor;
  const int pixels = std::max(8, static_cast<int>(kLetterPixels * factor));
  if (pixels != letterPixels_) {
    // A styled label's font is costly to change: only when the scale does.
    letterPixels_ = pixels;
    QFont font = label_->font();
    font.setPixelSize(pixels);
    label_->setFont(font);
  }
  if (label_->text() != text) label_->setText(text);
  label_->adjustSize();
  // Right-aligned with the continue button, just above it.
  const QRect button = mesa_.ToWindowRect(mesa_.Painter().ContinueButtonRect());
  const int gap = static_cast<int>(kGap * factor);
  const int x = std::max(0, button.right() - label_->width());
  const int y = std::max(0, button.top() - gap - label_->height());
  label_->move(x, y);
  label_->show();
  label_->raise();
}

}  // namespace tarvelis
