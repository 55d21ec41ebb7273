#include "table/presence_line.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QStringList>
#include <QToolButton>
#include <algorithm>

#include "model/texts.h"
#include "table/table_painter.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

// Table pixels: the gap above the continue button, the letters' size.
constexpr int kGap = 6;
constexpr int kLetterPixels = 13;

}  // namespace

PresenceLine::PresenceLine(Mesa& mesa)
    : mesa_(mesa),
      label_(new QLabel(&mesa)),
      back_(new QToolButton(&mesa)),
      forward_(new QToolButton(&mesa)) {
  label_->setObjectName(QStringLiteral("Lbl_Presencia"));
  label_->setStyleSheet(QStringLiteral(
      "QLabel { color: white; background: rgba(0, 0, 0, 160); border-radius: 4px; padding: 3px "
      "8px; }"));
  // The table's clicks go through the line to the table.
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->hide();
  // The steps look as the line they go with, and leave the keyboard to the table.
  back_->setObjectName(QStringLiteral("Cmd_ManoAnterior"));
  forward_->setObjectName(QStringLiteral("Cmd_ManoSiguiente"));
  back_->setText(QString::fromUtf8(kKeptBackMark));
  forward_->setText(QString::fromUtf8(kKeptForwardMark));
  back_->setToolTip(QString::fromUtf8(kKeptBackHint));
  forward_->setToolTip(QString::fromUtf8(kKeptForwardHint));
  for (QToolButton* b : {back_, forward_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; background: rgba(0, 0, 0, 160); border-radius: 4px; }"
        "QToolButton:hover { background: rgba(0, 0, 0, 200); }"
        "QToolButton:disabled { color: rgba(255, 255, 255, 70); }"));
    b->hide();
  }
  // The step may set the steps again: it runs from a copy.
  const auto clicked = [this](int by) {
    if (const auto step = step_) step(by);
  };
  connect(back_, &QToolButton::clicked, this, [clicked] { clicked(-1); });
  connect(forward_, &QToolButton::clicked, this, [clicked] { clicked(1); });
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
  delete forward_;
  delete back_;
  delete label_;
}

void PresenceLine::SetSteps(bool back, bool forward, std::function<void(int)> step) {
  step_ = std::move(step);
  back_->setEnabled(back);
  forward_->setEnabled(forward);
  Schedule();
}

void PresenceLine::ClearSteps() {
  step_ = nullptr;
  Schedule();
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
    back_->hide();
    forward_->hide();
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
  if (!step_) {
    back_->hide();
    forward_->hide();
    return;
  }
  // Square, a row high, over the line's right end: clear of the bottom hand
  // and of the move list, which a wide line may reach at the left.
  const int side = label_->fontMetrics().height() + 6;
  const int stepY = std::max(0, y - gap / 2 - side);
  const int stepX = std::max(0, button.right() - 2 * side - gap / 2);
  for (QToolButton* b : {back_, forward_}) {
    if (b->font().pixelSize() != pixels) {
      QFont font = b->font();
      font.setPixelSize(pixels);
      b->setFont(font);
    }
  }
  back_->setGeometry(stepX, stepY, side, side);
  forward_->setGeometry(stepX + side + gap / 2, stepY, side, side);
  back_->show();
  forward_->show();
  back_->raise();
  forward_->raise();
}

}  // namespace tarvelis
