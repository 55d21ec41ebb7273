// The hidden picture strips of the table, loaded once from the resources.
#pragma once

#include <QImage>

#include "layout/hand_layout.h"

namespace tarvelis {

struct Strips {
  QImage Dibujos;    // tile faces and masks
  QImage PunNeg;     // pips of the chain and the bottom seat
  QImage Puntitos;   // small faces and pips of the side seats
  QImage Dorsos;     // tile backs
  QImage BmpVario;   // the button bar
  QImage Piezas;     // continue button, pass sign, arrows, domino, leader panel, marker
  QImage Grabadora;  // the recorder panel
  QImage Manos;      // the thinking hands

  const QImage& Of(Strip strip) const;
};

const Strips& TheStrips();

}  // namespace tarvelis
