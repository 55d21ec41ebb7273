#include "table/qt_table_port.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <chrono>
#include <thread>

#include "dialogs/message_dialog.h"
#include "engine/recorder.h"
#include "engine/turn_loop.h"
#include "layout/manual_deal.h"
#include "layout/placement.h"
#include "model/clock.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "platform/cursors.h"
#include "platform/waits.h"
#include "table/table_window.h"

namespace tarvelis {

QtTablePort::QtTablePort(GameState& state, Mesa& mesa) : state_(state), mesa_(mesa) {
  if (TestStatusWanted()) SetOpenProbe([this] { return OpenLines(); });
}

QtTablePort::~QtTablePort() {
  if (TestStatusWanted()) SetOpenProbe({});
}

QStringList QtTablePort::OpenLines() const {
  const TableModes& m = mesa_.Modes();
  QStringList lines{QStringLiteral("drag %1").arg(m.DragActive ? 1 : 0),
                    QStringLiteral("order %1").arg(m.OrderMode ? 1 : 0),
                    QStringLiteral("turn %1").arg(m.TurnMode ? 1 : 0),
                    // A networked table only watched: nothing on it is played.
                    QStringLiteral("watched %1").arg(m.Watching ? 1 : 0)};
  // While the continue button is up: the tiles the seat to move may play, so
  // a script clicks one it knows is taken.
  const int seat = state_.CurrentSeat;
  if (state_.NoticeShown && seat >= 1 && seat <= kSeats) {
    QString playable = QStringLiteral("playable");
    for (int slot = 1; slot <= kSlots; ++slot) {
      if (EsJugable(state_, seat, slot)) playable += QStringLiteral(" %1").arg(slot);
    }
    lines << playable;
  }
  return lines;
}

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString NoticeLine(const GameState& s, std::string_view label) {
  return (QStringLiteral("notice %1 hand %2 move %3 seat %4")
              .arg(FromUtf8(label))
              .arg(s.HandNumber)
              .arg(s.MoveNumber)
              .arg(s.CurrentSeat));
}

}  // namespace

bool QtTablePort::MustStop() const {
  return ctx_ != nullptr && ctx_->MustStop();
}

template <class Done>
void QtTablePort::WaitUntil(Done done, const QString& report) {
  // What the user pressed while the table was busy, or the second click of a
  // double click that answered the last wait, is not an answer to what it
  // asks now: it would dismiss the next notice, which may be the user's own
  // turn.
  const UserWait wait;
  ++userWaits_;
  // Told only now, so a test's click made as soon as it reads the line is
  // never taken for a stale one.
  if (!report.isEmpty()) ReportTestStatus(report);
  // Sleeps until the window system has something: a waiting table costs no
  // processor time.
  while (!done() && !MustStop()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
  }
  --userWaits_;
}

void QtTablePort::YieldToWindows() {
  // Input read during the waits' repaints was set aside, and the window
  // system's queue is only looked at again when it is woken: woken here, so
  // that a click made during a step arrives now, not after the next event.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
  QCoreApplication::processEvents();
}

bool QtTablePort::ShowMessage(const std::string& title, const std::string& text, int picture,
                              int buttons) {
  if (MustStop()) return false;
  const UserWait wait;
  return tarvelis::ShowMessage(state_, QString::fromStdString(title), QString::fromStdString(text),
                               picture, buttons, &mesa_);
}

int QtTablePort::WaitForNotice(std::string_view label) {
  // A click or an answer from before the wait chooses nothing.
  mesa_.TakeClickedSlot();
  mesa_.TakeNoticeAnswer();
  mesa_.ShowNotice(FromUtf8(label));
  mesa_.RefreshPointer();
  if (onNotice) onNotice();
  // The recorder's "play on from here" ends the wait by clearing NoticeShown.
  WaitUntil([&] { return mesa_.NoticeAnswered() || !state_.NoticeShown; },
            NoticeLine(state_, label));
  if (mesa_.TakeNoticeAnswer()) state_.NoticeShown = false;
  mesa_.HideNotice();
  mesa_.setCursor(BusyCursor());
  return mesa_.TakeClickedSlot();
}

