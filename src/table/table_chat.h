// The chat of a networked table, for its seats and watchers: the last lines
// said, each with its speaker's name, and a line to write (Enter says it to
// the table). It lives in the band that neither a hand nor the chain takes
// (layout/chat_layout), folds to one row on a small table, and a button or
// F3 hides it and shows it again. Every line is a stranger's text: shown as
// plain text, never as markup, cut to the room the table has.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>

#include "layout/chat_layout.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace tarvelis {

class Mesa;

class TableChat : public QObject {
 public:
  // The key that hides and shows the chat.
  static constexpr int kToggleKey = Qt::Key_F3;
  // Lines kept for showing; older ones go.
  static constexpr std::size_t kKeptLines = 50;

  // `table` is the state's table, laid out as the window shows it.
  TableChat(Mesa& mesa, const TableGeometry& table, bool hidden);
  ~TableChat() override;
  TableChat(const TableChat&) = delete;
  TableChat& operator=(const TableChat&) = delete;

  // A line said at the table, already cleaned by the mirror.
  void Add(const std::string& speaker, const std::string& text);
  void SetHidden(bool hidden);
  bool Hidden() const { return hidden_; }
  void Toggle() { SetHidden(!hidden_); }

  // The lines on show now, top to bottom, as drawn (cut to their room).
  QStringList ShownLines() const;
  // The chat's parts in table pixels, as last placed.
  const ChatPlace& Place() const { return place_; }

  // Enter in the line to write: the cleaned text to say (never empty).
  std::function<void(const std::string& text)> onSay;
  // The button or the key hid or showed the chat.
  std::function<void(bool hidden)> onHiddenChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Schedule();
  void Refresh();
  void Say();

  Mesa& mesa_;
  const TableGeometry& table_;
  QWidget* list_ = nullptr;  // the move list, a child of the table
  QLabel* lines_;
  QLineEdit* input_;
  QToolButton* toggle_;
  std::deque<QString> said_;
  bool hidden_;
  bool scheduled_ = false;
  ChatPlace place_;
};

}  // namespace tarvelis
