// What the painted table shows where the user's own data meets its fixed
// places: the score on its button, the seat names, and the pointer over the
// picture buttons. Checks look for ink and background, never exact pixels.
#include <QMouseEvent>
#include <QtTest>

#include "engine/headless_play.h"
#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/hand_layout.h"
#include "layout/pointer_rules.h"
#include "platform/cursors.h"
#include "platform/waits.h"
#include "table/table_painter.h"
#include "table/table_window.h"

using namespace tarvelis;

namespace {

bool Blue(QRgb c) {
  return qBlue(c) - qRed(c) > 50 && qBlue(c) - qGreen(c) > 35;
}
bool Dark(QRgb c) {
  return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90;
}

// Columns (relative to the button) holding blue ink within rows [top, bottom).
std::vector<bool> BlueColumns(const QImage& surface, const ButtonPlace& b, int top, int bottom,
                              int from, int to) {
  std::vector<bool> ink(to - from, false);
  for (int x = from; x < to; ++x) {
    for (int y = top; y < bottom; ++y) {
      const int px = b.x + x;
      const int py = b.y + y;
      if (px < 0 || py < 0 || px >= surface.width() || py >= surface.height()) continue;
      if (Blue(surface.pixel(px, py))) ink[x - from] = true;
    }
  }
  return ink;
}

int LongestBlankRun(const std::vector<bool>& ink, int from, int to) {
  int best = 0;
  int run = 0;
  for (int x = from; x < to; ++x) {
    run = ink[x] ? 0 : run + 1;
    best = std::max(best, run);
  }
  return best;
}

GameState Table(int width, int height) {
  GameState s;
  ApplyDefaults(s);
  s.RuleSound = kOff;
  s.Table = ComputeTableGeometry(width, height);
  return s;
}

}  // namespace

class TableFaceTest : public QObject {
  Q_OBJECT

