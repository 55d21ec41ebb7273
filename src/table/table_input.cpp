// The table window's input: the pointer, the mouse, the keys, the options
// menu, dragging and turning tiles and the manual deal. Clicks and keys made
// while the table was busy (a recorder run, a replay, a tile on its way) are
// dropped here, before any rule sees them.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <chrono>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/manual_deal.h"
#include "layout/pointer_rules.h"
#include "model/move_rules.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/keys.h"
#include "platform/waits.h"
#include "table/options_menu.h"
#include "table/recorder_panel.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

Point ToPoint(QPoint p) {
  return Point{p.x(), p.y()};
}

// A right press that moves less than this before its release is a click.
constexpr int kMenuDragSlack = 4;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void Mesa::SettleInput() {
  inputClock_.Settle(NowMs());
}

void Mesa::WakeInput() {
  // The window system's input read during a wait's repaints is set aside and
  // looked at again only when its queue is woken, by the next event it
  // brings: woken and read now, so that clicks already made arrive at once
  // (and are dropped at once when stale).
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
  QCoreApplication::processEvents();
}

bool Mesa::StaleInput(const QInputEvent* event) {
  return inputClock_.Stale(event->timestamp(), NowMs());
}

// ---------------------------------------------------------------------------
// The pointer.

void Mesa::UpdatePointer(QPoint at) {
  PointerFlags flags;
  flags.ArrowsShowing = arrowsShowing_;
  flags.OverControl = OverControl(at);
  if (deal_ != nullptr) {
    flags.CarryingTile = deal_->Carrying();
    flags.DealCellHoldsTile = [this](int row, int col) { return deal_->CellHoldsTile(row, col); };
  }
  int kind = ChoosePointer(state_, modes_, ToPoint(at), flags);
  // A button that cannot be pressed now says so; the recorder panel is
  // always a control.
  const int button = ButtonAt(state_.Table, at.x(), at.y());
  if (button != 0 && !ButtonEnabled(state_, modes_, button)) kind = kCursorNoDrop;
  if (recorder_ != nullptr && recorder_->Contains(at)) kind = kCursorManoIndice;
  if (kind != shownCursor_) {
    LoadPointer(this, kind);
    shownCursor_ = kind;
  }
}

bool Mesa::OverControl(QPoint at) const {
  for (int n = 1; n <= kBarButtons; ++n) {
    if (ButtonRect(n).contains(at)) return true;
  }
  // The end arrows take a click like any button.
  if (arrowsShowing_ && (ArrowRect(1).contains(at) || ArrowRect(2).contains(at))) return true;
  return noticeUp_ && painter_->ContinueButtonRect().contains(at);
}

void Mesa::RefreshPointer() {
  // The pointer may have been set apart from the rules (the hourglass): load
  // it again whatever was shown last.
  shownCursor_ = -1;
  UpdatePointer(ToTablePoint(mapFromGlobal(QCursor::pos())));
}

bool Mesa::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint at = ToTablePoint(help->pos());
    for (int n = 1; n <= kBarButtons; ++n) {
      if (ButtonRect(n).contains(at)) {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(ButtonHint(n)), this);
        return true;
      }
    }
    if (recorder_ != nullptr && recorder_->Contains(at)) {
      QToolTip::showText(help->globalPos(), QString::fromUtf8(kRecorderHint), this);
      return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  return QWidget::event(event);
}

// ---------------------------------------------------------------------------
// The mouse.

void Mesa::mouseMoveEvent(QMouseEvent* event) {
  // Every position is mapped back to the table before any rule sees it, so
  // the game plays as on the table it was laid out for.
  const QPoint at = ToTablePoint(event->position());
  // Every move ties the window system's clock to the table's a little better.
  StaleInput(event);
  if (menuFromPress_ && menu_->isVisible()) {
    // The right button still held since it opened the menu: the table has
    // the mouse, and the menu follows it.
    menu_->HighlightAt(menu_->mapFrom(this, event->position().toPoint()));
    return;
  }
  if (modes_.DragActive || (deal_ != nullptr && deal_->Carrying())) MoveMover(at - dragGrab_);
  UpdatePointer(at);
}

