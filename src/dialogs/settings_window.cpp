#include "dialogs/settings_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "dialogs/message_dialog.h"
#include "layout/artwork_layout.h"
#include "layout/name_rules.h"
#include "layout/pointer_rules.h"
#include "model/clock.h"
#include "model/names.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"
#include "storage/file_access.h"

namespace tarvelis {
namespace {

// A background picture bigger than this is no picture a table could show.
constexpr std::size_t kMaxBackgroundBytes = std::size_t{64} << 20;

const QColor kGrey(QRgb(0xFF000000 | art::kPanelGreyRgb));
const QColor kEtch(128, 128, 128);
const QColor kTitleBlue(0x00, 0x00, 0xA0);
const QColor kFrame(0x1F, 0x2A, 0x22);

constexpr int kSelectorH = 38;
constexpr int kGlobalW = 175;
constexpr int kSeatW = 145;
constexpr int kSliderH = 40;
constexpr int kThumbY = 16;
constexpr int kTrackX = 16;
constexpr int kTitlePx = 11;
constexpr int kValuePx = 11;

constexpr int kTickBox = 10;
constexpr QPoint kTutorTickAt{30, 392};

// Seat panels as the seats sit at the table: left, top, right, bottom.
constexpr QPoint kSeatOrigin[kSeats + 1] = {{0, 0}, {67, 155}, {249, 17}, {431, 155}, {249, 293}};

struct Place {
  int index;
  bool rules;
  int x, y, w;
};

QPoint SeatAt(int seat) {
  return kSeatOrigin[seat];
}

// Every selector's picture area, in its page's pixels.
std::vector<Place> Places() {
  std::vector<Place> places = {{kSelDirection, false, 22, 12, kGlobalW},
                               {kSelPause, false, 22, 56, kGlobalW},
                               {kSelPlayedTiles, false, 22, 100, kGlobalW},
                               {kSelMoveList, false, 438, 12, kGlobalW},
                               {kSelSound, false, 438, 56, kGlobalW},
                               // The rules page, group by group.
                               {kSelMode, true, 100, 47, kGlobalW},
                               {kSelDealing, true, 100, 138, kGlobalW},
                               {kSelFiveDoubles, true, 100, 182, kGlobalW},
                               {kSelFirstLead, true, 360, 47, kGlobalW},
                               {kSelNextLead, true, 360, 91, kGlobalW},
                               {kSelScoring, true, 100, 284, kGlobalW},
                               {kSelCountedPips, true, 100, 328, kGlobalW},
                               {kSelScoringPair, true, 100, 372, kGlobalW},
                               {kSelTieWinner, true, 360, 193, kGlobalW},
                               {kSelTieLead, true, 360, 237, kGlobalW}};
  for (int seat = 1; seat <= kSeats; ++seat) {
    const QPoint o = SeatAt(seat);
    places.push_back({kSelTilesShown + seat, false, o.x() - 6, o.y() + 70, kSeatW});
    places.push_back({kSelControl + seat, false, o.x() - 6, o.y() + 112, kSeatW});
  }
  return places;
}

const std::vector<Place>& ThePlaces() {
  static const std::vector<Place> places = Places();
  return places;
}

const Place* PlaceOf(int index) {
  for (const Place& p : ThePlaces()) {
    if (p.index == index) return &p;
  }
  return nullptr;
}

// The group frames of the rules page: origin, size and title.
struct Group {
  int x, y, w, h;
  const char* title;
};
constexpr Group kGroups[] = {{80, 25, 215, 72, kGroupTitles[0]},
                             {80, 116, 215, 116, kGroupTitles[1]},
                             {340, 25, 215, 116, kGroupTitles[2]},
                             {80, 262, 215, 160, kGroupTitles[3]},
                             {340, 171, 215, 116, kGroupTitles[4]}};

// Sliders: 1..4 the seats' levels, 0 the speed; the area's top left corner.
QPoint SliderAt(int slider) {
  if (slider == 0) return {438, 100};
  const QPoint o = SeatAt(slider);
  return {o.x() - 6, o.y() + 26};
}
int SliderW(int slider) {
  return slider == 0 ? kGlobalW : kSeatW;
}

constexpr QPoint kTargetBox{22, 330};
constexpr int kTargetW = kGlobalW;
constexpr int kTargetH = 58;
constexpr QPoint kUpArrow{kTargetBox.x() + 96, kTargetBox.y() + 23};
constexpr QPoint kDownArrow{kTargetBox.x() + 96, kTargetBox.y() + 37};
constexpr QPoint kDirectionAt{256, 186};
constexpr QPoint kRulesButtonAt{62, 412};
constexpr QPoint kExitButtonAt{478, 412};
constexpr QPoint kRulesExitAt{510, 420};  // on the rules page
constexpr QPoint kRulesPageAt{2, 2};
constexpr QRect kGraphicField{280, 435, 200, 20};

const QImage& Marble() {
  static const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
  return marble;
}

const QImage& Sheet() {
  static const QImage sheet = LoadSharpStrip(QString::fromLatin1(art::kPersonalPath));
  return sheet;
}

void Copy(QImage& page, int x, int y, const art::Cell& c) {
  Blit(page, x, y, c.w, c.h, Sheet(), c.x, c.y, RasterOp::Copy);
}

// The largest size, from `preferred` down, at which `text` fits `width`.
int FittingSize(const QString& text, int width, int preferred, bool bold) {
  int px = preferred;
  while (px > 8 && TextWidth(text, px, bold) > width) --px;
  return px;
}

// The etched look: a grey frame with a white one a pixel further in.
void Etched(QImage& page, const QRect& r) {
  QPainter p(&page);
  p.setPen(kEtch);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.drawRect(r.adjusted(1, 1, 0, 0));
}

// A title over an etched frame: white on an opaque grey band, then blue one
// pixel lower and to the right.
void EtchedTitle(QImage& page, int x, int y, int w, const QString& title) {
  const int px = FittingSize(title, w - 4, kTitlePx, false);
  const int tw = TextWidth(title, px, false);
  const int tx = x + (w - tw) / 2;
  QPainter(&page).fillRect(tx, std::max(y - 2, 0), tw, TextHeight(px, false) - 2, kGrey);
  DrawText(page, tx, y - 2, title, px, false, Qt::white);
  DrawText(page, tx + 1, y - 1, title, px, false, kTitleBlue);
}

QString Utf(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

// The rules talk to the window through this: messages through the message
// dialog, the animation of a click, and the table's redraws.
class Personal::Events : public OptionEvents {
 public:
  explicit Events(Personal& w) : w_(w) {}
  bool Show(const OptionMessage& m) override { return w_.ShowOptionMessage(m); }
  void Advanced(int index) override { w_.AnimateSelector(index); }
  void Relabelled() override {
    w_.DrawSelector(kSelTieWinner);
    w_.DrawSelector(kSelNextLead);
  }
  void SeatTilesChanged(int seat) override {
    if (w_.hooks_.SeatTilesChanged) w_.hooks_.SeatTilesChanged(seat);
  }
  void AllTilesChanged() override {
    if (w_.hooks_.AllTilesChanged) w_.hooks_.AllTilesChanged();
  }
  void ScoreboardChanged() override {
    if (w_.hooks_.ScoreboardChanged) w_.hooks_.ScoreboardChanged();
  }
  void DirectionChanged() override { w_.DrawDirection(); }

 private:
  Personal& w_;
};

Personal::Personal(GameState& state, SettingsHooks hooks, std::filesystem::path dataFolder,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      hooks_(std::move(hooks)),
      dataFolder_(std::move(dataFolder)) {
  setObjectName(QStringLiteral("Personal"));
  setWindowTitle(QString::fromUtf8(kSettingsWindowTitle));
  setModal(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // Blown up with the table and centred on it: laid out in its own pixels,
  // drawn at the screen's.
  scale_ = WindowScale();
  setFixedSize(Scaled(kWidth), Scaled(kHeight));
  const QRect over = parent != nullptr ? parent->geometry()
                     : QGuiApplication::primaryScreen() != nullptr
                         ? QGuiApplication::primaryScreen()->geometry()
                         : QRect();
  if (!over.isEmpty()) move(over.center() - QPoint(width() / 2, height() / 2));
  ShowOptionMessage = [this](const OptionMessage& m) {
    return ShowMessage(state_, Utf(m.Title), Utf(m.Text), m.Picture, m.Buttons, this);
  };

  labels_ = BuildOptionLabels(state_);
  NormaliseToLabels(state_, labels_);
  // A hand-edited file may ask for more than the totals can reach (they stop
  // at kTotalCap); the window shows and keeps only a target a match can end at.
  state_.MatchTarget = static_cast<i16>(std::clamp<int>(state_.MatchTarget, 1, kTotalCap));
  QPalette palette;
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  for (int seat = 1; seat <= kSeats; ++seat) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("Txt_Nombre%1").arg(seat));
    field->setFont(GameFont(Scaled(kTextPx), false));
    field->setMaxLength(kMaxNameLength);
    field->setText(Utf(state_.SeatName[seat]));
    field->setPalette(palette);
    const QPoint o = SeatAt(seat);
    field->setGeometry(Scaled(QRect(o.x() + 52, o.y(), 88, 20)));
    connect(field, &QLineEdit::textEdited, this, [this, seat] { NameEdited(seat); });
    names_[seat] = field;
  }
  graphic_ = new QLineEdit(this);
  graphic_->setObjectName(QStringLiteral("Tex_Grafico"));
  graphic_->setFont(GameFont(Scaled(kSmallTextPx), false));
  graphic_->setGeometry(Scaled(kGraphicField));
  graphic_->hide();
  connect(graphic_, &QLineEdit::returnPressed, this, [this] { LoadBackground(); });

  // Both pages cover the whole window, on the same grid of the screen's
  // pixels, so the rules page is shown without being resampled.
  players_ = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  rules_ = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  DrawPlayersPage();
  DrawRulesPage();

  repeat_.setSingleShot(false);
  connect(&repeat_, &QTimer::timeout, this, [this] { StepArrow(); });
  release_.setSingleShot(true);
  connect(&release_, &QTimer::timeout, this, [this] {
    DrawArrow(true, false);
    DrawArrow(false, false);
  });
}

Personal::~Personal() = default;

// ---------------------------------------------------------------------------
// Drawing.

QImage& Personal::PageOf(int index) {
  const Place* p = PlaceOf(index);
  return p != nullptr && p->rules ? rules_ : players_;
}

QPoint Personal::PageOrigin(bool rules) const {
  return rules ? kRulesPageAt : QPoint(0, 0);
}

int Personal::Scaled(int v) const {
  return static_cast<int>(std::lround(v * scale_));
}

QRect Personal::Scaled(const QRect& r) const {
  // Rounded outwards, so that it covers every window pixel `r` touches.
  const int left = static_cast<int>(std::floor(r.x() * scale_));
  const int top = static_cast<int>(std::floor(r.y() * scale_));
  return QRect(left, top, static_cast<int>(std::ceil((r.x() + r.width()) * scale_)) - left,
               static_cast<int>(std::ceil((r.y() + r.height()) * scale_)) - top);
}

QPoint Personal::ToLayout(QPointF at) const {
  return QPoint(static_cast<int>(std::floor(at.x() / scale_)),
                static_cast<int>(std::floor(at.y() / scale_)));
}

void Personal::ShowArea(const QImage& page, const QRect& pageRect) {
  const bool rules = &page == &rules_;
  if (rules != rulesShown_) return;  // a page under the other needs no repaint
  update(Scaled(pageRect));
}

void Personal::DrawPlayersPage() {
  const QImage& marble = Marble();
  if (marble.isNull()) {
    players_.fill(QColor(0x1E, 0x4A, 0x2C));
  } else {
    Blit(players_, 0, 0, kWidth, kHeight, marble, 0, 0, RasterOp::Copy);
  }
  {
    QPainter p(&players_);
    p.fillRect(0, 0, kWidth, 2, kFrame);
    p.fillRect(0, kHeight - 2, kWidth, 2, kFrame);
    p.fillRect(0, 0, 2, kHeight, kFrame);
    p.fillRect(kWidth - 2, 0, 2, kHeight, kFrame);
  }
  for (int seat = 1; seat <= kSeats; ++seat) DrawSeatPanel(seat);
  for (const Place& place : ThePlaces()) {
    if (!place.rules) DrawSelector(place.index);
  }
  DrawSlider(0);
  DrawDirection();
  DrawMatchTarget();
  DrawExpertTick(0);
  Copy(players_, kRulesButtonAt.x(), kRulesButtonAt.y(), art::kRulesButton);
  Copy(players_, kExitButtonAt.x(), kExitButtonAt.y(), art::kExitButton);
}

void Personal::DrawSeatPanel(int seat) {
  const QPoint o = SeatAt(seat);
  QPainter(&players_).fillRect(o.x() - 12, o.y() - 7, 158, 172, kGrey);
  Etched(players_, QRect(o.x() - 12, o.y() - 7, 158, 172));
  DrawText(players_, o.x() - 6, o.y() + 3, QString::fromUtf8(kNameLabel), kSmallTextPx, false,
           Qt::black);
  DrawSlider(seat);
  DrawExpertTick(seat);
}

QRect Personal::ExpertTickRect(int seat) const {
  if (seat == 0) return QRect(kTutorTickAt, QSize(kTickBox + 4 + 90, kTickBox + 4));
  const QPoint o = SeatAt(seat);
  return QRect(o.x() - 4, o.y() + 151, kTickBox + 4 + 60, kTickBox + 4);
}

void Personal::DrawExpertTick(int seat) {
  const QRect r = ExpertTickRect(seat);
  const bool ticked = seat == 0 ? state_.TutorExpert : state_.SeatExpert[seat];
  {
    QPainter p(&players_);
    p.fillRect(r, kGrey);
    const QRect box(r.x() + 2, r.y() + 2, kTickBox, kTickBox);
    p.fillRect(box, Qt::white);
    p.setPen(kEtch);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (ticked) {
      p.setPen(QPen(Qt::black, 2));
      p.drawLine(box.x() + 2, box.y() + 5, box.x() + 4, box.y() + 8);
      p.drawLine(box.x() + 4, box.y() + 8, box.x() + 8, box.y() + 2);
    }
  }
  DrawText(players_, r.x() + kTickBox + 6, r.y() + 1,
           QString::fromUtf8(seat == 0 ? kTutorTickLabel : kExpertTickLabel), kSmallTextPx, false,
           Qt::black);
  ShowArea(players_, r);
}

// A click on a tick turns the expert on or off for its seat or the tutor.
bool Personal::PressOnExpertTick(QPoint at) {
  if (rulesShown_) return false;
  for (int seat = 0; seat <= kSeats; ++seat) {
    if (!ExpertTickRect(seat).contains(at)) continue;
    bool& ticked = seat == 0 ? state_.TutorExpert : state_.SeatExpert[seat];
    ticked = !ticked;
    TocaSonido(state_, Sound::kSwitchStarts);
    DrawExpertTick(seat);
    return true;
  }
  return false;
}

void Personal::DrawRulesPage() {
  // The rules page lies over the players page, inside its frame; it is kept
  // in the window's own places.
  const QPoint o = kRulesPageAt;
  const int w = kWidth - 2 * o.x();
  const int h = kHeight - 2 * o.y();
  {
    QPainter p(&rules_);
    p.fillRect(0, 0, kWidth, kHeight, kFrame);
  }
  const QImage& marble = Marble();
  if (marble.isNull()) {
    QPainter(&rules_).fillRect(o.x(), o.y(), w, h, QColor(0x1E, 0x4A, 0x2C));
  } else {
    // Another part of the marble than the players page, so the page change shows.
    Blit(rules_, o.x(), o.y(), w, h, marble, 0, marble.height() - kHeight, RasterOp::Copy);
  }
  {
    QPainter p(&rules_);
    p.setPen(QPen(kFrame, 2));
    p.drawRect(QRect(o.x() + 1, o.y() + 1, w - 2, h - 2));
  }
  for (const Group& g : kGroups) {
    DrawGroupFrame(rules_, o.x() + g.x, o.y() + g.y, g.w, g.h, Utf(g.title));
  }
  for (const Place& place : ThePlaces()) {
    if (place.rules) DrawSelector(place.index);
  }
  Copy(rules_, o.x() + kRulesExitAt.x(), o.y() + kRulesExitAt.y(), art::kExitButton);
}

void Personal::DrawGroupFrame(QImage& page, int x, int y, int w, int h, const QString& title) {
  QPainter(&page).fillRect(x, y, w, h, kGrey);
  Etched(page, QRect(x + 4, y + 8, w - 8, h - 12));
  EtchedTitle(page, x, y + 2, w, title);
}

void Personal::DrawSelector(int index, bool pressed, bool blankValue) {
  const Place* place = PlaceOf(index);
  if (place == nullptr) return;
  QImage& page = PageOf(index);
  const QPoint o = PageOrigin(place->rules);
  const int x = o.x() + place->x, y = o.y() + place->y, w = place->w;
  QPainter(&page).fillRect(x, y, w, kSelectorH, kGrey);
  Etched(page, QRect(x, y + 5, w, kSelectorH - 5));
  Etched(page, QRect(x + 35, y + 13, w - 37 - 1, 22));
  Copy(page, x + 4, y + 14, pressed ? art::kSelectorButtonPressed : art::kSelectorButton);
  EtchedTitle(page, x, y, w, Utf(SelectorTitle(index)));
  if (!blankValue) {
    const QString value = Utf(TrimmedLabel(LabelOf(labels_, index, SelectorValue(state_, index))));
    const int px = FittingSize(value, w - 43, kValuePx, true);
    DrawText(page, x + 40, y + 17 + (kValuePx - px) / 2, value, px, true, Qt::black);
  }
  ShowArea(page, QRect(x, y, w, kSelectorH));
}

void Personal::DrawSlider(int slider) {
  const QPoint at = SliderAt(slider);
  const int w = SliderW(slider);
  QPainter(&players_).fillRect(at.x(), at.y(), w, kSliderH, kGrey);
  Etched(players_, QRect(at.x(), at.y() + 5, w, kSliderH - 5));
  EtchedTitle(players_, at.x(), at.y(), w,
              QString::fromUtf8(slider == 0 ? kSpeedSliderTitle : kLevelSliderTitle));
  Copy(players_, at.x() + kTrackX, at.y() + kThumbY, art::kSliderTrack);
  const QPoint thumb = SliderThumb(slider);
  Copy(players_, thumb.x(), thumb.y(), art::kSliderThumb);
  ShowArea(players_, QRect(at, QSize(w, kSliderH)));
}

void Personal::DrawMatchTarget() {
  const QPoint b = kTargetBox;
  QPainter(&players_).fillRect(b.x(), b.y(), kTargetW, kTargetH, kGrey);
  Etched(players_, QRect(b.x(), b.y() + 5, kTargetW, kTargetH - 5));
  EtchedTitle(players_, b.x(), b.y(), kTargetW, QString::fromUtf8(kTargetTitle));
  Etched(players_, QRect(b.x() + 36, b.y() + 23, 42, 28));
  DrawArrow(true, false);
  DrawArrow(false, false);
  // The value: cleared, then printed bold and centred on x 56.
  const int cx = b.x() + 56;
  const QString value = QString::number(state_.MatchTarget);
  QPainter(&players_).fillRect(cx - 18, b.y() + 36, 36, 14, kGrey);
  DrawText(players_, cx - TextWidth(value, kTextPx, true) / 2, b.y() + 36, value, kTextPx, true,
           Qt::black);
  ShowArea(players_, QRect(b, QSize(kTargetW, kTargetH)));
}

void Personal::DrawArrow(bool up, bool pressed) {
  const QPoint at = up ? kUpArrow : kDownArrow;
  Copy(players_, at.x(), at.y(),
       up ? (pressed ? art::kArrowUpPressed : art::kArrowUp)
          : (pressed ? art::kArrowDownPressed : art::kArrowDown));
  ShowArea(players_, QRect(at, QSize(art::kArrowUp.w, art::kArrowUp.h)));
}

void Personal::DrawDirection() {
  Copy(players_, kDirectionAt.x(), kDirectionAt.y(),
       state_.RuleDirection == kReverse ? art::kDirectionReverse : art::kDirectionForward);
  ShowArea(players_,
           QRect(kDirectionAt, QSize(art::kDirectionForward.w, art::kDirectionForward.h)));
}

void Personal::paintEvent(QPaintEvent*) {
  // The page holds the screen's own pixels: copied, never scaled.
  const QImage& page = rulesShown_ ? rules_ : players_;
  QPainter(this).drawImage(QRectF(rect()), page, QRectF(page.rect()));
}

// The advance of a click: the button goes down and the value clears, a moment
// passes, the button comes up with the new value.
void Personal::AnimateSelector(int index) {
  TocaSonido(state_, Sound::kSwitchStarts);
  DrawSelector(index, true, true);
  repaint();
  Espera(state_, 60);
  DrawSelector(index);
  repaint();
  TocaSonido(state_, Sound::kSwitchEnds);
}

// ---------------------------------------------------------------------------
// Where things are.

QRect Personal::SelectorButtonRect(int index) const {
  const Place* p = PlaceOf(index);
  if (p == nullptr) return {};
  // Bounds 4..33 and 14..34 count, both ends included.
  return QRect(PageOrigin(p->rules) + QPoint(p->x + 4, p->y + 14), QSize(30, 21));
}

QPoint Personal::SliderThumb(int slider) const {
  const int value = slider == 0 ? state_.GameSpeed : state_.SeatLevel[slider];
  return SliderAt(slider) + QPoint(kTrackX + std::clamp(value, 0, 100), kThumbY);
}

QRect Personal::ArrowRect(bool up) const {
  return QRect(up ? kUpArrow : kDownArrow, QSize(art::kArrowUp.w, art::kArrowUp.h));
}

QRect Personal::RulesButtonRect() const {
  return QRect(kRulesButtonAt, QSize(art::kRulesButton.w, art::kRulesButton.h));
}

QRect Personal::ExitButtonRect() const {
  if (rulesShown_) {
    return QRect(kRulesPageAt + kRulesExitAt, QSize(art::kExitButton.w, art::kExitButton.h));
  }
  return QRect(kExitButtonAt, QSize(art::kExitButton.w, art::kExitButton.h));
}

// Over an arrow's own pixels, not the grey around its point.
bool Personal::OverArrow(QPoint at, bool up) const {
  const QRect r = ArrowRect(up);
  if (rulesShown_ || !r.contains(at)) return false;
  const art::Cell c = up ? art::kArrowUp : art::kArrowDown;
  const QRgb pixel = Sheet().pixel(c.x + at.x() - r.x(), c.y + at.y() - r.y());
  return (pixel & 0xFFFFFF) != art::kPanelGreyRgb;
}

int Personal::ThumbUnder(QPoint at) const {
  if (rulesShown_) return -1;
  for (int slider = 0; slider <= kSeats; ++slider) {
    const QPoint t = SliderThumb(slider);
    if (at.x() >= t.x() && at.x() <= t.x() + art::kSliderThumb.w && at.y() >= t.y() &&
        at.y() <= t.y() + art::kSliderThumb.h) {
      return slider;
    }
  }
  return -1;
}

void Personal::UpdatePointer(QPoint at) {
  bool hand = ExitButtonRect().contains(at) || ThumbUnder(at) >= 0 || OverArrow(at, true) ||
              OverArrow(at, false) || (!rulesShown_ && RulesButtonRect().contains(at));
  for (const Place& p : ThePlaces()) {
    if (p.rules == rulesShown_ && SelectorButtonRect(p.index).contains(at)) hand = true;
  }
  for (int seat = 0; seat <= kSeats && !rulesShown_; ++seat) {
    if (ExpertTickRect(seat).contains(at)) hand = true;
  }
  if (hand != handShown_) {
    LoadPointer(this, hand ? kCursorManoIndice : 0);
    handShown_ = hand;
  }
}

// ---------------------------------------------------------------------------
// The mouse.

void Personal::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = ToLayout(event->position());
  if (dragSlider_ >= 0 && (event->buttons() & Qt::LeftButton)) {
    MoveThumb(at.x());
    return;
  }
  if ((repeatUp_ && !OverArrow(at, true)) || (repeatDown_ && !OverArrow(at, false))) StopArrows();
  UpdatePointer(at);
}

void Personal::leaveEvent(QEvent*) {
  StopArrows();
}

void Personal::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = ToLayout(event->position());
  UpdatePointer(at);
  if (ExitButtonRect().contains(at)) {
    if (rulesShown_) {
      if (hooks_.TableBusy) hooks_.TableBusy(true);
      TocaSonido(state_, Sound::kClose);
      ShowRules(false);
      if (hooks_.TableBusy) hooks_.TableBusy(false);
    } else {
      Leave();
    }
    return;
  }
  if (!rulesShown_ && RulesButtonRect().contains(at)) {
    TocaSonido(state_, Sound::kButton);
    ShowRules(true);
    return;
  }
  const int slider = ThumbUnder(at);
  if (slider >= 0) {
    dragSlider_ = slider;
    lastX_ = at.x();
    return;
  }
  if (OverArrow(at, true) || OverArrow(at, false)) {
    Events events(*this);
    const TargetPress press = PressMatchTarget(state_, events);
    if (press == TargetPress::Refused) return;
    repeatUp_ = OverArrow(at, true);
    repeatDown_ = !repeatUp_;
    StepArrow();
    if (press == TargetPress::Agreed) {
      StopArrows();
      return;
    }
    const int ms = static_cast<int>(2000 * WaitSeconds(25, state_.GameSpeed));
    repeat_.start(std::max(ms, 40));
    return;
  }
  if (PressOnExpertTick(at)) return;
  PressOnSelector(at);
}

void Personal::mouseReleaseEvent(QMouseEvent*) {
  dragSlider_ = -1;
  StopArrows();
}

void Personal::PressOnSelector(QPoint at) {
  for (const Place& p : ThePlaces()) {
    if (p.rules != rulesShown_ || !SelectorButtonRect(p.index).contains(at)) continue;
    Events events(*this);
    ClickSelector(state_, labels_, p.index, events);
    return;
  }
}

void Personal::MoveThumb(int x) {
  const int slider = dragSlider_;
  i16& value = slider == 0 ? state_.GameSpeed : state_.SeatLevel[slider];
  const int next = DragSliderValue(value, x - lastX_);
  lastX_ = x;
  if (next == value) return;
  // The track comes back under the old thumb, then the thumb goes on at its new place.
  const QPoint old = SliderThumb(slider);
  const art::Cell& track = art::kSliderTrack;
  Blit(players_, old.x(), old.y(), art::kSliderThumb.w, art::kSliderThumb.h, Sheet(),
       track.x + std::clamp<int>(value, 0, 100), track.y, RasterOp::Copy);
  value = static_cast<i16>(next);
  const QPoint now = SliderThumb(slider);
  Copy(players_, now.x(), now.y(), art::kSliderThumb);
  ShowArea(players_,
           QRect(old, now + QPoint(art::kSliderThumb.w, art::kSliderThumb.h)).normalized());
}

void Personal::StepArrow() {
  if (!repeatUp_ && !repeatDown_) {
    repeat_.stop();
    return;
  }
  DrawArrow(repeatUp_, true);
  TocaSonido(state_, Sound::kLimitMoves);
  state_.MatchTarget = StepMatchTarget(state_.MatchTarget, repeatUp_ ? 1 : -1);
  DrawMatchTarget();
  DrawArrow(repeatUp_, true);
  const int ms = static_cast<int>(1000 * WaitSeconds(25, state_.GameSpeed));
  release_.start(std::max(ms, 20));
}

void Personal::StopArrows() {
  if (!repeatUp_ && !repeatDown_) return;
  repeatUp_ = repeatDown_ = false;
  repeat_.stop();
  release_.stop();
  DrawArrow(true, false);
  DrawArrow(false, false);
}

// ---------------------------------------------------------------------------
// Keys, fields and pages.

void Personal::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Leave();
    return;
  }
  if (rulesShown_ && event->text() == QStringLiteral("g")) {
    graphic_->move(Scaled(kGraphicField).topLeft());
    graphic_->show();
    graphic_->setFocus();
    return;
  }
  QDialog::keyPressEvent(event);
}

