#include "table/table_window.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>
#include <cmath>

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

// A picture's size in table pixels, whatever its pixels per table pixel.
QSize TableSizeOf(const QImage& picture) {
  const QSizeF size = picture.deviceIndependentSize();
  return QSize(static_cast<int>(std::lround(size.width())),
               static_cast<int>(std::lround(size.height())));
}

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
  menu_->isTicked = [this](OptionEntry e) {
    if (e == kWindowedTable) return !isFullScreen();
    if (e == kClassicTable) return classicChosen && classicChosen();
    return false;
  };
}

Mesa::~Mesa() = default;

void Mesa::LayOut() {
  const TableGeometry& g = state_.Table;
  const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
  background_ = QImage(g.ScreenWidthPx, g.ScreenHeightPx, QImage::Format_ARGB32);
  if (marble.isNull()) {
    background_.fill(QColor(0x1E, 0x4A, 0x2C));
  } else {
    // The marble is repeated from the top left corner where the table is larger.
    for (int y = 0; y < background_.height(); y += marble.height()) {
      for (int x = 0; x < background_.width(); x += marble.width()) {
        Blit(background_, x, y, marble.width(), marble.height(), marble, 0, 0, RasterOp::Copy);
      }
    }
  }
  // A window nobody has sized yet takes the table's own size.
  if (!testAttribute(Qt::WA_Resized)) resize(g.ScreenWidthPx, g.ScreenHeightPx);
  FitToWindow();
  BuildPictures();
}

void Mesa::ReplaceBackground(const QImage& background) {
  background_ = background.convertToFormat(QImage::Format_ARGB32);
  BuildPictures();
}

void Mesa::BuildPictures() {
  const QSize device(ScaledEdge(background_.width(), pictureScale_),
                     ScaledEdge(background_.height(), pictureScale_));
  if (pictureScale_ == 1.0) {
    marmol_ = background_;
  } else {
    // The background is a picture like any other: blown up smoothly once.
    // Opaque pixels without an alpha channel go to the screen as a plain copy,
    // which at 3840 x 2160 is most of the cost of showing the whole table.
    marmol_ = background_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
  }
  marmol_.setDevicePixelRatio(pictureScale_);
  surface_ = marmol_.copy();
  surface_.setDevicePixelRatio(pictureScale_);
  painter_->PictureReplaced();
  painter_->DrawAll();
  if (deal_ != nullptr) painter_->DrawDealingArea(*deal_);
  update();
}

void Mesa::FitToWindow() {
  const TableSize table{state_.Table.ScreenWidthPx, state_.Table.ScreenHeightPx};
  view_ = FitTable(table, width(), height(), unscaled_);
  // Never fewer picture pixels than table pixels: a window smaller than the
  // table shows the picture brought down as a whole.
  pictureScale_ = std::max(1.0, view_.Factor * devicePixelRatioF());
  SetWindowScale(view_.Factor);
}

void Mesa::SetUnscaled(bool unscaled) {
  unscaled_ = unscaled;
  const double before = pictureScale_;
  FitToWindow();
  if (pictureScale_ != before && !background_.isNull()) BuildPictures();
  update();
}

void Mesa::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const double before = pictureScale_;
  FitToWindow();
  if (pictureScale_ != before && !background_.isNull()) BuildPictures();
  // The widgets over the table follow it to its new place and size.
  if (recorder_ != nullptr) recorder_->Refresh();
  menu_->hide();
}

QRect Mesa::ToWindowRect(const QRect& table) const {
  const Rect r = ToWindow(view_, Rect{table.x(), table.y(), table.width(), table.height()});
  return QRect(r.x, r.y, r.w, r.h);
}

QPoint Mesa::ToTablePoint(QPointF window) const {
  const Point p = ToTable(view_, window.x(), window.y());
  return QPoint(p.x, p.y);
}

void Mesa::ToggleFullScreen() {
  if (isFullScreen()) {
    showNormal();
  } else {
    // Sized to the screen first: without a window manager to honour the
    // full-screen request, the window would keep its size.
    setGeometry(screen()->geometry());
    showFullScreen();
  }
  if (onLookChanged) onLookChanged();
}

QRect Mesa::ButtonRect(int n) const {
  const ButtonPlace place = PlaceOfButton(n, state_.Table);
  return QRect(place.x, place.y, place.w, place.h);
}

