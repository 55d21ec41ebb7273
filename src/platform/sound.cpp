#include "platform/sound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace tarvelis {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

bool SoundPlayer::HasOutput() const {
  return !QMediaDevices::audioOutputs().isEmpty();
}

QSoundEffect* SoundPlayer::EffectFor(int n) {
  auto it = effects_.find(n);
  if (it != effects_.end()) return *it;
  const QString path = QStringLiteral(":/sounds/%1.wav").arg(n);
  QSoundEffect* effect = nullptr;
  if (QFile::exists(path)) {
    effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + path));
    effect->setVolume(0.8f);
  }
  effects_.insert(n, effect);
  return effect;
}

void SoundPlayer::Play(int n) {
  if (!HasOutput()) return;
  if (QSoundEffect* effect = EffectFor(n)) effect->play();
}

SoundPlayer& TheSoundPlayer() {
  static SoundPlayer* player = new SoundPlayer();
  return *player;
}

}  // namespace tarvelis
