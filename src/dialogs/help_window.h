// The game's manual: Spanish pages kept in the resources and shown in a window
// of the game, with its contents and links, opened at its first topic. The
// window belongs to the table, so it closes when the program ends.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace tarvelis {

// The page every opening starts from.
inline constexpr char kHelpHome[] = "qrc:/help/index.html";

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* owner);

  QTextBrowser* Browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_ = nullptr;
};

// Shows the manual over `owner` (the table): opens it at its first topic, or
// brings an open one to the front where the reader left it. Returns it.
HelpWindow* ShowHelp(QWidget* owner);

}  // namespace tarvelis