void QtTablePort::ClearTableForDeal() {
  lines_.clear();
  selected_ = -1;
  mesa_.Painter().Revealed = false;
  mesa_.Painter().DrawAll();
  mesa_.Show();
  if (onRecorderList) onRecorderList();
}

void QtTablePort::GameLoaded() {
  // A networked match stays one through a table drawn again.
  const bool networked = mesa_.Modes().Networked;
  const bool watching = mesa_.Modes().Watching;
  mesa_.Modes() = TableModes{};
  mesa_.Modes().Networked = networked;
  mesa_.Modes().Watching = watching;
  ClearTableForDeal();
  for (int move = 1; move < state_.MoveNumber; ++move) {
    RecorderLineAdded(move, RecorderLine(state_, move));
  }
}

void QtTablePort::DrawHand(int seat) {
  if (mesa_.Painter().Revealed && state_.HandInProgress) {
    // The hand was reopened from its end message: the hands go back to their
    // own looks and the domino picture goes.
    mesa_.Painter().Revealed = false;
    mesa_.Painter().DrawAll();
  }
  mesa_.Painter().DrawHand(seat);
  mesa_.Painter().DrawSeatNames();
  mesa_.Show();
}

void QtTablePort::DrawScoreboard() {
  mesa_.Painter().DrawButtonsAndScore();
  mesa_.Show();
}

void QtTablePort::HandClosed(bool domino) {
  TablePainter& p = mesa_.Painter();
  p.Revealed = true;
  p.DrawHands();
  if (domino) p.DrawDomino();
  mesa_.Show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

double QtTablePort::StepSeconds(int gameSpeed) {
  // A tile crosses an 800-pixel table in about half a second at speed 50.
  return WaitSeconds(6, gameSpeed) / 2.5;
}

int QtTablePort::SlotOfMove(int move) const {
  const MoveEntry& e = state_.MoveRecord[move];
  return BuscaHueco(state_, e[kFPipA], e[kFPipB], e[kFSeat]);
}

void QtTablePort::Travel(QPoint from, QPoint to, QSize size) {
  // Steps of 8 pixels on each axis towards the target; an axis that arrives
  // stops there while the other goes on. Every step is painted. Both ends lie
  // on the table whatever the record says, so the trip is never longer than
  // the table and every step can be seen.
  const Point start =
      KeepOnTable(state_.Table, Point{from.x(), from.y()}, size.width(), size.height());
  const Point end = KeepOnTable(state_.Table, Point{to.x(), to.y()}, size.width(), size.height());
  from = QPoint(start.x, start.y);
  to = QPoint(end.x, end.y);
  QPoint at = from;
  const double pause = StepSeconds(state_.GameSpeed);
  // Each step waits for its own time from the start, so the time a step takes
  // to draw is not added to the trip (bench_table_draw, BM_TravelStep).
  const auto began = MonoClock::now();
  int steps = 0;
  const int stepX = at.x() == to.x() ? 0 : (at.x() > to.x() ? 8 : -8);
  const int stepY = at.y() == to.y() ? 0 : (at.y() > to.y() ? 8 : -8);
  while (at != to) {
    const int dx = at.x() == to.x() ? 0 : stepX;
    const int dy = at.y() == to.y() ? 0 : stepY;
    at -= QPoint(dx, dy);
    if (dx != 0 && (at.x() - to.x()) * dx <= 0) at.setX(to.x());
    if (dy != 0 && (at.y() - to.y()) * dy <= 0) at.setY(to.y());
    mesa_.MoveMover(at);
    const std::chrono::duration<double> gone = MonoClock::now() - began;
    SleepRepainting(++steps * pause - gone.count());
  }
}

void QtTablePort::ShowLaidTile(int move) {
  const MoveEntry& e = state_.MoveRecord[move];
  const int seat = e[kFSeat];
  TablePainter& p = mesa_.Painter();
  p.DrawHand(seat);
  p.DrawSeatNames();
  mesa_.Show();
  const Point start = TravelStartPoint(state_, seat, SlotOfMove(move));
  const QImage tile = p.ComposeTile(move);
  Espera(state_, 10);
  TocaSonido(state_, Sound::kTileMoves);
  mesa_.ShowMover(tile, QPoint(start.x, start.y));
  // In table pixels, whatever the picture's own scale.
  const QSize size(e[kFTileWidth], e[kFTileHeight]);
  mesa_.ShowNow(QRect(QPoint(start.x, start.y), size));
  Espera(state_, 30);
  TocaSonido(state_, Sound::kTileShown);
  Travel(QPoint(start.x, start.y), QPoint(e[kFTileLeft], e[kFTileTop]), size);
  p.DrawChainTile(move);
  mesa_.HideMover();
  mesa_.Show(QRect(e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]));
  if (move != 1) TocaSonido(state_, Sound::kTileLaid);
}

