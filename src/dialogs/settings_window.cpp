// The settings window: its making, the mouse and keys routed to its parts,
// the name fields, the hidden background field and the way out.
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
#include "dialogs/settings_parts.h"
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

}  // namespace

using namespace personal;

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

void Personal::paintEvent(QPaintEvent*) {
  // The page holds the screen's own pixels: copied, never scaled.
  const QImage& page = rulesShown_ ? rules_ : players_;
  QPainter(this).drawImage(QRectF(rect()), page, QRectF(page.rect()));
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
  if (PressOnArrow(at)) return;
  if (PressOnExpertTick(at)) return;
  PressOnSelector(at);
}

void Personal::mouseReleaseEvent(QMouseEvent*) {
  dragSlider_ = -1;
  StopArrows();
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