void Mesa::DismissNotice() {
  noticeAnswered_ = true;
  HideNotice();
}

bool Mesa::GoOnFromNotice() {
  if (recorder_ != nullptr && !recorder_->LetPlayGoOn()) return false;
  TocaSonido(state_, Sound::kButton);
  DismissNotice();
  return true;
}

bool Mesa::PressOnArrow(QPoint at) {
  for (int end = 1; end <= 2; ++end) {
    if (ArrowRect(end).contains(at)) {
      chosenEnd_ = end;
      modes_.WaitingForEnd = false;
      return true;
    }
  }
  return false;
}

void Mesa::mousePressEvent(QMouseEvent* event) {
  const QPoint at = ToTablePoint(event->position());
  const bool left = event->button() == Qt::LeftButton;
  pressOnPlayable_ = false;
  menuFromPress_ = false;
  if (StaleInput(event)) return;
  if (menu_->isVisible()) {
    // A press outside an open menu only closes it, as in every desktop menu;
    // a right press opens it again where it was made.
    menu_->hide();
    if (event->button() != Qt::RightButton) return;
  }
  if (event->button() == Qt::RightButton) {
    OpenOptionsMenu(at);
    menuFromPress_ = menu_->isVisible();
    menuPressAt_ = event->position().toPoint();
    return;
  }
  if (recorder_ != nullptr && recorder_->Press(at, event->button())) return;
  if (left && PressOnControls(at)) return;
  UpdatePointer(at);
  const HandHit hit = HitTestHand(state_.Table, ToPoint(at), true);
  hitSeat_ = hit.HitSeat;
  hitSlot_ = hit.HitSlot;
  switch (shownCursor_) {
    case kCursorOrdenar:
      if (modes_.OrderMode) StartDrag(at);
      return;
    case kCursorGirar:
      if (left) TurnTile();
      return;
    case kCursorManoIndice:
      if (left && modes_.ChoosingLeader) {
        TocaSonido(state_, Sound::kClose);
        chosenLeader_ = HitTestHand(state_.Table, ToPoint(at), false).HitSeat;
        modes_.ChoosingLeader = false;
      }
      return;
    case kCursorManoVerde:
      pressOnPlayable_ = left;
      return;
    default:
      break;
  }
  // While the game pauses before an automatic seat's move, a click anywhere
  // on the table goes on. A manual seat's turn is never given away by a stray
  // click: only its tile or the continue button go on.
  if (left && noticeUp_ && state_.NoticeShown && !modes_.AllTilesFaceUp &&
      state_.CurrentSeat >= 1 && state_.CurrentSeat <= kSeats &&
      state_.SeatControl[state_.CurrentSeat] != kManual) {
    GoOnFromNotice();
  }
}

bool Mesa::PressOnControls(QPoint at) {
  for (int n = 1; n <= kBarButtons; ++n) {
    if (ButtonRect(n).contains(at)) {
      if (!ButtonEnabled(state_, modes_, n)) return true;
      modes_.OrderMode = modes_.TurnMode = false;
      if (onButton) onButton(n);
      return true;
    }
  }
  if (noticeUp_ && state_.NoticeShown && !modes_.AllTilesFaceUp &&
      painter_->ContinueButtonRect().contains(at)) {
    GoOnFromNotice();
    return true;
  }
  if (modes_.WaitingForEnd && PressOnArrow(at)) return true;
  if (deal_ != nullptr) {
    PressDuringDeal(at);
    return true;
  }
  return false;
}