void QtTablePort::TakeBackTile(int move) {
  const MoveEntry& e = state_.MoveRecord[move];
  const int seat = e[kFSeat];
  TablePainter& p = mesa_.Painter();
  const QRect tile(e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]);
  // Restoring the tile's place may cut the neighbours it overlapped by two
  // pixels; every earlier tile is drawn again so they come out whole.
  p.Restore(tile);
  p.DrawChain(move - 1);
  mesa_.Show(tile);
  const Point target = TravelStartPoint(state_, seat, SlotOfMove(move));
  const QImage picture = p.ComposeTile(move);
  mesa_.ShowMover(picture, tile.topLeft());
  Espera(state_, 10);
  Travel(tile.topLeft(), QPoint(target.x, target.y), tile.size());
  p.DrawHand(seat);
  p.DrawSeatNames();
  mesa_.HideMover();
  mesa_.Show();
  TocaSonido(state_, Sound::kTileMoves);
}

void QtTablePort::ShowPassSign(int seat) {
  TablePainter& p = mesa_.Painter();
  const QRect r = p.PassSignRect(seat);
  Espera(state_, 30);
  for (int blink = 0; blink < 2 && !MustStop(); ++blink) {
    p.DrawPassSign(seat);
    mesa_.ShowNow(r);
    TocaSonido(state_, Sound::kPass);
    Espera(state_, 80);
    p.Restore(r);
    p.DrawChain(state_.MoveNumber - 1);
    mesa_.ShowNow(r);
    Espera(state_, 40);
  }
}

int QtTablePort::AskEnd() {
  mesa_.unsetCursor();
  mesa_.TakeChosenEnd();
  mesa_.Modes().WaitingForEnd = true;
  for (int blink = 0; blink < 2 && mesa_.Modes().WaitingForEnd && !MustStop(); ++blink) {
    mesa_.ShowArrows(false);
    Espera(state_, 30);
    mesa_.ShowArrows(true);
    TocaSonido(state_, Sound::kPass);
    Espera(state_, 60);
  }
  mesa_.ShowArrows(true);
  const Point end1 = EndArrowPointOf(state_, 1);
  const Point end2 = EndArrowPointOf(state_, 2);
  WaitUntil([&] { return !mesa_.Modes().WaitingForEnd; },
            QStringLiteral("arrows move %1 end1 %2 %3 end2 %4 %5")
                .arg(state_.MoveNumber)
                .arg(end1.x)
                .arg(end1.y)
                .arg(end2.x)
                .arg(end2.y));
  mesa_.Modes().WaitingForEnd = false;
  mesa_.ShowArrows(false);
  mesa_.setCursor(BusyCursor());
  const int end = mesa_.TakeChosenEnd();
  if (MustStop()) return 0;
  return end == 2 ? 2 : 1;
}

