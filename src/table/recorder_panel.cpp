#include "table/recorder_panel.h"

#include <QLabel>

#include "layout/artwork_layout.h"
#include "layout/recorder_layout.h"
#include "model/move_record.h"
#include "platform/cursors.h"
#include "platform/raster.h"
#include "platform/waits.h"
#include "table/hand_reviewer.h"
#include "table/move_list.h"
#include "table/qt_table_port.h"
#include "table/strips.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

QRect ToQRect(const tarvelis::Rect& r) {
  return QRect(r.x, r.y, r.w, r.h);
}

// Over a hand in play, and over a finished one until the next deal.
bool PanelShown(const GameState& s, const TableModes& m) {
  return HandOnTable(s) && !m.AllTilesFaceUp;
}

}  // namespace

// ---------------------------------------------------------------------------
// The panel's picture, part of the table's own picture.

QRect TablePainter::RecorderPanelRect() const {
  return ToQRect(tarvelis::RecorderPanelRect(state_.Table));
}

void TablePainter::DrawRecorderPanel(int pressedControl) {
  const QRect r = RecorderPanelRect();
  Restore(r);
  if (!PanelShown(state_, modes_)) return;
  const QImage& strip = TheStrips().Grabadora;
  const art::Cell panel = state_.RecorderOn ? art::kRecorderPanelOn : art::kRecorderPanelOff;
  Drawn(r.x(), r.y(), r.width(), r.height());
  Blit(surface_, r.x(), r.y(), panel.w, panel.h, strip, panel.x, panel.y, RasterOp::Copy);
  if (pressedControl >= 1 && pressedControl <= 5) {
    const art::Cell area = art::kRecorderControlArea[pressedControl];
    const art::Cell pressed = art::kRecorderControlPressed[pressedControl];
    Blit(surface_, r.x() + area.x, r.y() + area.y, pressed.w, pressed.h, strip, pressed.x,
         pressed.y, RasterOp::Copy);
  }
}

// ---------------------------------------------------------------------------

RecorderPanel::RecorderPanel(GameState& state, Mesa& mesa, QtTablePort& port)
    : state_(state),
      mesa_(mesa),
      port_(port),
      recorder_(state, port, mesa.Modes()),
      list_(new MoveList(&mesa)),
      line_(new QLabel(&mesa)),
      reviewer_(new HandReviewer(&mesa)) {
  recorder_.Changed = [this] { Refresh(); };
  line_->setObjectName(QStringLiteral("Lbl_Analisis"));
  line_->setStyleSheet(
      QStringLiteral("QLabel { background: #F2E8C8; color: #1E2A20; border: 2px solid #1F4D2E;"
                     " padding: 0px 3px; font-family: 'DejaVu Sans'; font-size: 11px; }"
                     "QLabel[loss=\"true\"] { color: #9A1B1B; }"));
  line_->setTextFormat(Qt::PlainText);
  line_->hide();
  reviewer_->onChanged = [this] {
    UpdateList();
    Report();
  };
  list_->onTallChanged = [this](bool) { UpdateList(); };
  list_->onLineClicked = [this](int line) {
    clickedLine_ = line;
    clickedAtMove_ = state_.MoveNumber;
    UpdateList();
  };
  // A new line or selection may come with the first move of a hand, which
  // brings the panel onto the table.
  port_.onRecorderList = [this] {
    // The end of a finished hand shows only at its last move.
    const QRect ends = mesa_.Painter().FollowEndMarks();
    if (!ends.isEmpty()) mesa_.ShowNow(ends);
    DrawPanel();
    UpdateList();
    // A step names the seat to move as its tile lands, not after its pause.
    if (state_.RecorderOn && state_.NoticeShown && mesa_.NoticeUp()) {
      mesa_.ShowNotice(QString::fromStdString(NoticeLabel(state_)));
    }
  };
  mesa_.SetRecorderPanel(this);
}

RecorderPanel::~RecorderPanel() {
  // The review's thread ends before the panel it reports to.
  delete reviewer_;
  port_.onRecorderList = nullptr;
  mesa_.SetRecorderPanel(nullptr);
}

