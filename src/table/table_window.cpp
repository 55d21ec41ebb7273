// The table window's picture: laid out, fitted to the window, painted with
// its margins, and the pieces shown over it. Its input is table_input.cpp.
#include "table/table_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
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

// A window size that has stayed this long is the user's, and is remembered.
constexpr int kSizeRestMs = 600;

}  // namespace

QSize Mesa::TableSizeOf(const QImage& picture) {
  const QSizeF size = picture.deviceIndependentSize();
  return QSize(static_cast<int>(std::lround(size.width())),
               static_cast<int>(std::lround(size.height())));
}

Mesa::Mesa(GameState& state, QWidget* parent) : QWidget(parent), state_(state) {
  setObjectName(QStringLiteral("Mesa"));
  setWindowTitle(QStringLiteral("TARVELIS"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  painter_ = std::make_unique<TablePainter>(state_, modes_, surface_, marmol_);
  menu_ = new OptionsMenu(modes_, this);
  menu_->onChosen = [this](OptionEntry e) { OnOption(e); };
  sizeRest_.setSingleShot(true);
  connect(&sizeRest_, &QTimer::timeout, this, [this] {
    if (!isVisible() || isFullScreen() || isMaximized() || isMinimized()) return;
    // Without a window manager to keep to the smallest size, the table does.
    if (width() < minimumWidth() || height() < minimumHeight()) {
      resize(size().expandedTo(minimumSize()));
      return;  // the new size rests in its turn
    }
    if (onWindowSized) onWindowSized(size());
  });
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
  setMinimumSize(SmallestWindow());
  // A window nobody has sized yet takes the table's own size.
  if (!testAttribute(Qt::WA_Resized)) resize(g.ScreenWidthPx, g.ScreenHeightPx);
  FitToWindow();
  BuildPictures();
}

QSize Mesa::SmallestWindow() const {
  // Three quarters of the table keep the seats' names as large as a small
  // screen's letters; never less than the smallest screen the game knows,
  // never more than the screen.
  constexpr QSize kFloor(640, 480);
  QSize smallest = QSize(state_.Table.ScreenWidthPx * 3 / 4, state_.Table.ScreenHeightPx * 3 / 4)
                       .expandedTo(kFloor);
  if (screen() != nullptr) smallest = smallest.boundedTo(screen()->availableGeometry().size());
  return smallest;
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
  sizeRest_.start(kSizeRestMs);
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
    // The margin the window's shape leaves is marble too, at the table's
    // scale and laid from the table's own corner, as its background is: the
    // grain runs on from the table into the margins without a seam.
    static const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
    QBrush brush(marble);
    QTransform grain;
    grain.translate(table.x(), table.y());
    grain.scale(view_.Factor, view_.Factor);
    brush.setTransform(grain);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, view_.Factor != 1.0);
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
  // A tile of play has landed: what was clicked on its way is dropped. The
  // recorder's single steps keep every click, one step each.
  if (moverVisible_ && !state_.RecorderOn) SettleInput();
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

// ---------------------------------------------------------------------------
// Closing.

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