void QtTablePort::ThinkingPause(int seat) {
  // A hand sweeps over the seat's tiles: along the hand, back, and along again.
  TablePainter& p = mesa_.Painter();
  const int wait = 50 - 3 * state_.SeatTileCount[seat];
  int last = 0;
  const int order[3][2] = {{1, 1}, {kSlots, -1}, {1, 1}};
  for (const auto& pass : order) {
    for (int i = 0, slot = pass[0]; i < kSlots; ++i, slot += pass[1]) {
      if (MustStop()) return;
      if (state_.Hand[seat][slot].State != 0 || slot == last) continue;
      p.DrawThinkingHand(seat, slot);
      mesa_.ShowNow();
      Espera(state_, wait);
      p.DrawHand(seat);
      p.DrawSeatNames();
      mesa_.ShowNow();
      last = slot;
    }
  }
}

int QtTablePort::ChooseLeader() {
  TablePainter& p = mesa_.Painter();
  p.DrawLeaderPanel();
  mesa_.Show();
  mesa_.ResetChosenLeader();
  mesa_.Modes().ChoosingLeader = true;
  mesa_.RefreshPointer();
  WaitUntil([&] { return !mesa_.Modes().ChoosingLeader; });
  mesa_.Modes().ChoosingLeader = false;
  p.Restore(p.LeaderPanelRect());
  p.DrawChain(state_.MoveNumber - 1);
  mesa_.Show();
  mesa_.setCursor(CursorOfKind(1));
  return MustStop() ? 0 : mesa_.ChosenLeader();
}

bool QtTablePort::RunManualDeal() {
  if (ctx_ == nullptr) return false;
  // Empty hands: no slot holds a tile until the user gives it one.
  for (int seat = 1; seat <= kSeats; ++seat) {
    state_.SeatTileCount[seat] = 0;
    for (int slot = 1; slot <= kSlots; ++slot)
      state_.Hand[seat][slot] = HandSlot{kNoPip, kNoPip, 0};
  }
  mesa_.Modes().AllTilesFaceUp = true;
  ManualDeal deal;
  deal.Lay(ctx_->Rng);
  TablePainter& p = mesa_.Painter();
  p.DrawHands();
  // The tiles are laid one by one, so the user sees the deal being prepared.
  ManualDeal shown;
  for (int row = 0; row < kDealRows && !MustStop(); ++row) {
    for (int col = 0; col < kDealCols && !MustStop(); ++col) {
      if (!deal.CellHoldsTile(row, col)) continue;
      shown.RevealCellFrom(deal, row, col);
      p.DrawDealingArea(shown);
      mesa_.ShowNow();
      Espera(state_, 20);
    }
  }
  mesa_.SetManualDeal(&deal);
  WaitUntil([&] { return ManualDeal::Complete(state_) || state_.RuleDealing != kDealManual; });
  mesa_.SetManualDeal(nullptr);
  mesa_.Modes().AllTilesFaceUp = false;
  const Rect area = DealingArea(state_.Table);
  p.Restore(Rect{area.x - 60, area.y - 24, area.w + 120, area.h + 24});
  p.DrawHands();
  mesa_.Show();
  return !MustStop() && ManualDeal::Complete(state_);
}

void QtTablePort::PlaySound(Sound sound) {
  TocaSonido(state_, sound);
}

bool QtTablePort::WaitWhile(const std::function<bool()>& busy) {
  // The work ends on its own thread without telling the window system, so
  // the table looks for it every few hundredths between events.
  while (busy() && !MustStop()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (busy()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return !MustStop();
}

void QtTablePort::Wait(int hundredths) {
  if (!MustStop()) Espera(state_, hundredths);
}

void QtTablePort::RecorderLineAdded(int move, const std::string& text) {
  while (lines_.size() >= move) lines_.removeLast();
  while (lines_.size() < move - 1) lines_.append(QString());
  lines_.append(QString::fromStdString(text));
  selected_ = move - 1;
  if (onRecorderList) onRecorderList();
}

void QtTablePort::RecorderSelect(int index) {
  selected_ = index;
  if (onRecorderList) onRecorderList();
}

void QtTablePort::AppendHistory() {
  if (onAppendHistory) onAppendHistory();
}

}  // namespace tarvelis