bool RecorderPanel::Shown() const {
  return PanelShown(state_, mesa_.Modes());
}

QRect RecorderPanel::Rect() const {
  return ToQRect(RecorderPanelRect(state_.Table));
}

bool RecorderPanel::Press(QPoint at, Qt::MouseButton button) {
  if (!Contains(at)) return false;
  const QPoint local = at - Rect().topLeft();
  const auto control = static_cast<RecorderControl>(RecorderControlAt(Point{local.x(), local.y()}));
  if (recorder_.Running()) {
    recorder_.Press(control, button == Qt::LeftButton);
    return true;
  }
  // A single step keeps every click, one step each. A run counts the clicks
  // made while it goes (the first one stops it), not those made before it
  // began; whatever was clicked while a run or a replay went on, and has not
  // acted, is dropped once it is over.
  const bool switchingOff = control == RecorderControl::kSwitch && state_.RecorderOn;
  const bool lasting = switchingOff || control == RecorderControl::kRunBack ||
                       control == RecorderControl::kRunForward;
  if (lasting) mesa_.SettleInput();
  const bool acted = recorder_.Press(control, button == Qt::LeftButton);
  if (acted && switchingOff) ShowReplayed();
  if (lasting) mesa_.SettleInput();
  // The next click, made while this one's step went on, comes at once.
  mesa_.WakeInput();
  return true;
}

// The quick replay laid the moves in the state alone: the table is drawn again
// as play stands, with its continue button.
void RecorderPanel::ShowReplayed() {
  mesa_.Painter().DrawAll();
  if (state_.NoticeShown && mesa_.NoticeUp()) {
    mesa_.ShowNotice(QString::fromStdString(NoticeLabel(state_)));
  }
  mesa_.ShowNow();
  Refresh();
}

bool RecorderPanel::LetPlayGoOn() {
  if (!state_.RecorderOn && !state_.RecorderBusy) return true;
  if (RecorderHoldsPlay(state_) || recorder_.Running()) return false;
  // At the live move there is nothing to replay: the recorder goes off and
  // play goes on as the user asked.
  recorder_.Press(RecorderControl::kSwitch, true);
  return !state_.RecorderOn;
}

void RecorderPanel::DrawPanel() {
  mesa_.Painter().DrawRecorderPanel(static_cast<int>(recorder_.Pressed()));
  mesa_.ShowNow(Rect());
}

void RecorderPanel::AnalyseHand() {
  if (ReviewStatus() != HandReviewStatus::kNone || !state_.RecorderOn) return;
  reviewer_->Forget();
  reviewer_->Start(state_);
}

HandReviewStatus RecorderPanel::ReviewStatus() const {
  return reviewer_->StatusFor(state_);
}

bool RecorderPanel::FollowReview(std::vector<std::string>& lines, int columns) {
  verdicts_.clear();
  if (reviewer_->Running() &&
      (!state_.RecorderOn || reviewer_->StatusFor(state_) != HandReviewStatus::kRunning)) {
    reviewer_->Cancel();
  }
  std::vector<bool> marked;
  const std::optional<HandReview>& done = reviewer_->Finished();
  if (done && !ReviewHolds(*done, state_, 1)) reviewer_->Forget();  // another hand
  if (reviewer_->Finished()) {
    const std::vector<ReviewedLine> reviewed =
        ReviewedLines(*reviewer_->Finished(), state_, lines, columns);
    summary_ = SummaryText(reviewed);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      lines[i] = reviewed[i].Text;
      marked.push_back(reviewed[i].Marked);
      verdicts_.push_back(reviewed[i].Verdict);
    }
  }
  list_->SetLines(lines, port_.RecorderSelected());
  list_->SetMarks(marked, verdicts_);
  return reviewer_->Running() || reviewer_->Finished().has_value();
}

