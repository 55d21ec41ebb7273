// The table's surface: a dark green marble, calm enough for the tiles and the
// text to stand out. Every noise lattice and every vein has a whole number of
// periods across the picture, so the picture repeats without a seam.
#include <QDir>
#include <QImage>
#include <cmath>
#include <cstdint>

#include "artgen.h"
#include "layer.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

constexpr double kPi = 3.14159265358979323846;

double Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0x1000000);
}

double Fade(double t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

// Value noise on a lattice of nx x ny cells that wraps around; u, v in [0, 1).
double WrappedNoise(double u, double v, int nx, int ny, int seed) {
  const double x = u * nx, y = v * ny;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = Fade(x - x0), fy = Fade(y - y0);
  const auto at = [&](int i, int j) {
    return Hash(((i % nx) + nx) % nx, ((j % ny) + ny) % ny, seed);
  };
  const double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
  const double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
  return a + (b - a) * fy;
}

// Fractal noise in [0, 1): lattices of 5 x 4 cells and their doublings, so a
// cell is always a whole fraction of 640 x 512.
double Fbm(double u, double v, int octaves, int seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * WrappedNoise(u, v, 5 << o, 4 << o, seed + 31 * o);
    norm += amp;
    amp *= 0.5;
  }
  return sum / norm;
}

// A thin vein where sin(...) crosses zero; kx and ky are whole numbers.
double Vein(double u, double v, int kx, int ky, double warp, double sharpness) {
  const double s = std::sin(2 * kPi * (kx * u + ky * v) + warp);
  return std::pow(1.0 - std::fabs(s), sharpness);
}

}  // namespace

void MakeMarble(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  const int w = art::kMarmolSize.w, h = art::kMarmolSize.h;
  QImage marble(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(marble.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double u = double(x) / w, v = double(y) / h;
      const double cloud = Fbm(u, v, 5, 11);
      const double turb = Fbm(u, v, 4, 57);
      const double turb2 = Fbm(u, v, 5, 91);
      // Broad soft swirls, a few sharper veins along them, and hair-fine ones
      // across: the look of a polished serpentine.
      const double swirl = Vein(u, v, 1, 2, 7.0 * turb, 2.5);
      const double main = Vein(u, v, 2, 1, 6.0 * turb, 10.0);
      const double fine = Vein(u, v, 1, -3, 6.0 * turb2, 26.0);
      const double grain = Hash(x, y, 7) - 0.5;
      double r = 12 + 12 * cloud + 8 * swirl, g = 45 + 26 * cloud + 16 * swirl,
             b = 31 + 16 * cloud + 11 * swirl;
      r += 20 * main + 12 * fine;
      g += 28 * main + 16 * fine;
      b += 22 * main + 12 * fine;
      r += 3 * grain;
      g += 4 * grain;
      b += 3 * grain;
      const auto clamp = [](double c) { return std::lround(std::fmin(255.0, std::fmax(0.0, c))); };
      line[x] = qRgb(int(clamp(r)), int(clamp(g)), int(clamp(b)));
    }
  }
  SavePng(marble, outDir + "/strips/marmol.png");
}

}  // namespace artgen