 private slots:
  // Two totals under "N" and "E" keep blank columns between them and stay
  // inside the button's face, whatever their digits. From 100 up each row is
  // a black label and a blue total: the total ends inside the face and a
  // blank column parts it from its label.
  void pairTotalsStayApart_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("e");
    for (auto [n, e] :
         {std::pair{10, 15}, std::pair{99, 97}, std::pair{7, 3}, std::pair{88, 11},
          std::pair{48, 60}, std::pair{104, 99}, std::pair{100, 100}, std::pair{999, 888}}) {
      QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(n).arg(e))) << n << e;
    }
  }
  void pairTotalsStayApart() {
    QFETCH(int, n);
    QFETCH(int, e);
    GameState s = Table(800, 600);
    s.RuleMode = kModePairs;
    s.PairTotal = {0, static_cast<i16>(n), static_cast<i16>(e)};
    Mesa mesa(s);
    mesa.LayOut();
    const QImage& img = mesa.Surface();
    const ButtonPlace b = PlaceOfButton(6, s.Table);
    if (n >= 100 || e >= 100) {
      for (auto [top, bottom] : {std::pair{8, 24}, std::pair{24, 42}}) {
        int lastBlack = -1;
        int firstBlue = b.w;
        int lastBlue = -1;
        for (int x = 0; x < b.w + 10 && b.x + x < img.width(); ++x) {
          for (int y = top; y < bottom; ++y) {
            const QRgb c = img.pixel(b.x + x, b.y + y);
            if (x < b.w - 3 && Dark(c) && x > 1) lastBlack = std::max(lastBlack, x);
            if (Blue(c)) {
              firstBlue = std::min(firstBlue, x);
              lastBlue = std::max(lastBlue, x);
            }
          }
        }
        QVERIFY2(lastBlue >= 0, "a total is missing");
        QVERIFY2(lastBlue <= art::kScoreArea.x + art::kScoreArea.w - 1,
                 "a total runs off the face");
        QVERIFY2(lastBlack >= 0 && lastBlack + 1 < firstBlue, "label and total touch");
      }
      return;
    }
    // The numbers' rows, and every column from well left of the button to
    // well right of it: ink outside the face would be a number cut or spilt.
    const std::vector<bool> ink = BlueColumns(img, b, 24, b.h, -10, b.w + 10);
    auto at = [&](int x) { return ink[x + 10]; };
    for (int x = -10; x < 2; ++x) QVERIFY2(!at(x), "ink left of the face");
    for (int x = art::kScoreArea.w + 1; x < b.w + 10; ++x)
      QVERIFY2(!at(x), "ink right of the face");
    int first = 0;
    while (first < b.w && !at(first)) ++first;
    int last = b.w - 1;
    while (last > 0 && !at(last)) --last;
    QVERIFY(first < last);
    // Between the two numbers, around the middle of the face, a gap wider
    // than the one between two digits of a number.
    QVERIFY2(LongestBlankRun(ink, 10 + 12, 10 + 25) >= 4,
             qPrintable(QStringLiteral("no gap between %1 and %2").arg(n).arg(e)));
  }

  // On a small table a laid tile reaches into seat 1's name place: writing
  // the names again leaves the tile whole, and a "J" is not cut at x 0.
  void namesLeaveLaidTilesAndLettersWhole() {
    GameState s = Table(640, 480);
    s.RuleSound = kOff;
    s.SeatControl[4] = kAutomatic;
    s.RulePauseBetweenMoves = kOff;
    PlayHeadlessTo(s, 1, 11);
    s.SeatName[1] = std::string(1, 'J');
    s.SeatTilesShown[1] = kTilesVisible;
    MoveEntry& e = s.MoveRecord[1];
    const Rect nameArea = WholeNameArea(s.Table, 1);
    // The lead tile moved so that it reaches into the name's place from the
    // right, clear of the letter itself.
    const int dx = 46 - e[kFTileLeft];
    const int dy = nameArea.y - 4 - e[kFTileTop];
    for (int f : {kFTileLeft, kFPipAX, kFPipBX}) e[f] = static_cast<i16>(e[f] + dx);
    for (int f : {kFTileTop, kFPipAY, kFPipBY}) e[f] = static_cast<i16>(e[f] + dy);
    Mesa mesa(s);
    mesa.LayOut();
    QImage reference = mesa.Marmol().copy();
    TablePainter chainOnly(s, mesa.Modes(), reference, mesa.Marmol());
    chainOnly.DrawChain(1);
    mesa.Painter().Revealed = true;  // the names at a hand's end
    mesa.Painter().DrawSeatNames();
    const QRect tile(e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]);
    QVERIFY(tile.intersects(QRect(nameArea.x, nameArea.y, nameArea.w, nameArea.h)));
    const QRect letter(0, nameArea.y, 14, nameArea.h);
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
      for (int x = tile.left(); x <= tile.right(); ++x) {
        if (letter.contains(x, y)) continue;
        QVERIFY2(mesa.Surface().pixel(x, y) == reference.pixel(x, y),
                 qPrintable(QStringLiteral("tile changed at %1,%2").arg(x).arg(y)));
      }
    }
    bool ink = false;
    for (int y = nameArea.y; y < nameArea.y + nameArea.h; ++y) {
      QCOMPARE(mesa.Surface().pixel(0, y), mesa.Marmol().pixel(0, y));
      for (int x = 1; x < 12; ++x) ink |= mesa.Surface().pixel(x, y) != mesa.Marmol().pixel(x, y);
    }
    QVERIFY2(ink, "the J is drawn");
  }

  // A long name at a hand's end never reaches a button, the continue button
  // or the table's edge: the table with it and with a short name differ only
  // inside the name places.
  void longNamesStayInTheirPlaces() {
    const int width = 640, height = 480;  // the smallest table leaves the least room
    auto painted = [&](const std::string& name) {
      GameState s = Table(width, height);
      for (int seat = 1; seat <= kSeats; ++seat) {
        s.SeatName[seat] = name;
        s.SeatTilesShown[seat] = kTilesVisible;
      }
      Mesa mesa(s);
      mesa.LayOut();
      mesa.Painter().Revealed = true;
      mesa.Painter().DrawSeatNames();
      return std::pair{mesa.Surface().copy(), s.Table};
    };
    // Against no name at all, so that a "J" reaching back from its point is
    // ink that must be inside the area too.
    const auto [shortName, g] = painted("");
    const auto [longName, unused] =
        painted("Jiménez Fernández de la Concepción WWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (shortName.pixel(x, y) == longName.pixel(x, y)) continue;
        bool inPlace = false;
        for (int seat = 1; seat <= kSeats; ++seat)
          inPlace |= WholeNameArea(g, seat).Contains({x, y});
        QVERIFY2(inPlace, qPrintable(QStringLiteral("name ink at %1,%2").arg(x).arg(y)));
      }
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
      const Rect a = WholeNameArea(g, seat);
      const QRect area(a.x, a.y, a.w, a.h);
      QVERIFY(area.right() < width);
      for (int n = 1; n <= kBarButtons; ++n) {
        const ButtonPlace b = PlaceOfButton(n, g);
        QVERIFY2(!area.intersects(QRect(b.x, b.y, b.w, b.h)), qPrintable(QString::number(n)));
      }
    }
  }

  // Buttons are pictures with the pointing hand (the no-drop pointer while a
  // button is out of use, as the tutor is with no match); the continue
  // button only while it is on show.
  void pointingHandOverThePictureButtons() {
    GameState s = Table(800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mesa));
    const QImage hand = CursorOfKind(kCursorManoIndice).pixmap().toImage();
    auto pointerAt = [&](QPoint p) {
      QTest::mouseMove(&mesa, p + QPoint(1, 1));
      QTest::mouseMove(&mesa, p);
      return mesa.cursor().pixmap().toImage();
    };
    QCOMPARE(pointerAt(mesa.ButtonRect(1).center()), hand);
    pointerAt(mesa.ButtonRect(4).center());  // the tutor, with no match
    QCOMPARE(mesa.cursor().shape(), Qt::ForbiddenCursor);
    QVERIFY(pointerAt(QPoint(400, 300)).isNull());
    const QPoint onContinue = mesa.Painter().ContinueButtonRect().center();
    QVERIFY(pointerAt(onContinue).isNull());
    s.NoticeShown = true;
    mesa.ShowNotice(QStringLiteral("Jugador1"));
    QCOMPARE(pointerAt(onContinue), hand);
  }

  // A click that waited in the queue while the table was busy is thrown away
  // before the table waits for the user; a later one is taken.
  void staleClicksAreDropped() {
    GameState s = Table(800, 600);
    s.MatchInProgress = s.HandInProgress = true;
    s.CurrentSeat = 3;
    s.SeatControl[3] = kAutomatic;
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mesa));
    s.NoticeShown = true;
    mesa.ShowNotice(QStringLiteral("Jugador3"));
    const QPointF at = mesa.Painter().ContinueButtonRect().center();
    auto post = [&](QEvent::Type type) {
      QCoreApplication::postEvent(&mesa, new QMouseEvent(type, at, mesa.mapToGlobal(at),
                                                         Qt::LeftButton, Qt::LeftButton, {}));
    };
    post(QEvent::MouseButtonPress);
    post(QEvent::MouseButtonRelease);
    DropStaleInput();
    QCoreApplication::processEvents();
    QVERIFY2(!mesa.NoticeAnswered(), "a stale click dismissed the notice");
    post(QEvent::MouseButtonPress);
    QCoreApplication::processEvents();
    QVERIFY(mesa.NoticeAnswered());
  }
};

QTEST_MAIN(TableFaceTest)
#include "table_face_test.moc"
