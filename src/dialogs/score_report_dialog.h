// Marcador: the score report of the match, hand by hand, with the totals.
// The report's lines come laid out from the core; this window paints them on
// its picture area (Pic_Informe) and offers the history of matches and exit.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <functional>

#include "engine/score_report.h"

namespace tarvelis {

class Marcador : public QDialog {
 public:
  explicit Marcador(GameState& state, QWidget* parent = nullptr);

  const ScoreReport& Report() const { return report_; }
  // Where things are, in the window's pixels, for the tests.
  QRect InformeRect() const { return informe_; }
  QRect HistoricRect() const { return historic_; }
  QRect SalirRect() const { return salir_; }

  // The report's picture as painted.
  QImage Picture() const;

  // The history button: opens the history of matches.
  std::function<void()> onHistoric;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PaintInforme(QImage& image) const;

  GameState& state_;
  ScoreReport report_;
  QRect informe_, historic_, salir_;
  double scale_ = 1.0;  // window pixels per pixel of the report's layout
  QSize own_;           // the window's size in the layout's pixels
};

// Opens the score report modally over `parent`; `onHistoric` serves its
// history button.
void ShowScoreReport(GameState& state, QWidget* parent, std::function<void()> onHistoric);

}  // namespace tarvelis
