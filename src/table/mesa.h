// Mesa: the table window. It covers the screen, keeps the table's picture in an
// image (drawn only by raster copies from the picture strips and by text at
// pixel positions), and turns mouse and keys into requests to the program.
// It decides nothing about the game: it draws the state it is given.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "engine/game_state.h"

namespace tarvelis {

class Mesa : public QWidget {
 public:
  explicit Mesa(GameState& state, QWidget* parent = nullptr);

  // Lays the table out for the geometry in state.Table: builds the background
  // copy (Pic_Marmol) by repeating the marble from the top left corner and
  // redraws everything.
  void LayOut();

  // Redraws the six buttons of the bar.
  void DrawButtons();

  // The rectangle of bar button n (1..6) on this table.
  QRect ButtonRect(int n) const;

  const QImage& Surface() const { return surface_; }
  const QImage& Marmol() const { return marmol_; }

  // What the buttons ask of the program; set by the program.
  std::function<void(int button)> onButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void RestoreFromMarmol(const QRect& area);

  GameState& state_;
  QImage marmol_;
  QImage surface_;
  QImage buttons_;  // Pic_BmpVario
};

}  // namespace tarvelis
