// Checks of the written artwork against the rules the windows rely on: the
// sizes in artwork_layout.h, pure black-and-white masks with black image
// pixels around every object, flat ivory wherever pips are copied, sounds in
// the expected format and level, and a marble that repeats without a seam.
#include <QFile>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <vector>

#include "artgen.h"
#include "layer.h"
#include "palette.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

static_assert(art::kButtonMask[1].y == art::kButtonMaskRow);
static_assert(art::kBackMask[4].x == art::kBack[4].x + art::kBackMaskOffset);
static_assert(art::kRecorderControlPressed[5].w == art::kRecorderControlArea[5].w);
static_assert(art::kRecorderSwitchOn.w == art::kRecorderSwitchArea.w);

class Checker {
 public:
  explicit Checker(QString dir) : dir_(std::move(dir)) {}

  int faults() const { return faults_; }

  void Fail(const char* what, const QString& where) {
    std::fprintf(stderr, "artgen check: %s: %s\n", what, qPrintable(where));
    ++faults_;
  }

  QImage Load(const char* resourcePath, art::Size size) {
    const QString path = dir_ + QString(resourcePath).mid(1);
    QImage image(path);
    if (image.isNull()) {
      Fail("missing or unreadable", path);
      return QImage(size.w, size.h, QImage::Format_ARGB32);
    }
    if (image.width() != size.w || image.height() != size.h) Fail("wrong size", path);
    return image.convertToFormat(QImage::Format_ARGB32);
  }

  // Every cell of a strip inside it, and no two overlapping.
  void Cells(const char* name, art::Size size, const std::vector<art::Cell>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const art::Cell a = cells[i];
      if (a.x < 0 || a.y < 0 || a.x + a.w > size.w || a.y + a.h > size.h) {
        Fail("cell outside its strip", QString("%1 #%2").arg(name).arg(i));
      }
      for (std::size_t j = i + 1; j < cells.size(); ++j) {
        const art::Cell b = cells[j];
        if (a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h) {
          Fail("cells overlap", QString("%1 #%2 and #%3").arg(name).arg(i).arg(j));
        }
      }
    }
  }

  // A masked-copy pair: the mask only black or white, some black, and the
  // image black wherever the mask is white.
  void Masked(const QImage& strip, art::Cell image, art::Cell mask, const char* name) {
    int inside = 0;
    for (int y = 0; y < mask.h; ++y) {
      for (int x = 0; x < mask.w; ++x) {
        const QRgb m = strip.pixel(mask.x + x, mask.y + y);
        const QRgb c = strip.pixel(image.x + x, image.y + y);
        if (m == 0xFF000000u) {
          ++inside;
        } else if (m != 0xFFFFFFFFu) {
          return Fail("mask pixel neither black nor white", name);
        } else if (c != 0xFF000000u) {
          return Fail("image not black outside its mask", name);
        }
      }
    }
    if (inside == 0) Fail("empty mask", name);
  }

  // The area where a pip cell is copied: exact ivory, and inside the mask.
  void Ivory(const QImage& strip, art::Cell area, int maskDy, const QString& name) {
    for (int y = 0; y < area.h; ++y) {
      for (int x = 0; x < area.w; ++x) {
        if (strip.pixel(area.x + x, area.y + y) != kIvory.rgb()) {
          return Fail("pip area not flat ivory", name);
        }
        if (maskDy && strip.pixel(area.x + x, area.y + y + maskDy) != 0xFF000000u) {
          return Fail("pip area outside the tile's mask", name);
        }
      }
    }
  }

  // A pip cell's border ring is ivory, so its plain copy shows only pips.
  void Ring(const QImage& strip, art::Cell c, const QString& name) {
    for (int i = 0; i < c.w; ++i) {
      for (QPoint q : {QPoint(c.x + i, c.y), QPoint(c.x + i, c.y + c.h - 1), QPoint(c.x, c.y + i),
                       QPoint(c.x + c.w - 1, c.y + i)}) {
        if (strip.pixel(q) != kIvory.rgb()) return Fail("pip cell edge not ivory", name);
      }
    }
  }

  // An area of a mask left white: nothing of the object is copied there.
  void Clear(const QImage& strip, art::Cell area, const QString& name) {
    for (int y = 0; y < area.h; ++y) {
      for (int x = 0; x < area.w; ++x) {
        if (strip.pixel(area.x + x, area.y + y) != 0xFFFFFFFFu) {
          return Fail("object drawn where the seat's name goes", name);
        }
      }
    }
  }

  void Opaque(const QImage& image, const char* name) {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(image.pixel(x, y)) != 255) return Fail("transparent pixel in a strip", name);
      }
    }
  }

 private:
  QString dir_;
  int faults_ = 0;
};

