// tarvelis-artgen: draws every picture, cursor and sound of the game into a
// folder laid out like resources/ (strips/, cursors/, icons/, sounds/).
//
//   tarvelis-artgen OUTDIR [--preview FILE.png] [--against RESOURCES]
//   tarvelis-artgen OUTDIR --scale K
//
// The output is the same, byte for byte, on every run; it is committed under
// resources/ so that building the game never needs this program. --preview
// also composes a table from the new files; --against compares them with the
// committed ones and fails when the two differ. --scale K draws only the
// strips of the table and of the windows over it, K pixels for each pixel of
// their cells, for large screens (committed under resources/strips/xK/).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "artgen.h"
#include "layer.h"

int main(int argc, char** argv) {
  // Painting text needs a QGuiApplication, never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString outDir;
  QString preview;
  QString against;
  int scale = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
      preview = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--against") == 0 && i + 1 < argc) {
      against = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      scale = std::atoi(argv[++i]);
      if (scale < 1 || scale > 8) {
        outDir.clear();
        break;
      }
    } else if (argv[i][0] != '-' && outDir.isEmpty()) {
      outDir = QString::fromLocal8Bit(argv[i]);
    } else {
      outDir.clear();
      break;
    }
  }
  if (outDir.isEmpty()) {
    std::fprintf(stderr,
                 "usage: tarvelis-artgen OUTDIR [--preview FILE.png] [--against RESOURCES]\n"
                 "       tarvelis-artgen OUTDIR --scale K\n");
    return 2;
  }
  // The table's own strips; at a larger scale they are all there is to draw.
  if (scale > 1) artgen::SetScale(scale);
  artgen::MakeTileStrips(outDir);
  artgen::MakeBacks(outDir);
  artgen::MakeButtons(outDir);
  artgen::MakePieces(outDir);
  artgen::MakeRecorder(outDir);
  artgen::MakeHands(outDir);
  // So are the pictures of the windows over it, drawn at the table's factor.
  artgen::MakeMessages(outDir);
  artgen::MakeCover(outDir);
  artgen::MakePersonal(outDir);
  if (scale > 1) return 0;
  artgen::MakeMarble(outDir);
  artgen::MakeSounds(outDir);
  const int faults = artgen::CheckArtwork(outDir);
  if (!preview.isEmpty()) artgen::MakePreview(outDir, preview);
  if (faults > 0) {
    std::fprintf(stderr, "artgen: %d fault(s) in the artwork\n", faults);
    return 1;
  }
  if (!against.isEmpty() && artgen::CompareWith(outDir, against) > 0) {
    std::fprintf(stderr, "artgen: the resources are stale; regenerate them (docs/ARTWORK.md)\n");
    return 1;
  }
  return 0;
}
