#include "table/strips.h"

#include "layout/artwork_layout.h"
#include "platform/raster.h"

namespace tarvelis {
namespace {

// The scale the artwork tool draws the strips' sharper copies at: enough for
// a 4K screen at 200% (2.8 picture pixels per table pixel) to be drawn down,
// never up.
constexpr int kSharperScale = 3;

}  // namespace

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
    // the same picture drawn three pixels for each (resources/strips/x3/).
    auto load = [](const char* path) {
      const QString name = QString::fromLatin1(path);
      QImage strip = LoadStrip(name);
      const QString sharper = QString(name).replace(
          QStringLiteral("/strips/"), QStringLiteral("/strips/x%1/").arg(kSharperScale));
      UseSharperCopy(strip, LoadStrip(sharper), kSharperScale);
      return strip;
    };
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
