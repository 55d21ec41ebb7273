#include "dialogs/help_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <cmath>

#include "model/texts.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

QPointer<HelpWindow>& OpenHelp() {
  static QPointer<HelpWindow> open;
  return open;
}

int Scaled(int v, double factor) {
  return static_cast<int>(std::lround(v * factor));
}

QPushButton* ToolButton(const QString& text, QWidget* parent, double factor) {
  auto* button = new QPushButton(text, parent);
  button->setFont(GameFont(Scaled(kTextPx, factor), false));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// The manual's pages size their letters and spaces in pixels in their style
// sheet; blown up with the table, each size is multiplied as the sheet is
// read, so the pages are laid out again as text at the final size.
class HelpBrowser : public QTextBrowser {
 public:
  HelpBrowser(QWidget* parent, double factor) : QTextBrowser(parent), factor_(factor) {}

  QVariant loadResource(int type, const QUrl& name) override {
    QVariant resource = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::StyleSheetResource || factor_ == 1.0) return resource;
    QString sheet = resource.typeId() == QMetaType::QByteArray
                        ? QString::fromUtf8(resource.toByteArray())
                        : resource.toString();
    static const QRegularExpression pixels(QStringLiteral("(\\d+)px"));
    QString scaled;
    qsizetype from = 0;
    for (auto it = pixels.globalMatch(sheet); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      scaled += sheet.mid(from, m.capturedStart() - from);
      scaled += QStringLiteral("%1px").arg(Scaled(m.captured(1).toInt(), factor_));
      from = m.capturedEnd();
    }
    scaled += sheet.mid(from);
    return scaled;
  }

 private:
  double factor_;
};

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QString::fromUtf8(kHelpWindowTitle));
  setAttribute(Qt::WA_DeleteOnClose);
  // Blown up with the table, like every window over it.
  const double f = WindowScale();

  browser_ = new HelpBrowser(this, f);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({QStringLiteral(":/help")});
  browser_->setFont(GameFont(Scaled(13, f), false));

  QPushButton* home = ToolButton(QString::fromUtf8(kHelpContents), this, f);
  QPushButton* back = ToolButton(QString::fromUtf8(kHelpBack), this, f);
  QPushButton* forward = ToolButton(QString::fromUtf8(kHelpForward), this, f);
  QPushButton* close = ToolButton(QString::fromUtf8(kHelpClose), this, f);
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
  const int margin = Scaled(6, f);
  column->setContentsMargins(margin, margin, margin, margin);
  column->addLayout(bar);
  column->addWidget(browser_, 1);

  browser_->setSource(QUrl(QString::fromLatin1(kHelpHome)));

  // Most of the screen, never more: the manual is read beside the table,
  // centred on it.
  QSize size(Scaled(720, f), Scaled(560, f));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(area.size() - QSize(40, 40));
    resize(size);
    const QRect over = owner != nullptr ? owner->geometry() : area;
    move(over.center() - QPoint(width() / 2, height() / 2));
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
