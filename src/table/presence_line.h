// A short line over the table, beside the continue button, for what happens
// at a server's table without asking anything of the player: the connection
// lost and being taken up again, a friend who left or came back. It needs no
// click and never stops play. Each subject (a seat, or the connection) has
// one line, which a newer change replaces, so a friend dropping and coming
// back a hundred times is still one line.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>

class QLabel;
class QToolButton;

namespace tarvelis {

class Mesa;

class PresenceLine : public QObject {
 public:
  // The subject of the connection; seats are 1..4.
  static constexpr int kLink = 0;

  explicit PresenceLine(Mesa& mesa);
  ~PresenceLine() override;
  PresenceLine(const PresenceLine&) = delete;
  PresenceLine& operator=(const PresenceLine&) = delete;

  // The line of `subject` says `text`: for `ms` milliseconds, or until it is
  // replaced or cleared when `ms` is 0.
  void Set(int subject, const QString& text, int ms = 0);
  void Clear(int subject);
  // What is shown, one subject a line; empty when nothing is.
  QString Text() const;

  // Two small buttons over the line's right end, back and forward through
  // what its last row names (the kept hands of a match that is over): `step` is
  // told -1 or 1. Each takes clicks only while there is somewhere to go.
  void SetSteps(bool back, bool forward, std::function<void(int)> step);
  void ClearSteps();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Line {
    QString Text;
    qint64 Until = 0;  // on the clock; 0 for no end
  };
  // Changes are shown together once the table's events run: a flood of
  // them costs one drawing.
  void Schedule();
  void Refresh();

  Mesa& mesa_;
  QLabel* label_;  // a child of the table, which deletes it last
  QToolButton* back_;
  QToolButton* forward_;
  std::function<void(int)> step_;
  std::map<int, Line> lines_;
  QTimer expiry_;
  QTimer refresh_;
  int letterPixels_ = 0;
  QElapsedTimer clock_;
};

}  // namespace tarvelis