void CheckTiles(Checker& k) {
  const QImage dib = k.Load(art::kDibujosPath, art::kDibujosSize);
  k.Opaque(dib, "dibujos");
  std::vector<art::Cell> cells;
  const auto pips = [&](art::Cell face, QPoint a, QPoint b, const char* name) {
    k.Masked(dib, face, art::MaskOf(face), name);
    for (QPoint q : {a, b}) {
      k.Ivory(dib, {face.x + q.x(), face.y + q.y(), 30, 30}, art::kDibujosMaskRow, name);
    }
    cells.push_back(face);
    cells.push_back(art::MaskOf(face));
  };
  for (int s = 1; s <= 7; ++s) pips(art::kSeatFace[s], {7, 7}, {7, 44}, "seat face");
  // Pip halves are copied 3 pixels inside their corner; the right-half
  // images carry their pips 4 pixels further right.
  pips(art::kChainUprightLeft, {3, 3}, {3, 40}, "upright left");
  pips(art::kChainUprightRight, {7, 3}, {7, 40}, "upright right");
  pips(art::kChainFlatLeft, {3, 3}, {40, 3}, "flat left");
  pips(art::kChainFlatRight, {7, 3}, {44, 3}, "flat right");
  k.Cells("dibujos", art::kDibujosSize, cells);

  const QImage pun = k.Load(art::kPunNegPath, art::kPunNegSize);
  for (int row = 0; row <= 1; ++row) {
    for (int v = 1; v <= 6; ++v) k.Ring(pun, art::PipCell(v, row), "punneg");
  }
  const QImage pt = k.Load(art::kPuntitosPath, art::kPuntitosSize);
  cells.clear();
  for (int row = 0; row <= 1; ++row) {
    for (int v = 1; v <= 6; ++v) {
      k.Ring(pt, art::SmallPipCell(v, row), "puntitos");
      cells.push_back(art::SmallPipCell(v, row));
    }
  }
  const auto small = [&](art::Cell f, QPoint a, QPoint b) {
    for (QPoint q : {a, b}) k.Ivory(pt, {f.x + q.x(), f.y + q.y(), 16, 16}, 0, "small face");
    cells.push_back(f);
  };
  small(art::kSmallFace[1], {2, 2}, {23, 2});
  small(art::kSmallFace[3], {3, 2}, {24, 2});
  small(art::kSmallFace[2], {2, 2}, {2, 23});
  k.Cells("puntitos", art::kPuntitosSize, cells);
}

// Strips made only of masked pairs: each pair checked, and all cells apart.
void CheckPairs(Checker& k, const char* path, art::Size size, const char* name,
                const std::vector<std::pair<art::Cell, art::Cell>>& pairs,
                std::vector<art::Cell> extra = {}) {
  const QImage strip = k.Load(path, size);
  k.Opaque(strip, name);
  for (const auto& [image, mask] : pairs) {
    k.Masked(strip, image, mask, name);
    extra.push_back(image);
    extra.push_back(mask);
  }
  k.Cells(name, size, extra);
}

void CheckStrips(Checker& k) {
  std::vector<std::pair<art::Cell, art::Cell>> pairs;
  for (int s = 1; s <= 4; ++s) pairs.push_back({art::kBack[s], art::kBackMask[s]});
  CheckPairs(k, art::kDorsosPath, art::kDorsosSize, "dorsos", pairs);
  // The side and top hands stand on edge and leave the half of their cells at
  // the table's edge free, for the name spelt beside a hidden hand.
  const QImage dorsos = k.Load(art::kDorsosPath, art::kDorsosSize);
  const art::Cell m1 = art::kBackMask[1], m2 = art::kBackMask[2], m3 = art::kBackMask[3];
  k.Clear(dorsos, {m1.x, m1.y, 21, m1.h}, "dorsos seat 1");
  k.Clear(dorsos, {m2.x, m2.y, m2.w, 21}, "dorsos seat 2");
  k.Clear(dorsos, {m3.x + m3.w - 21, m3.y, 21, m3.h}, "dorsos seat 3");
  pairs.clear();
  for (int n = 1; n <= 6; ++n) pairs.push_back({art::kButtonImage[n], art::kButtonMask[n]});
  CheckPairs(k, art::kBmpVarioPath, art::kBmpVarioSize, "bmpvario", pairs);
  pairs = {
      {art::kLeaderPanel, art::kLeaderPanelMask},       {art::kDomino, art::kDominoMask},
      {art::kContinueButton, art::kContinueButtonMask}, {art::kPassSign, art::kPassSignMask},
      {art::kArrowRight, art::kArrowRightMask},         {art::kArrowLeft, art::kArrowLeftMask}};
  for (int s = 1; s <= 4; ++s) pairs.push_back({art::kTutorMarker[s], art::kTutorMarkerMask[s]});
  CheckPairs(k, art::kPiezasPath, art::kPiezasSize, "piezas", pairs);
  pairs.clear();
  for (int s = 1; s <= 4; ++s) pairs.push_back({art::kThinkingHand[s], art::kThinkingHandMask[s]});
  CheckPairs(k, art::kManosPath, art::kManosSize, "manos", pairs);
  pairs.clear();
  std::vector<art::Cell> opaque;
  for (int n = 1; n <= art::kMessagePictureCount; ++n) {
    pairs.push_back({art::MessagePicture(n), art::MessageMask(n)});
    opaque.push_back(art::MessagePictureOpaque(n));
  }
  CheckPairs(k, art::kMensajesPath, art::kMensajesSize, "mensajes", pairs, opaque);

  std::vector<art::Cell> rec = {art::kRecorderPanelOff, art::kRecorderPanelOn,
                                art::kRecorderSwitchOff, art::kRecorderSwitchOn};
  for (int n = 1; n <= 5; ++n) rec.push_back(art::kRecorderControlPressed[n]);
  CheckPairs(k, art::kGrabadoraPath, art::kGrabadoraSize, "grabadora", {}, rec);
  CheckPairs(k, art::kCaretaPath, art::kCaretaSize, "careta", {},
             {art::kCoverLogo, art::kCoverIcon, art::kCoverTitleStrip});
}