void Personal::NameEdited(int seat) {
  QLineEdit* field = names_[seat];
  const QString typed = field->text();
  const NameEdit edit = ApplyNameRules(typed.toStdU32String(), field->cursorPosition());
  const QString result = QString::fromStdU32String(edit.Text);
  if (result != typed) {
    field->setText(result);
    field->setCursorPosition(edit.Caret);
  }
  state_.SeatName[seat] = result.toStdString();
}

void Personal::LoadBackground() {
  const BackgroundRequest request = ParseBackgroundText(graphic_->text().toStdString());
  if (request.Layout == BackgroundLayout::None) return;
  const QString file =
      QDir(QString::fromStdString(dataFolder_.string())).filePath(Utf(request.FileName));
  // Only a regular file is read, without waiting on it: a FIFO or a device
  // named like a picture would otherwise freeze the game.
  const FileBytes bytes = ReadRegularFile(file.toStdString(), kMaxBackgroundBytes);
  QImage picture;
  if (bytes.ErrorNumber == 0) {
    picture.loadFromData(reinterpret_cast<const uchar*>(bytes.Bytes.data()),
                         static_cast<int>(bytes.Bytes.size()));
  }
  if (picture.isNull()) {
    graphic_->setText(Utf(UnreadablePictureText(request.FileName)));
    graphic_->selectAll();
    return;
  }
  if (hooks_.BackgroundChosen) hooks_.BackgroundChosen(picture, request.Layout);
  graphic_->clear();
  graphic_->hide();
  setFocus();
}

void Personal::ShowRules(bool shown) {
  rulesShown_ = shown;
  for (int seat = 1; seat <= kSeats; ++seat) names_[seat]->setVisible(!shown);
  if (!shown) graphic_->hide();
  StopArrows();
  dragSlider_ = -1;
  handShown_ = !handShown_;  // the pointer is worked out again for the new page
  UpdatePointer(ToLayout(mapFromGlobal(QCursor::pos().toPointF())));
  setFocus();
  update();
}

// The exit button, Escape and the window's close all leave the same way: a
// name left empty takes its seat's default.
void Personal::Leave() {
  if (leaving_) return;
  leaving_ = true;
  if (hooks_.TableBusy) hooks_.TableBusy(true);
  TocaSonido(state_, Sound::kClose);
  StopArrows();
  for (int seat = 1; seat <= kSeats; ++seat) {
    state_.SeatName[seat] = FinalSeatName(state_.SeatName[seat], seat);
  }
  accept();
  if (hooks_.TableBusy) hooks_.TableBusy(false);
}

void Personal::closeEvent(QCloseEvent* event) {
  Leave();
  event->accept();
}

}  // namespace tarvelis
