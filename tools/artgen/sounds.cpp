// The game's sounds, by number. All are short and quiet: clicks peak at
// -6 dBFS, held tones lower so that they sound no louder than the clicks; all
// have soft ends so that none of them clicks at its edges.
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "artgen.h"
#include "synth.h"

namespace artgen {
namespace {

// 1: a tile comes to rest on the chain: a short wooden clack.
Sound Clack() {
  Sound s(0.085);
  Rng rng(1);
  s.Knock(rng, 0.0, 1150, 1.0, 0.010);
  s.Knock(rng, 0.004, 820, 0.35, 0.012);
  s.Finish(0.5, 0.0005, 0.01);
  return s;
}

// 2: a tile is lifted or dealt: a soft tick.
Sound Tick() {
  Sound s(0.05);
  Rng rng(2);
  s.Knock(rng, 0.0, 2100, 0.8, 0.005);
  s.Finish(0.35, 0.0005, 0.01);
  return s;
}

// 3: the moving tile appears: a light swish of air.
Sound Swish() {
  Sound s(0.12);
  Rng rng(3);
  s.Noise(rng, 0.0, 0.12, 900, 4200, 0.5, 1.0, 0.05, 0.035);
  s.Finish(0.3, 0.004, 0.03);
  return s;
}

// 4: the selector moves one step: a short blip.
Sound Blip() {
  Sound s(0.045);
  s.Tone(0.0, 0.045, 1320, 1400, 1.0, 0.014, 0.002);
  s.Tone(0.0, 0.045, 2640, 2800, 0.15, 0.008, 0.002);
  s.Finish(0.4, 0.002, 0.01);
  return s;
}

// 5: a window closes: a soft low click.
Sound LowClick() {
  Sound s(0.07);
  Rng rng(5);
  s.Knock(rng, 0.0, 360, 1.0, 0.014);
  s.Finish(0.45, 0.0005, 0.015);
  return s;
}

// 6 and 7: a switch starts (clicking up) and ends (clicking down).
Sound SwitchClick(bool up) {
  Sound s(0.06);
  Rng rng(up ? 6 : 7);
  s.Knock(rng, 0.0, up ? 1500 : 2100, 0.8, 0.004);
  s.Knock(rng, 0.02, up ? 2200 : 1300, 1.0, 0.005);
  s.Finish(0.45, 0.0005, 0.01);
  return s;
}

// 9: a button is pressed: a crisp click.
Sound Click() {
  Sound s(0.04);
  Rng rng(9);
  s.Knock(rng, 0.0, 2600, 1.0, 0.0035);
  s.Noise(rng, 0.0, 0.008, 6000, 6000, 0.8, 1.2, 0.0003, 0.0015);
  s.Finish(0.5, 0.0003, 0.008);
  return s;
}

// 10: the history folder opens: a rustle of paper made of many tiny grains.
Sound Rustle() {
  Sound s(0.32);
  Rng rng(10);
  for (int i = 0; i < 34; ++i) {
    const double at = 0.26 * rng.Next() * rng.Next() + 0.01 * rng.Next();
    const double c = rng.Between(2500, 6000);
    s.Noise(rng, at, 0.03, c, c * 0.8, 0.9, rng.Between(0.3, 1.0), 0.002,
            rng.Between(0.004, 0.012));
  }
  s.Noise(rng, 0.0, 0.3, 3000, 2000, 1.2, 0.25, 0.02, 0.1);
  s.Finish(0.35, 0.003, 0.04);
  return s;
}

// 11: a pass, or the end arrows blinking: two tones, high then low.
Sound TwoTone() {
  Sound s(0.155);
  s.Tone(0.0, 0.072, 988, 988, 1.0, 0.0, 0.004);
  s.Tone(0.0, 0.072, 1976, 1976, 0.12, 0.0, 0.004);
  s.Tone(0.078, 0.075, 740, 740, 1.0, 0.0, 0.004);
  s.Tone(0.078, 0.075, 1480, 1480, 0.12, 0.0, 0.004);
  s.Finish(0.3, 0.004, 0.015);
  return s;
}

// 12: the tutor's marker blinks: a high bell-like ping.
Sound Ping() {
  Sound s(0.3);
  s.Tone(0.0, 0.3, 2093, 2093, 1.0, 0.075, 0.001);
  s.Tone(0.0, 0.3, 4186, 4186, 0.2, 0.04, 0.001);
  s.Tone(0.0, 0.3, 5440, 5440, 0.08, 0.02, 0.001);
  s.Finish(0.35, 0.001, 0.03);
  return s;
}

// 14: domino, or the match is won: a bright rising arpeggio ending on a chord.
Sound Fanfare() {
  Sound s(0.72);
  const double c5 = 523.25, e5 = 659.26, g5 = 783.99, c6 = 1046.5;
  s.Rich(0.00, 0.11, c5, 6, 0.8, 0.006, 0.03);
  s.Rich(0.09, 0.11, e5, 6, 0.8, 0.006, 0.03);
  s.Rich(0.18, 0.11, g5, 6, 0.8, 0.006, 0.03);
  s.Rich(0.27, 0.45, c6, 6, 0.8, 0.008, 0.25, 0.006);
  s.Rich(0.27, 0.45, g5, 5, 0.35, 0.01, 0.25);
  s.Rich(0.27, 0.45, e5, 5, 0.3, 0.01, 0.25);
  s.Finish(0.4, 0.003, 0.05);
  return s;
}

// 15: a new hand is dealt: tiles rattling as they are shuffled.
Sound Shuffle() {
  Sound s(0.5);
  Rng rng(15);
  for (int i = 0; i < 26; ++i) {
    const double at = 0.44 * rng.Next();
    s.Knock(rng, at, rng.Between(1100, 2600), rng.Between(0.25, 1.0), rng.Between(0.003, 0.007));
  }
  s.Noise(rng, 0.0, 0.5, 1800, 1400, 1.0, 0.12, 0.05, 0.25);
  s.Finish(0.45, 0.004, 0.04);
  return s;
}

// 17: a blocked hand lost by the last mover: a gently falling three-note sigh.
Sound Descending() {
  Sound s(0.62);
  s.Rich(0.00, 0.18, 392.0, 4, 0.8, 0.01, 0.05);
  s.Rich(0.17, 0.18, 329.6, 4, 0.8, 0.01, 0.05);
  s.Rich(0.34, 0.28, 261.6, 4, 0.8, 0.01, 0.2, 0.01);
  s.Finish(0.32, 0.003, 0.05);
  return s;
}

}  // namespace

void MakeSounds(const QString& outDir) {
  QDir().mkpath(outDir + "/sounds");
  const std::pair<int, std::function<Sound()>> table[] = {{1, Clack},
                                                          {2, Tick},
                                                          {3, Swish},
                                                          {4, Blip},
                                                          {5, LowClick},
                                                          {6, [] { return SwitchClick(true); }},
                                                          {7, [] { return SwitchClick(false); }},
                                                          {9, Click},
                                                          {10, Rustle},
                                                          {11, TwoTone},
                                                          {12, Ping},
                                                          {14, Fanfare},
                                                          {15, Shuffle},
                                                          {17, Descending}};
  for (const auto& [number, make] : table) {
    const QString path = QString("%1/sounds/%2.wav").arg(outDir).arg(number);
    if (!make().WriteWav(path.toStdString())) {
      std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
      std::exit(1);
    }
  }
}

}  // namespace artgen
