// The generators of the artwork and the sounds. Each writes its files below
// the output folder given to the program; all are deterministic.
#pragma once

#include <QImage>
#include <QString>

namespace artgen {

void MakeTileStrips(const QString& outDir);  // dibujos, punneg, puntitos
void MakeBacks(const QString& outDir);       // dorsos
void MakeButtons(const QString& outDir);     // bmpvario
void MakePieces(const QString& outDir);      // piezas
void MakeRecorder(const QString& outDir);    // grabadora
void MakeHands(const QString& outDir);       // manos and the six cursors
void MakeMessages(const QString& outDir);    // mensajes
void MakeCover(const QString& outDir);       // careta and the application icon
void MakeMarble(const QString& outDir);      // marmol
void MakePersonal(const QString& outDir);    // personal: the settings window
void MakeSounds(const QString& outDir);      // sounds/N.wav

// Checks the written strips against the rules of the masked copy and of the
// pip cells; prints each fault and returns their number.
int CheckArtwork(const QString& outDir);

// How two pictures of the same size differ: the pixels that are not equal and
// the largest difference of one channel among them.
struct PictureDifference {
  bool sizesDiffer = false;
  int pixels = 0;
  int largestChannel = 0;
};
inline constexpr int kTolerablePixels = 16;
inline constexpr int kTolerableChannel = 8;
PictureDifference ComparePictures(const QImage& a, const QImage& b);
bool CloseEnough(const PictureDifference& d);

// Compares every file written to `outDir` with the same file below
// `resourcesDir`; prints each difference and returns their number.
int CompareWith(const QString& outDir, const QString& resourcesDir);

// Composes a table from the written strips, the way the game does, into a
// PNG for looking at the artwork.
void MakePreview(const QString& outDir, const QString& previewFile);

}  // namespace artgen
