#include "table/table_chat.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "model/texts.h"
#include "net/remote_reading.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

constexpr int kLetterPixels = 11;

QRect ToQRect(const Rect& r) {
  return QRect(r.x, r.y, r.w, r.h);
}

}  // namespace

TableChat::TableChat(Mesa& mesa, const TableGeometry& table, bool hidden)
    : mesa_(mesa),
      table_(table),
      lines_(new QLabel(&mesa)),
      input_(new QLineEdit(&mesa)),
      toggle_(new QToolButton(&mesa)),
      hidden_(hidden) {
  lines_->setObjectName(QStringLiteral("Lbl_Charla"));
  input_->setObjectName(QStringLiteral("Txt_Charla"));
  toggle_->setObjectName(QStringLiteral("Cmd_Charla"));
  // A stranger's text is shown as it is, never read as markup.
  lines_->setTextFormat(Qt::PlainText);
  lines_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  lines_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lines_->setStyleSheet(
      QStringLiteral("QLabel { color: white; background: rgba(0, 0, 0, 120); border-radius: 3px; "
                     "padding: 0px 4px; }"));
  input_->setMaxLength(static_cast<int>(net::kChatTextBytes));
  input_->setPlaceholderText(QString::fromUtf8(kChatPlaceholder));
  input_->setStyleSheet(
      QStringLiteral("QLineEdit { color: white; background: rgba(0, 0, 0, 150); border: 1px solid "
                     "rgba(255, 255, 255, 90); border-radius: 3px; padding: 0px 3px; }"));
  toggle_->setToolTip(QString::fromUtf8(kChatToggleHint));
  toggle_->setFocusPolicy(Qt::NoFocus);
  toggle_->setStyleSheet(QStringLiteral(
      "QToolButton { color: white; background: rgba(0, 0, 0, 150); border-radius: 3px; }"));
  connect(toggle_, &QToolButton::clicked, this, [this] { Toggle(); });
  input_->installEventFilter(this);
  mesa_.installEventFilter(this);
  list_ = mesa_.findChild<QWidget*>(QStringLiteral("Lis_Grabadora"));
  if (list_ != nullptr) list_->installEventFilter(this);
  Schedule();
}

TableChat::~TableChat() {
  mesa_.removeEventFilter(this);
  if (list_ != nullptr) list_->removeEventFilter(this);
  delete lines_;
  delete input_;
  delete toggle_;
}

void TableChat::Add(const std::string& speaker, const std::string& text) {
  said_.push_back(QString::fromStdString(speaker) + QStringLiteral(": ") +
                  QString::fromStdString(text));
  while (said_.size() > kKeptLines) said_.pop_front();
  Schedule();
}

void TableChat::SetHidden(bool hidden) {
  if (hidden == hidden_) return;
  hidden_ = hidden;
  if (hidden_ && input_->hasFocus()) mesa_.setFocus();
  Schedule();
  if (onHiddenChanged) onHiddenChanged(hidden_);
}

void TableChat::Say() {
  const std::string text = net::CleanChatText(input_->text().toStdString());
  input_->clear();
  if (!text.empty() && onSay) onSay(text);
}

bool TableChat::eventFilter(QObject* watched, QEvent* event) {
  // The table changed size or scale, or the move list came, went or grew.
  const auto type = event->type();
  if (watched == &mesa_ || watched == list_) {
    if (type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide ||
        type == QEvent::Move) {
      Schedule();
    }
    return false;
  }
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    // The line's own keys never reach the table, where any key goes on.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      Say();
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      mesa_.setFocus();
      return true;
    }
    if (key->key() == kToggleKey) {
      Toggle();
      return true;
    }
  }
  return false;
}

void TableChat::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    Refresh();
  });
}

QStringList TableChat::ShownLines() const {
  if (!lines_->isVisible()) return {};
  return lines_->text().split(QLatin1Char('\n'));
}

void TableChat::Refresh() {
  // The move list, while it shows, keeps its place; the chat goes beside it.
  Rect listRect;
  if (list_ != nullptr && list_->isVisible()) {
    const QPoint a = mesa_.ToTablePoint(list_->geometry().topLeft());
    const QPoint b = mesa_.ToTablePoint(list_->geometry().bottomRight());
    listRect = Rect{a.x(), a.y(), b.x() - a.x() + 1, b.y() - a.y() + 1};
  }
  place_ = PlaceChat(table_, listRect.w > 0 ? &listRect : nullptr);
  const double factor = mesa_.View().Factor;
  QFont font = lines_->font();
  font.setPixelSize(std::max(7, static_cast<int>(kLetterPixels * factor)));
  lines_->setFont(font);
  input_->setFont(font);
  toggle_->setFont(font);
  toggle_->setText(QString::fromUtf8(hidden_ ? kChatShowMark : kChatHideMark));
  toggle_->setVisible(place_.Toggle.w > 0);
  toggle_->setGeometry(mesa_.ToWindowRect(ToQRect(place_.Toggle)));
  const bool show = !hidden_ && place_.Input.w > 0;
  input_->setVisible(show);
  lines_->setVisible(show && !said_.empty());
  if (!show) return;
  input_->setGeometry(mesa_.ToWindowRect(ToQRect(place_.Input)));
  const QRect area = mesa_.ToWindowRect(ToQRect(place_.Lines));
  // The newest lines that fit, each cut to the width with a mark.
  const QFontMetrics metrics(font);
  QStringList shown;
  const int count = std::min<int>(place_.LineCount, static_cast<int>(said_.size()));
  for (int i = static_cast<int>(said_.size()) - count; i < static_cast<int>(said_.size()); ++i) {
    shown.push_back(metrics.elidedText(said_[static_cast<std::size_t>(i)], Qt::ElideRight,
                                       std::max(0, area.width() - 10)));
  }
  lines_->setText(shown.join(QLatin1Char('\n')));
  const int height = std::min(area.height(), metrics.lineSpacing() * count + 4);
  lines_->setGeometry(area.x(), area.y() + area.height() - height, area.width(), height);
  lines_->raise();
  input_->raise();
  toggle_->raise();
}

}  // namespace tarvelis
