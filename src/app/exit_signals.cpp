#include "app/exit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <utility>

namespace tarvelis {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe of the one ExitSignals there is: [0] read by the event loop,
// [1] written by the handler.
int thePipe[2] = {-1, -1};

void Handler(int signal) {
  const int saved = errno;
  const char number = static_cast<char>(signal);
  // A full pipe already holds a signal for the loop; this one adds nothing.
  [[maybe_unused]] const ssize_t n = ::write(thePipe[1], &number, 1);
  errno = saved;
}

}  // namespace

ExitSignals::ExitSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (thePipe[0] >= 0 || ::pipe2(thePipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(thePipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
  struct sigaction action {};
  action.sa_handler = Handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

ExitSignals::~ExitSignals() {
  if (notifier_ == nullptr) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  ::close(thePipe[0]);
  ::close(thePipe[1]);
  thePipe[0] = thePipe[1] = -1;
}

void ExitSignals::Read() {
  char numbers[16];
  ssize_t n;
  while ((n = ::read(thePipe[0], numbers, sizeof numbers)) > 0) {
    for (ssize_t i = 0; i < n; ++i) onSignal_(numbers[i]);
  }
}

}  // namespace tarvelis
