#include "platform/test_report.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMap>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace tarvelis {
namespace {

const QByteArray& TestStatusPath() {
  static const QByteArray path = qgetenv("TARVELIS_TEST_STATUS");
  return path;
}

// Written to a file beside and renamed over the old one, so a script's read
// never meets an empty or half-written file.
void ReplaceFile(const QString& path, const QByteArray& content) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(content);
  file.commit();
}

// Releases are not counted: one that comes while a press's handler runs a
// paced wait may stay in Qt's queue until the next event from the X server.
bool IsCountedPress(const QObject* receiver, const QEvent* event) {
  // Every press reaches its window first, then its widgets: counted once, at
  // the window.
  if (qobject_cast<const QWindow*>(receiver) == nullptr) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
      return true;
    default:
      return false;
  }
}

struct OpenReport {
  std::function<QStringList()> probe;
  long long presses = 0;  // taken in, the one in hand included
  // Told only once the game rests: a press whose handler runs a paced wait
  // (a selector turning, a tile travelling) is not done with before it ends.
  long long pressesDone = 0;
  int animations = 0;   // paced waits in progress
  bool rested = false;  // since its last status line and its last press
  QByteArray written;   // what the open file holds

  QByteArray Content() const {
    QStringList lines;
    QMap<QString, bool> parts;  // widgets that name themselves: shown or not
    for (QWidget* w : QApplication::topLevelWidgets()) {
      const QWindow* handle = w->windowHandle();
      if (w->isVisible() && handle != nullptr && handle->isExposed() && !w->windowTitle().isEmpty())
        lines << QStringLiteral("window ") + w->windowTitle();
      for (const QWidget* part : w->findChildren<QWidget*>()) {
        const QString name = part->property("openReport").toString();
        if (!name.isEmpty()) parts[name] = parts.value(name) || part->isVisible();
      }
    }
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
      lines << QStringLiteral("%1 %2").arg(it.key()).arg(it.value() ? 1 : 0);
    lines << QStringLiteral("animation %1").arg(animations > 0 ? 1 : 0);
    lines << QStringLiteral("presses %1").arg(pressesDone);
    lines << QStringLiteral("rested %1").arg(rested ? 1 : 0);
    if (probe) lines << probe();
    return (lines.join('\n') + '\n').toUtf8();
  }

  void TakePress() {
    ++presses;
    rested = false;
  }

  void Refresh() {
    QByteArray now = Content();
    if (now == written) return;
    written = std::move(now);
    ReplaceFile(QString::fromLocal8Bit(TestStatusPath()) + QStringLiteral(".open"), written);
  }
};

OpenReport& TheOpenReport() {
  static OpenReport report;
  return report;
}

class PressCounter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (IsCountedPress(receiver, event)) TheOpenReport().TakePress();
    return false;
  }
};

void ReportOnEveryRest() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return;
  QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
    // Nothing is left to do: every handler has returned and every repaint
    // asked for is drawn.
    OpenReport& report = TheOpenReport();
    report.pressesDone = report.presses;
    report.rested = true;
    report.Refresh();
  });
}

void StartOpenReport() {
  if (!TestStatusWanted()) return;
  QCoreApplication* app = QCoreApplication::instance();
  app->installEventFilter(new PressCounter(app));
  // The event loop's dispatcher may come only once the application is
  // running.
  if (QAbstractEventDispatcher::instance() != nullptr) {
    ReportOnEveryRest();
  } else {
    QTimer::singleShot(0, app, ReportOnEveryRest);
  }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartOpenReport)

bool TestStatusWanted() {
  return !TestStatusPath().isEmpty();
}

void ReportTestStatus(const QString& line) {
  if (!TestStatusWanted()) return;
  TheOpenReport().rested = false;
  TheOpenReport().Refresh();
  ReplaceFile(QString::fromLocal8Bit(TestStatusPath()), (line + '\n').toUtf8());
}

void SetOpenProbe(std::function<QStringList()> probe) {
  TheOpenReport().probe = std::move(probe);
}

void CountPressDropped(const QObject* receiver, const QEvent* event) {
  if (TestStatusWanted() && IsCountedPress(receiver, event)) TheOpenReport().TakePress();
}

AnimationSpan::AnimationSpan() {
  if (!TestStatusWanted()) return;
  // Told as it starts; its end is told when the game next rests.
  if (TheOpenReport().animations++ == 0) TheOpenReport().Refresh();
}

AnimationSpan::~AnimationSpan() {
  if (TestStatusWanted()) --TheOpenReport().animations;
}

}  // namespace tarvelis
