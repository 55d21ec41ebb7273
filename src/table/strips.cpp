#include "table/strips.h"

#include "layout/artwork_layout.h"
#include "platform/raster.h"

namespace tarvelis {

const QImage& Strips::Of(Strip strip) const {
  switch (strip) {
    case Strip::Dibujos:
      return Dibujos;
    case Strip::PunNeg:
      return PunNeg;
    case Strip::Puntitos:
      return Puntitos;
    case Strip::Manos:
      return Manos;
  }
  return Dibujos;
}

const Strips& TheStrips() {
  static const Strips strips = [] {
    // Each strip with its sharper copy for large screens, when it is there:
    // the same picture drawn three pixels for each (resources/strips/x3/),
    // enough for a 4K screen at 200% (2.8 picture pixels per table pixel) to
    // be drawn down, never up.
    auto load = [](const char* path) { return LoadSharpStrip(QString::fromLatin1(path)); };
    Strips s;
    s.Dibujos = load(art::kDibujosPath);
    s.PunNeg = load(art::kPunNegPath);
    s.Puntitos = load(art::kPuntitosPath);
    s.Dorsos = load(art::kDorsosPath);
    s.BmpVario = load(art::kBmpVarioPath);
    s.Piezas = load(art::kPiezasPath);
    s.Grabadora = load(art::kGrabadoraPath);
    s.Manos = load(art::kManosPath);
    return s;
  }();
  return strips;
}

}  // namespace tarvelis