void Mesa::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = ToTablePoint(event->position());
  if (menuFromPress_ && event->button() == Qt::RightButton) {
    menuFromPress_ = false;
    // Released where it was pressed, the menu stays open for a click; dragged
    // onto an entry, the entry is carried out; dragged off, the menu closes.
    const QPoint onWindow = event->position().toPoint();
    if (menu_->isVisible() && (onWindow - menuPressAt_).manhattanLength() > kMenuDragSlack) {
      if (!menu_->ChooseAt(menu_->mapFrom(this, onWindow))) menu_->hide();
    }
    return;
  }
  if (modes_.DragActive) {
    // The tile goes where its middle is, which is where the user sees it.
    const QSize size = TableSizeOf(mover_);
    DropDragged(at - dragGrab_ + QPoint(size.width() / 2, size.height() / 2));
    return;
  }
  if (event->button() == Qt::LeftButton && pressOnPlayable_) ClickOnTile(at);
  pressOnPlayable_ = false;
}

void Mesa::ClickOnTile(QPoint at) {
  const HandHit hit = HitTestHand(state_.Table, ToPoint(at), true);
  const int seat = state_.CurrentSeat;
  if (!noticeUp_ || !state_.NoticeShown || hit.HitSeat != seat || hit.HitSlot == 0 ||
      state_.SeatControl[seat] != kManual || !EsJugable(state_, seat, hit.HitSlot)) {
    return;
  }
  if (recorder_ != nullptr && !recorder_->LetPlayGoOn()) return;
  clickedSlot_ = hit.HitSlot;
  TocaSonido(state_, Sound::kButton);
  DismissNotice();
}

void Mesa::OpenOptionsMenu(QPoint at) {
  const bool inHand = HitTestHand(state_.Table, ToPoint(at), false).HitSeat != 0;
  OptionFlags enabled =
      EnabledOptions(state_, modes_, inHand,
                     recorder_ != nullptr ? recorder_->ReviewStatus() : HandReviewStatus::kNone);
  if (recorder_ == nullptr) enabled[kAnalyseHand] = false;
  if (!onSavedGames) enabled[kSaveGame] = enabled[kLoadGame] = enabled[kDeleteGame] = false;
  if (!onClassicToggled) enabled[kClassicTable] = false;
  if (!onNetworkPlay) enabled[kNetworkPlay] = false;
  menu_->Open(enabled, ToWindowRect(QRect(at, QSize(1, 1))).topLeft());
}

void Mesa::OnOption(int entry) {
  if (entry == kOrderTiles || entry == kTurnTiles) {
    ToggleArrangeMode(modes_, static_cast<OptionEntry>(entry));
    RefreshPointer();
  } else if (entry == kWindowedTable) {
    ToggleFullScreen();
  } else if (entry == kClassicTable) {
    if (onClassicToggled) onClassicToggled();
  } else if (entry == kAnalyseHand) {
    if (recorder_ != nullptr) recorder_->AnalyseHand();
  } else if (entry == kNetworkPlay) {
    if (onNetworkPlay) onNetworkPlay();
  } else if (onSavedGames) {
    onSavedGames(entry);
  }
}

void Mesa::PressDuringDeal(QPoint at) {
  // Carrying a tile: a hand with room takes it, the area takes it back.
  // Otherwise a tile of the area or of a hand is picked up.
  const Point p = ToPoint(at);
  const DealCell cell = HallaFilyCol(state_.Table, p);
  const HandHit hand = HitTestHand(state_.Table, p, false);
  if (deal_->Carrying()) {
    if (hand.HitSeat != 0 && deal_->GiveTo(state_, hand.HitSeat)) {
      TocaSonido(state_, Sound::kTileMoves);
    } else if (DealingArea(state_.Table).Contains(p) && deal_->PutBack(cell.Row, cell.Col)) {
      TocaSonido(state_, Sound::kTileMoves);
    }
  } else {
    const HandHit strict = HitTestHand(state_.Table, p, true);
    if (deal_->PickFromCell(cell.Row, cell.Col) ||
        (strict.HitSlot != 0 && deal_->PickFromHand(state_, strict.HitSeat, strict.HitSlot))) {
      TocaSonido(state_, Sound::kButton);
    }
  }
  moverAt_ = at - QPoint(10, 21);
  ShowDeal();
  UpdatePointer(at);
}

