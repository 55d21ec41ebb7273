#include "table/table_window.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/manual_deal.h"
#include "layout/pointer_rules.h"
#include "model/move_rules.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/keys.h"
#include "platform/raster.h"
#include "platform/waits.h"
#include "table/options_menu.h"
#include "table/recorder_panel.h"
#include "table/strips.h"

namespace tarvelis {
namespace {

Point ToPoint(QPoint p) {
  return Point{p.x(), p.y()};
}

// A right press that moves less than this before its release is a click.
constexpr int kMenuDragSlack = 4;

}  // namespace

Mesa::Mesa(GameState& state, QWidget* parent) : QWidget(parent), state_(state) {
  setObjectName(QStringLiteral("Mesa"));
  setWindowTitle(QStringLiteral("TARVELIS"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  painter_ = std::make_unique<TablePainter>(state_, modes_, surface_, marmol_);
  menu_ = new OptionsMenu(modes_, this);
  menu_->onChosen = [this](OptionEntry e) { OnOption(e); };
}

Mesa::~Mesa() = default;

void Mesa::LayOut() {
  const TableGeometry& g = state_.Table;
  const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
  marmol_ = QImage(g.ScreenWidthPx, g.ScreenHeightPx, QImage::Format_ARGB32);
  if (marble.isNull()) {
    marmol_.fill(QColor(0x1E, 0x4A, 0x2C));
  } else {
    // The marble is repeated from the top left corner where the table is larger.
    for (int y = 0; y < marmol_.height(); y += marble.height()) {
      for (int x = 0; x < marmol_.width(); x += marble.width()) {
        Blit(marmol_, x, y, marble.width(), marble.height(), marble, 0, 0, RasterOp::Copy);
      }
    }
  }
  surface_ = marmol_.copy();
  resize(g.ScreenWidthPx, g.ScreenHeightPx);
  painter_->DrawAll();
  update();
}

void Mesa::ReplaceBackground(const QImage& background) {
  marmol_ = background.convertToFormat(QImage::Format_ARGB32);
  surface_ = marmol_.copy();
  painter_->DrawAll();
  if (deal_ != nullptr) painter_->DrawDealingArea(*deal_);
  update();
}

QRect Mesa::ButtonRect(int n) const {
  const ButtonPlace place = PlaceOfButton(n, state_.Table);
  return QRect(place.x, place.y, place.w, place.h);
}

void Mesa::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect r = event->rect();
  painter.drawImage(r.topLeft(), surface_, r);
  if (arrowsShowing_) {
    static const QImage right =
        CutOut(TheStrips().Piezas, art::kArrowRight.x, art::kArrowRight.y, art::kArrowRight.w,
               art::kArrowRight.h, art::kArrowRightMask.x, art::kArrowRightMask.y);
    static const QImage left =
        CutOut(TheStrips().Piezas, art::kArrowLeft.x, art::kArrowLeft.y, art::kArrowLeft.w,
               art::kArrowLeft.h, art::kArrowLeftMask.x, art::kArrowLeftMask.y);
    painter.drawImage(ArrowRect(1).topLeft(), right);
    painter.drawImage(ArrowRect(2).topLeft(), left);
  }
  if (moverVisible_) painter.drawImage(moverAt_, mover_);
  for (const auto& [at, picture] : overlays_) painter.drawImage(at, picture);
}

void Mesa::ShowOverlays(std::vector<std::pair<QPoint, QImage>> overlays) {
  HideOverlays();
  overlays_ = std::move(overlays);
  for (const auto& [at, picture] : overlays_) repaint(QRect(at, picture.size()));
}

void Mesa::HideOverlays() {
  std::vector<std::pair<QPoint, QImage>> shown;
  shown.swap(overlays_);
  for (const auto& [at, picture] : shown) repaint(QRect(at, picture.size()));
}

// ---------------------------------------------------------------------------
// Pieces shown over the table.

void Mesa::ShowMover(const QImage& picture, QPoint at) {
  mover_ = picture;
  moverAt_ = at;
  moverVisible_ = true;
  update(QRect(at, picture.size()));
}

void Mesa::MoveMover(QPoint at) {
  const QRect before(moverAt_, mover_.size());
  moverAt_ = at;
  repaint(before.united(QRect(at, mover_.size())));
}

void Mesa::HideMover() {
  moverVisible_ = false;
  update(QRect(moverAt_, mover_.size()));
}

void Mesa::ShowNotice(const QString& label) {
  noticeUp_ = true;
  if (!label.isNull()) painter_->DrawContinueButton(label);
  update(painter_->ContinueButtonRect());
}

void Mesa::HideNotice() {
  noticeUp_ = false;
  painter_->Restore(painter_->ContinueButtonRect());
  update(painter_->ContinueButtonRect());
}

QRect Mesa::ArrowRect(int end) const {
  const Point p = EndArrowPointOf(state_, end);
  const art::Cell& cell = end == 1 ? art::kArrowRight : art::kArrowLeft;
  return QRect(p.x, p.y, cell.w, cell.h);
}

void Mesa::ShowArrows(bool visible) {
  arrowsShowing_ = visible;
  repaint(ArrowRect(1).united(ArrowRect(2)));
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
  UpdatePointer(mapFromGlobal(QCursor::pos()));
}

bool Mesa::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    for (int n = 1; n <= kBarButtons; ++n) {
      if (ButtonRect(n).contains(help->pos())) {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(ButtonHint(n)), this);
        return true;
      }
    }
    if (recorder_ != nullptr && recorder_->Contains(help->pos())) {
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
  const QPoint at = event->position().toPoint();
  if (menuFromPress_ && menu_->isVisible()) {
    // The right button still held since it opened the menu: the table has
    // the mouse, and the menu follows it.
    menu_->HighlightAt(menu_->mapFrom(this, at));
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
  const QPoint at = event->position().toPoint();
  const bool left = event->button() == Qt::LeftButton;
  pressOnPlayable_ = false;
  menuFromPress_ = false;
  if (menu_->isVisible()) {
    // A press outside an open menu only closes it, as in every desktop menu;
    // a right press opens it again where it was made.
    menu_->hide();
    if (event->button() != Qt::RightButton) return;
  }
  if (event->button() == Qt::RightButton) {
    OpenOptionsMenu(at);
    menuFromPress_ = menu_->isVisible();
    menuPressAt_ = at;
    return;
  }
  if (recorder_ != nullptr && recorder_->Press(at, event->button())) return;
  if (left) {
    for (int n = 1; n <= kBarButtons; ++n) {
      if (ButtonRect(n).contains(at)) {
        if (!ButtonEnabled(state_, modes_, n)) return;
        modes_.OrderMode = modes_.TurnMode = false;
        if (onButton) onButton(n);
        return;
      }
    }
    if (noticeUp_ && state_.NoticeShown && !modes_.AllTilesFaceUp &&
        painter_->ContinueButtonRect().contains(at)) {
      GoOnFromNotice();
      return;
    }
    if (modes_.WaitingForEnd && PressOnArrow(at)) return;
    if (deal_ != nullptr) {
      PressDuringDeal(at);
      return;
    }
  }
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

void Mesa::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (menuFromPress_ && event->button() == Qt::RightButton) {
    menuFromPress_ = false;
    // Released where it was pressed, the menu stays open for a click; dragged
    // onto an entry, the entry is carried out; dragged off, the menu closes.
    if (menu_->isVisible() && (at - menuPressAt_).manhattanLength() > kMenuDragSlack) {
      if (!menu_->ChooseAt(menu_->mapFrom(this, at))) menu_->hide();
    }
    return;
  }
  if (modes_.DragActive) {
    // The tile goes where its middle is, which is where the user sees it.
    DropDragged(at - dragGrab_ + QPoint(mover_.width() / 2, mover_.height() / 2));
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
  menu_->Open(enabled, at);
}

void Mesa::OnOption(int entry) {
  if (entry == kOrderTiles || entry == kTurnTiles) {
    ToggleArrangeMode(modes_, static_cast<OptionEntry>(entry));
    RefreshPointer();
  } else if (entry == kAnalyseHand) {
    if (recorder_ != nullptr) recorder_->AnalyseHand();
  } else if (onSavedGames) {
    onSavedGames(entry);
  }
}

void Mesa::SetManualDeal(ManualDeal* deal) {
  deal_ = deal;
  if (deal_ == nullptr) HideMover();
  RefreshPointer();
}

void Mesa::ShowDeal() {
  painter_->DrawHands();
  painter_->DrawDealingArea(*deal_);
  if (deal_->Carrying()) {
    const DealTile& t = deal_->Carried();
    mover_ = painter_->SmallUprightTile(t.PipA, t.PipB);
    dragGrab_ = QPoint(mover_.width() / 2, mover_.height() / 2);
    moverVisible_ = true;
  } else {
    moverVisible_ = false;
  }
  update();
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
  mover_ = surface_.copy(face);
  dragGrab_ = at - face.topLeft();
  modes_.DragActive = true;
  modes_.DragSeat = hitSeat_;
  modes_.DragSlot = hitSlot_;
  dragState_ = state_.Hand[hitSeat_][hitSlot_].State;
  painter_->DrawHand(hitSeat_);
  update(QRect(face));
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
  if (menu_->isVisible()) {
    // A key closes an open menu and does nothing else.
    menu_->hide();
    menuFromPress_ = false;
    return;
  }
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

void Mesa::closeEvent(QCloseEvent* event) {
  // The window manager's close button and Alt+F4 are the exit button: the
  // program saves and quits by itself when the user agrees.
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  if (onButton) onButton(kExitButton);
}

}  // namespace tarvelis