void Mesa::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect r = event->rect();
  // Window pixels per picture pixel: 1 / the screen's ratio when the picture
  // holds the screen's own pixels, less when a window smaller than the table
  // shows a picture kept at one pixel per table pixel.
  const double perPixel = view_.Factor / pictureScale_;
  const QRect table(static_cast<int>(view_.OffsetX), static_cast<int>(view_.OffsetY),
                    static_cast<int>(std::floor(surface_.width() * perPixel)),
                    static_cast<int>(std::floor(surface_.height() * perPixel)));
  if (!table.contains(r)) {
    // The margin the window's shape leaves is marble too, at the table's scale.
    static const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
    QBrush brush(marble);
    brush.setTransform(QTransform::fromScale(view_.Factor, view_.Factor));
    QRegion margin(r);
    margin -= table;
    for (const QRect& piece : margin) painter.fillRect(piece, brush);
  }
  const QRect shown = r & table;
  if (!shown.isEmpty()) {
    // The picture is drawn at the screen's own pixels: copied, never scaled.
    // (Source and target rectangles both given, its own pixel ratio is not
    // applied a second time.)
    const QRectF from((shown.x() - table.x()) / perPixel, (shown.y() - table.y()) / perPixel,
                      shown.width() / perPixel, shown.height() / perPixel);
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          pictureScale_ != view_.Factor * devicePixelRatioF());
    painter.drawImage(QRectF(shown), surface_, from);
  }
  // The pieces over the table are placed in table pixels.
  painter.translate(view_.OffsetX, view_.OffsetY);
  painter.scale(view_.Factor, view_.Factor);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, view_.Factor != 1.0);
  if (arrowsShowing_) {
    // Cut out at the picture's own scale, from the sharper strip: as sharp as
    // the tiles they point along.
    const auto arrow = [this](const art::Cell& c, const art::Cell& m) {
      return ShapedPicture(TheStrips().Piezas, c.x, c.y, c.w, c.h, m.x, m.y, pictureScale_);
    };
    painter.drawImage(ArrowRect(1).topLeft(), arrow(art::kArrowRight, art::kArrowRightMask));
    painter.drawImage(ArrowRect(2).topLeft(), arrow(art::kArrowLeft, art::kArrowLeftMask));
  }
  if (moverVisible_) painter.drawImage(moverAt_, mover_);
  for (const auto& [at, picture] : overlays_) painter.drawImage(at, picture);
}

void Mesa::ShowOverlays(std::vector<std::pair<QPoint, QImage>> overlays) {
  HideOverlays();
  overlays_ = std::move(overlays);
  for (const auto& [at, picture] : overlays_) ShowNow(QRect(at, TableSizeOf(picture)));
}

void Mesa::HideOverlays() {
  std::vector<std::pair<QPoint, QImage>> shown;
  shown.swap(overlays_);
  for (const auto& [at, picture] : shown) ShowNow(QRect(at, TableSizeOf(picture)));
}

// ---------------------------------------------------------------------------
// Pieces shown over the table.

void Mesa::ShowMover(const QImage& picture, QPoint at) {
  mover_ = picture;
  moverAt_ = at;
  moverVisible_ = true;
  Show(QRect(at, TableSizeOf(picture)));
}

void Mesa::MoveMover(QPoint at) {
  const QRect before(moverAt_, TableSizeOf(mover_));
  moverAt_ = at;
  ShowNow(before.united(QRect(at, TableSizeOf(mover_))));
}

void Mesa::HideMover() {
  moverVisible_ = false;
  Show(QRect(moverAt_, TableSizeOf(mover_)));
}

void Mesa::ShowNotice(const QString& label) {
  noticeUp_ = true;
  if (!label.isNull()) painter_->DrawContinueButton(label);
  Show(painter_->ContinueButtonRect());
}

void Mesa::HideNotice() {
  noticeUp_ = false;
  painter_->Restore(painter_->ContinueButtonRect());
  Show(painter_->ContinueButtonRect());
}

QRect Mesa::ArrowRect(int end) const {
  const Point p = EndArrowPointOf(state_, end);
  const art::Cell& cell = end == 1 ? art::kArrowRight : art::kArrowLeft;
  return QRect(p.x, p.y, cell.w, cell.h);
}

void Mesa::ShowArrows(bool visible) {
  arrowsShowing_ = visible;
  ShowNow(ArrowRect(1).united(ArrowRect(2)));
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
    const QSize size = TableSizeOf(mover_);
    dragGrab_ = QPoint(size.width() / 2, size.height() / 2);
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

void Mesa::closeEvent(QCloseEvent* event) {
  // The window manager's close button and Alt+F4 are the exit button: the
  // program saves and quits by itself when the user agrees.
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  if (onClose) {
    onClose();
  } else if (onButton) {
    onButton(kExitButton);
  }
}

}  // namespace tarvelis