void Mesa::StartDrag(QPoint at) {
  if (hitSeat_ == 0 || hitSlot_ == 0) return;
  const HandTileLook look = LookOfHandTile(state_, hitSeat_, hitSlot_);
  const QRect face(look.Face.x, look.Face.y, look.Face.w, look.Face.h);
  // The face as the picture holds it, at the picture's own scale.
  const double scale = surface_.devicePixelRatio();
  const int left = ScaledEdge(face.x(), scale);
  const int top = ScaledEdge(face.y(), scale);
  mover_ = surface_.copy(left, top, ScaledEdge(face.x() + face.width(), scale) - left,
                         ScaledEdge(face.y() + face.height(), scale) - top);
  mover_.setDevicePixelRatio(scale);
  dragGrab_ = at - face.topLeft();
  modes_.DragActive = true;
  modes_.DragSeat = hitSeat_;
  modes_.DragSlot = hitSlot_;
  dragState_ = state_.Hand[hitSeat_][hitSlot_].State;
  painter_->DrawHand(hitSeat_);
  Show(face);
  ShowMover(mover_, face.topLeft());
  TocaSonido(state_, Sound::kClose);
}

void Mesa::DropDragged(QPoint dropAt) {
  const int seat = modes_.DragSeat;
  const int from = modes_.DragSlot;
  const HandHit hit = HitTestHand(state_.Table, ToPoint(dropAt), false);
  // A tile is only ever moved within its own hand; anywhere else it goes back.
  if (hit.HitSeat == seat && hit.HitSlot >= 1 && hit.HitSlot <= kSlots) {
    HandSlot& a = state_.Hand[seat][from];
    HandSlot& b = state_.Hand[seat][hit.HitSlot];
    if (hit.HitSlot != from) {
      std::swap(a.PipA, b.PipA);
      std::swap(a.PipB, b.PipB);
      a.State = b.State;
    }
    b.State = static_cast<i16>(dragState_);
  }
  modes_.DragActive = false;
  modes_.DragSeat = 0;
  HideMover();
  painter_->DrawHand(seat);
  update();
  TocaSonido(state_, Sound::kTileMoves);
}

void Mesa::TurnTile() {
  if (hitSeat_ == 0 || hitSlot_ == 0) return;
  TocaSonido(state_, Sound::kClose);
  HandSlot& t = state_.Hand[hitSeat_][hitSlot_];
  std::swap(t.PipA, t.PipB);
  painter_->DrawHand(hitSeat_);
  update();
  TocaSonido(state_, Sound::kTileMoves);
}

// ---------------------------------------------------------------------------
// Keys and closing.

void Mesa::keyPressEvent(QKeyEvent* event) {
  if (StaleInput(event)) return;
  if (menu_->isVisible()) {
    // A key closes an open menu and does nothing else.
    menu_->hide();
    menuFromPress_ = false;
    return;
  }
  if (onKey && !event->isAutoRepeat() && onKey(event->key())) return;
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Q:
      // Out of the way without leaving the game.
      showMinimized();
      return;
    case Qt::Key_Plus:
      if (onTotaliser) onTotaliser();
      return;
    case Qt::Key_F1:
      if (onButton) onButton(kHelpButton);
      return;
    case Qt::Key_F11:
      ToggleFullScreen();
      return;
    default:
      break;
  }
  if (IsModifierOnly(event->key())) return;
  if (event->isAutoRepeat()) return;
  if (state_.NoticeShown && noticeUp_ && !modes_.AllTilesFaceUp) GoOnFromNotice();
  if (!state_.MatchInProgress && onButton && ButtonEnabled(state_, modes_, kNewMatchButton)) {
    onButton(kNewMatchButton);
  }
}

}  // namespace tarvelis
