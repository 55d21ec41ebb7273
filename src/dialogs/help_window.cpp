#include "dialogs/help_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "model/texts.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

QPointer<HelpWindow>& OpenHelp() {
  static QPointer<HelpWindow> open;
  return open;
}

QPushButton* ToolButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setFont(GameFont(kTextPx, false));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QString::fromUtf8(kHelpWindowTitle));
  setAttribute(Qt::WA_DeleteOnClose);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({QStringLiteral(":/help")});
  browser_->setFont(GameFont(13, false));

  QPushButton* home = ToolButton(QString::fromUtf8(kHelpContents), this);
  QPushButton* back = ToolButton(QString::fromUtf8(kHelpBack), this);
  QPushButton* forward = ToolButton(QString::fromUtf8(kHelpForward), this);
  QPushButton* close = ToolButton(QString::fromUtf8(kHelpClose), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

  auto* bar = new QHBoxLayout;
  bar->addWidget(home);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addStretch(1);
  bar->addWidget(close);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);
  column->addLayout(bar);
  column->addWidget(browser_, 1);

  browser_->setSource(QUrl(QString::fromLatin1(kHelpHome)));

  // Most of the screen, never more: the manual is read beside the table.
  QSize size(720, 560);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(area.size() - QSize(40, 40));
    resize(size);
    move(area.center() - QPoint(width() / 2, height() / 2));
  } else {
    resize(size);
  }
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

HelpWindow* ShowHelp(QWidget* owner) {
  QPointer<HelpWindow>& open = OpenHelp();
  if (!open) open = new HelpWindow(owner);
  open->show();
  open->raise();
  open->activateWindow();
  return open;
}

}  // namespace tarvelis
