#include "platform/waits.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleHints>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <utility>

#include "model/clock.h"
#include "model/game_state.h"
#include "platform/sound.h"

namespace tarvelis {

void SleepRepainting(double seconds) {
  if (seconds <= 0) return;
  const AnimationSpan span;
  const auto end = MonoClock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto now = MonoClock::now();
    if (now >= end) break;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(end - now);
    QThread::usleep(static_cast<unsigned long>(std::min<long long>(left.count(), 5000)));
  }
}

void Espera(const GameState& state, int hundredths) {
  SleepRepainting(WaitSeconds(hundredths, state.GameSpeed));
}

void TocaSonido(const GameState& state, Sound sound) {
  if (state.RuleSound != kOn) return;
  TheSoundPlayer().Play(static_cast<int>(sound));
  // The sound starts and the table repaints, but clicks wait for the turn
  // loop's next yield: a sound plays in the middle of a move, and leaving the
  // program there would save a move half made.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool IsUserPress(int eventType) {
  switch (static_cast<QEvent::Type>(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

namespace {

class PressEater : public QObject {
 public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!IsUserPress(event->type())) return false;
    CountPressDropped(receiver, event);
    return true;
  }
};

// Watches the mouse presses of the waits, for the second half of a double
// click: a press close in time (the window system's own stamps) and in place
// to the press that answered the previous wait.
class DoubleClickGate : public QObject {
 public:
  using QObject::QObject;

  struct Press {
    qint64 at = -1;
    QPoint where;
  };

  int depth = 0;    // waits in progress (a message may open inside one)
  Press last;       // the last press taken during the waits
  Press answering;  // the last press of the wait that ended last
  bool eatingRelease = false;

  bool SecondHalf(const Press& p) const {
    if (answering.at < 0) return false;
    const qint64 since = p.at - answering.at;
    return since >= 0 && since < QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
           (p.where - answering.where).manhattanLength() <= kDoubleClickSlack;
  }

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (depth == 0) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Press p{static_cast<qint64>(mouse->timestamp()), mouse->globalPosition().toPoint()};
        if (SecondHalf(p)) {
          CountPressDropped(receiver, event);
          eatingRelease = true;
          return true;
        }
        last = p;
        return false;
      }
      case QEvent::MouseButtonRelease:
        // A press thrown away takes its release with it.
        if (!std::exchange(eatingRelease, false)) return false;
        CountPressDropped(receiver, event);
        return true;
      default:
        return false;
    }
  }

 private:
  static constexpr int kDoubleClickSlack = 8;  // pixels
};

DoubleClickGate* TheGate() {
  static QPointer<DoubleClickGate> gate;
  if (gate.isNull() && QCoreApplication::instance() != nullptr) {
    gate = new DoubleClickGate(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(gate);
  }
  return gate.data();
}

}  // namespace

void DropStaleInput() {
  if (QCoreApplication::instance() == nullptr) return;
  PressEater eater;
  QCoreApplication::instance()->installEventFilter(&eater);
  // A round trip to the window system first, so that a click already made
  // but not yet read is among what is thrown away. Each pass delivers what
  // the window system queued; the second catches what the first one read.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    QGuiApplication::sync();
  for (int pass = 0; pass < 2; ++pass) QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::instance()->removeEventFilter(&eater);
}

UserWait::UserWait() {
  DropStaleInput();
  if (DoubleClickGate* gate = TheGate()) {
    if (gate->depth++ == 0) {
      gate->last = {};
      gate->eatingRelease = false;
    }
  }
}

UserWait::~UserWait() {
  DoubleClickGate* gate = TheGate();
  if (gate == nullptr || gate->depth == 0) return;
  if (--gate->depth == 0 && gate->last.at >= 0) gate->answering = gate->last;
}

}  // namespace tarvelis
