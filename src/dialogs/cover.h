// careta: the cover shown at start-up before the table. The title pictures
// scroll up through it three times and it closes by itself, or at once on a
// key or a click.
#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

#include "layout/cover_scroll.h"

namespace tarvelis {

class Careta : public QDialog {
 public:
  explicit Careta(QWidget* parent = nullptr);

  // The scroll as it stands, for the tests.
  const CoverScroll& Scroll() const { return scroll_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void NextFrame();
  void Stop();

  QImage strip_;
  double scale_ = 1.0;
  CoverScroll scroll_;
  QTimer frames_;
};

// Shows the cover modally, centred on the primary screen, until it is done.
void ShowCover();

}  // namespace tarvelis
