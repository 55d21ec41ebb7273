// The game's short sounds, numbered as the game calls them, from WAV files in
// the resources. Without an audio device the game is silent and never waits.
#pragma once

#include <QHash>
#include <QObject>

class QSoundEffect;

namespace tarvelis {

class SoundPlayer : public QObject {
 public:
  explicit SoundPlayer(QObject* parent = nullptr);

  // Starts sound n and returns at once; unknown numbers play nothing.
  void Play(int n);

  // False until the first sound is asked for, and after that false when no
  // audio output exists; kept for the tests.
  bool HasOutput() const;

 private:
  QSoundEffect* EffectFor(int n);
  QHash<int, QSoundEffect*> effects_;
};

SoundPlayer& TheSoundPlayer();

}  // namespace tarvelis
