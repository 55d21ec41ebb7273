// The table window on the offscreen platform: what the pixels show after real
// moves of the engine, and what the mouse does to the state.
#include <QtTest>

#include "engine/headless_play.h"
#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/hand_layout.h"
#include "layout/pointer_rules.h"
#include "model/move_rules.h"
#include "platform/raster.h"
#include "table/qt_table_port.h"
#include "table/settings_hooks.h"
#include "table/strips.h"
#include "table/table_window.h"

using namespace tarvelis;

namespace {

// A match played by the engine up to `moves` moves, as the table would see it
// waiting for the next one, every seat automatic.
GameState PlayedTo(int moves, int width, int height, std::uint32_t seed = 11) {
  GameState s;
  ApplyDefaults(s);
  s.SeatControl[4] = kAutomatic;
  s.RuleSound = kOff;
  s.RulePauseBetweenMoves = kOff;
  s.Table = ComputeTableGeometry(width, height);
  PlayHeadlessTo(s, moves, seed);
  return s;
}

}  // namespace

class TableTest : public QObject {
  Q_OBJECT

  // The chain tile of move n as the table must show it, composed here from the
  // strips with the mask-AND, face-XOR and pip copies.
  static QImage Expected(const GameState& s, const QImage& marmol, int move) {
    const MoveEntry& e = s.MoveRecord[move];
    QImage expected = marmol.copy();
    MaskedBlit(expected, e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight],
               TheStrips().Dibujos, e[kFTileImageX], 0, e[kFTileImageX], art::kDibujosMaskRow);
    for (auto [pips, x, y] : {std::tuple{e[kFPipA], e[kFPipAX], e[kFPipAY]},
                              std::tuple{e[kFPipB], e[kFPipBX], e[kFPipBY]}}) {
      if (pips == 0) continue;
      Blit(expected, x + 3, y + 3, 30, 30, TheStrips().PunNeg, (pips - 1) * 30,
           e[kFPipOrientation] * 30, RasterOp::Copy);
    }
    return expected;
  }

 private slots:
  // The chain is drawn from its record: after the last tile is taken back,
  // the table around every tile is exactly the earlier tiles composed on the
  // marble (so the neighbour of the tile taken back is whole); once the hand
  // is over, the chain is gone.
  void theChainIsDrawnFromItsRecord() {
    // The first tile of end 2 overlaps the lead by two pixels: taking it back
    // must not cut the lead.
    std::uint32_t seed = 11;
    GameState s = PlayedTo(2, 800, 600, seed);
    while (s.MoveRecord[2][kFEnd] != 2) s = PlayedTo(2, 800, 600, ++seed);
    s.GameSpeed = 100;
    Mesa mesa(s);
    mesa.LayOut();
    QtTablePort port(s, mesa);
    const int last = s.MoveNumber - 1;
    port.TakeBackTile(last);
    QImage expected = mesa.Marmol().copy();
    for (int m = 1; m < last; ++m) expected = Expected(s, expected, m);
    for (int m = 1; m <= last; ++m) {
      const MoveEntry& e = s.MoveRecord[m];
      if (e[kFEnd] == kPassEnd) continue;
      const QRect around = QRect(e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight])
                               .adjusted(-4, -4, 4, 4);
      for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
          QCOMPARE(mesa.Surface().pixel(x, y), expected.pixel(x, y));
        }
      }
    }
    const MoveEntry& lead = s.MoveRecord[1];
    const QPoint middle(lead[kFTileLeft] + lead[kFTileWidth] / 2, lead[kFTileTop] + 2);
    s.HandInProgress = false;
    mesa.Painter().DrawAll();
    QCOMPARE(mesa.Surface().pixel(middle), mesa.Marmol().pixel(middle));
  }

  void handsFaceUpFaceDownAndPlayed() {
    GameState s = PlayedTo(9, 800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    const QImage& surface = mesa.Surface();
    // The part of a hidden side tile's cell that the standing tile covers (the
    // rest is left for the spelt name).
    auto standing = [&](int seat, int slot) {
      GameState held = s;  // where the back lies, whatever the tile's state
      held.Hand[seat][slot].State = 0;
      const Rect b = LookOfHandTile(held, seat, slot).Back;
      switch (seat) {
        case 1:
          return QRect(b.x + 22, b.y + 2, 18, b.h - 4);
        case 3:
          return QRect(b.x + 2, b.y + 2, 18, b.h - 4);
        default:
          return QRect(b.x + 2, b.y + 22, b.w - 4, 18);
      }
    };
    for (int seat = 1; seat <= 3; ++seat) {
      QCOMPARE(int(s.SeatTilesShown[seat]), int(kTilesHidden));
      for (int slot = 1; slot <= kSlots; ++slot) {
        const QRect r = standing(seat, slot);
        int differs = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
          for (int x = r.left(); x <= r.right(); ++x) {
            differs += surface.pixel(x, y) != mesa.Marmol().pixel(x, y);
          }
        }
        // A held tile shows its back; a played one is simply gone.
        if (s.Hand[seat][slot].State == 0) {
          QVERIFY2(differs > r.width() * r.height() / 2, qPrintable(QString::number(seat)));
        } else {
          QCOMPARE(differs, 0);
        }
      }
    }
    // Seat 4 is visible: under "Cambian de color" a played tile stays, inverted.
    s.RulePlayedTilesShown = kPlayedInverted;
    int played = 0;
    for (int slot = 1; slot <= kSlots; ++slot) played = s.Hand[4][slot].State ? slot : played;
    QVERIFY(played != 0);
    mesa.Painter().DrawHand(4);
    const HandTileLook look = LookOfHandTile(s, 4, played);
    QVERIFY(look.Inverted);
    const QPoint inside(look.Invert.x + 3, look.Invert.y + 40);
    const QRgb shown = surface.pixel(inside);
    s.Hand[4][played].State = 0;
    mesa.Painter().DrawHand(4);
    QCOMPARE(surface.pixel(inside), 0xFF000000 | (~shown & 0xFFFFFF));
  }

  // A tile dragged out of the hand and dropped elsewhere stays where it was.
  // (Turning and swapping tiles are played with a real mouse end to end.)
  void aTileDroppedOutsideTheHandStaysPut() {
    GameState s = PlayedTo(1, 800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    int slot = 1;
    while (s.Hand[4][slot].State != 0) ++slot;
    const HandTileLook l = LookOfHandTile(s, 4, slot);
    const auto hand = s.Hand[4];
    mesa.Modes().OrderMode = true;
    QTest::mousePress(&mesa, Qt::LeftButton, {}, QPoint(l.Face.x + 20, l.Face.y + 38));
    QVERIFY(mesa.Modes().DragActive);
    QTest::mouseMove(&mesa, QPoint(400, 300));
    QTest::mouseRelease(&mesa, Qt::LeftButton, {}, QPoint(400, 300));
    QVERIFY(!mesa.Modes().DragActive);
    QVERIFY(s.Hand[4] == hand);
  }

  void theLeaderIsChosenWithAClickOnItsHand() {
    GameState s = PlayedTo(1, 800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    QtTablePort port(s, mesa);
    const Rect hand = HandArea(s.Table, 3);
    QTimer::singleShot(30, &mesa, [&] {
      QVERIFY(mesa.Modes().ChoosingLeader);
      const QPoint at(hand.x + 20, hand.y + 100);
      QTest::mouseClick(&mesa, Qt::LeftButton, {}, at);
    });
    QCOMPARE(port.ChooseLeader(), 3);
    QVERIFY(!mesa.Modes().ChoosingLeader);
  }

  void theEndArrowsWaitForAClick() {
    GameState s = PlayedTo(3, 800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    s.GameSpeed = 100;
    QtTablePort port(s, mesa);
    QTimer::singleShot(30, &mesa, [&] {
      QVERIFY(mesa.ArrowsShowing());
      const Point p = EndArrowPointOf(s, 1);
      // Over an arrow the pointer is the hand every control shows.
      QTest::mouseMove(&mesa, QPoint(p.x + 10, p.y + 10));
      QCOMPARE(mesa.cursor().shape(), Qt::BitmapCursor);
      QTest::mouseClick(&mesa, Qt::LeftButton, {}, QPoint(p.x + 10, p.y + 10));
    });
    QCOMPARE(port.AskEnd(), 1);
    QVERIFY(!mesa.ArrowsShowing());
  }

  // A seat renamed in the settings shows its new name as the window closes,
  // with no match under way as well as in one.
  void aRenamedSeatShowsAtOnce() {
    for (const bool match : {false, true}) {
      GameState s = PlayedTo(9, 800, 600);
      s.MatchInProgress = match;
      Mesa mesa(s);
      mesa.LayOut();
      const Rect r = WholeNameArea(s.Table, 4);
      const QImage before = mesa.Surface().copy(r.x, r.y, r.w, r.h);
      s.SeatName[4] = "Zacarías";
      BringTableUpToDate(s, mesa);
      QVERIFY2(mesa.Surface().copy(r.x, r.y, r.w, r.h) != before, match ? "match" : "no match");
    }
  }
};

QTEST_MAIN(TableTest)
#include "table_test.moc"