// The seam between the marble's last and first column (and row) must look
// like any other pair of neighbours.
void CheckMarble(Checker& k) {
  const QImage m = k.Load(art::kMarmolPath, art::kMarmolSize);
  const auto diff = [&m](QPoint a, QPoint b) {
    const QRgb p = m.pixel(a), q = m.pixel(b);
    return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
           std::abs(qBlue(p) - qBlue(q));
  };
  double seam = 0, inner = 0;
  const int w = m.width(), h = m.height();
  for (int y = 0; y < h; ++y) {
    seam += diff({w - 1, y}, {0, y});
    inner += diff({w / 2 - 1, y}, {w / 2, y});
  }
  for (int x = 0; x < w; ++x) {
    seam += diff({x, h - 1}, {x, 0});
    inner += diff({x, h / 2 - 1}, {x, h / 2});
  }
  if (seam > 1.5 * inner + 1000) k.Fail("marble shows a seam", art::kMarmolPath);
}

void CheckCursors(Checker& k) {
  for (int kind = 1; kind <= 6; ++kind) {
    const art::CursorArt c = art::kCursor[kind];
    const QImage image = k.Load(c.path, art::kCursorSize);
    if (c.hotSpot.x < 0 || c.hotSpot.y < 0 || c.hotSpot.x >= 32 || c.hotSpot.y >= 32) {
      k.Fail("hot spot outside the cursor", c.path);
    } else if (kind <= 3 && qAlpha(image.pixel(c.hotSpot.x, c.hotSpot.y)) == 0) {
      // The pointing hands click with a fingertip, which must be drawn there.
      k.Fail("hot spot off the fingertip", c.path);
    }
  }
}

int Le(const QByteArray& b, int at, int bytes) {
  int v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

void CheckSounds(Checker& k, const QString& dir) {
  for (int n = 1; n < art::kSoundCount; ++n) {
    if (!art::kSoundPath[n]) continue;
    const QString path = dir + QString(art::kSoundPath[n]).mid(1);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      k.Fail("missing sound", path);
      continue;
    }
    const QByteArray b = f.readAll();
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt " || Le(b, 20, 2) != 1 ||
        Le(b, 22, 2) != 1 || Le(b, 34, 2) != 16 || Le(b, 40, 4) != b.size() - 44) {
      k.Fail("not a 16-bit mono PCM WAV", path);
      continue;
    }
    const int samples = (b.size() - 44) / 2;
    int peak = 0;
    for (int i = 0; i < samples; ++i) {
      peak = std::max(peak, std::abs(static_cast<int16_t>(Le(b, 44 + 2 * i, 2))));
    }
    const int first = static_cast<int16_t>(Le(b, 44, 2));
    const int last = static_cast<int16_t>(Le(b, b.size() - 2, 2));
    if (peak > 16422) k.Fail("sound louder than -6 dBFS", path);
    if (std::abs(first) > 64 || std::abs(last) > 64)
      k.Fail("sound starts or ends with a step", path);
    if (samples > 22050) k.Fail("sound longer than a second", path);
  }
}

}  // namespace

int CheckArtwork(const QString& outDir) {
  Checker k(outDir);
  CheckTiles(k);
  CheckStrips(k);
  CheckMarble(k);
  CheckCursors(k);
  CheckSounds(k, outDir);
  const QImage icon = k.Load(art::kAppIconPath, art::kAppIconSize);
  (void)icon;
  return k.faults();
}

}  // namespace artgen