void RecorderPanel::UpdateList() {
  const bool always = state_.RuleMoveList == kMoveListAlways;
  std::vector<std::string> lines = MoveListLines(state_);
  const bool tall = list_->Tall();
  const int columns = list_->ColumnsFor(MoveListRect(state_.Table, tall, true).w);
  const bool review = FollowReview(lines, columns);
  const bool visible = !lines.empty() && (always || state_.RecorderOn);
  list_->setGeometry(
      mesa_.ToWindowRect(ToQRect(MoveListRect(state_.Table, tall, review && visible))));
  if (list_->isVisible() != visible) list_->setVisible(visible);
  if (visible) list_->raise();

  QString say;
  bool loss = false;
  if (reviewer_->Running()) {
    say = QString::fromStdString(ProgressText(reviewer_->Done(), reviewer_->Total()));
  } else if (review) {
    // The line last clicked says its verdict until the recorder steps.
    if (clickedAtMove_ != state_.MoveNumber) clickedLine_ = -1;
    const int selected = clickedLine_ >= 0 ? clickedLine_ : list_->Selected();
    const bool onLine = selected >= 0 && selected < static_cast<int>(verdicts_.size());
    say = QString::fromStdString(onLine ? verdicts_[static_cast<std::size_t>(selected)] : summary_);
    loss = onLine && list_->item(selected)->data(Qt::UserRole).toBool();
  }
  if (line_->property("loss").toBool() != loss) {
    // The selected move's loss reads in the same red as its line.
    line_->setProperty("loss", loss);
    line_->setStyleSheet(line_->styleSheet());
  }
  const bool lineShown = visible && review && !say.isEmpty();
  if (lineShown) {
    line_->setGeometry(mesa_.ToWindowRect(ToQRect(ReviewLineRect(state_.Table, tall))));
    if (line_->text() != say) line_->setText(say);
  }
  if (line_->isVisible() != lineShown) line_->setVisible(lineShown);
  if (lineShown) line_->raise();
}

void RecorderPanel::Refresh() {
  DrawPanel();
  UpdateList();
  if (state_.NoticeShown && mesa_.NoticeUp()) {
    mesa_.ShowNotice(QString::fromStdString(NoticeLabel(state_)));
  }
  if (state_.RecorderBusy) {
    mesa_.setCursor(BusyCursor());
  } else {
    mesa_.RefreshPointer();
  }
  Report();
}

// End-to-end tests follow the recorder through the status file the waits
// write: while it is on, where it stands; once it is off with play waiting,
// the wait itself, as the continue button reports it.
// "running", "done" (the review covers the hand as it stands), "partial" (it
// covers the moves before the later ones) or "none".
QString RecorderPanel::ReviewWord() const {
  switch (ReviewStatus()) {
    case HandReviewStatus::kRunning:
      return QStringLiteral("running");
    case HandReviewStatus::kDone:
      return QStringLiteral("done");
    case HandReviewStatus::kNone:
      break;
  }
  return reviewer_->Finished() ? QStringLiteral("partial") : QStringLiteral("none");
}

void RecorderPanel::Report() const {
  if (!TestStatusWanted() || !state_.NoticeShown) return;
  const GameState& s = state_;
  const QString line = s.RecorderOn ? QStringLiteral(
                                          "recorder move %1 live %2 seat %3 lines %4 selected %5"
                                          " review %6 %7 of %8 marks %9 first %10 run %11")
                                          .arg(s.MoveNumber)
                                          .arg(s.LiveMoveNumber)
                                          .arg(s.CurrentSeat)
                                          .arg(list_->count())
                                          .arg(list_->Selected())
                                          .arg(ReviewWord())
                                          .arg(reviewer_->Done())
                                          .arg(reviewer_->Total())
                                          .arg(list_->MarkedLines())
                                          .arg(list_->FirstMarkedLine())
                                          .arg(recorder_.Running() ? 1 : 0)
                                    : QStringLiteral("notice %1 hand %2 move %3 seat %4")
                                          .arg(QString::fromStdString(NoticeLabel(s)))
                                          .arg(s.HandNumber)
                                          .arg(s.MoveNumber)
                                          .arg(s.CurrentSeat);
  ReportTestStatus(line);
}

}  // namespace tarvelis
