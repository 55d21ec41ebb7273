// The end of a networked match: its last hand waits at "Continuar" and every
// closed hand of the match can be put back on the table in turn, its whole
// deal known, for the recorder and the review; and the table's keys that a
// networked match takes (the chat's, the hands').
#include <QString>
#include <algorithm>

#include "app/network_match.h"
#include "model/move_record.h"
#include "model/texts.h"
#include "platform/test_report.h"
#include "table/presence_line.h"
#include "table/qt_table_port.h"
#include "table/table_chat.h"
#include "table/table_window.h"

namespace tarvelis {

void NetworkMatch::AtMatchEnd() {
  Log(QStringLiteral("match_end"));
  port_.DrawScoreboard();
  // The last hand stays on the table, to be stepped through and reviewed,
  // until the player goes back to the local match; every closed hand of the
  // match can be put there in turn, its whole deal known.
  for (int seat = 1; seat <= kSeats; ++seat) ClearLine(seat);
  ClearLine(kWatchLine);
  SetLine(PresenceLine::kLink, kNetMatchOverLine, 0);
  const int kept = static_cast<int>(remote_.KeptHands().size());
  shownKept_ = kept;
  if (kept > 0) {
    SetLine(kKeptLine, NetKeptHandLine(shownKept_, kept), 0);
    line_->SetSteps(kept > 1, false, [this](int by) { StepKeptHand(by); });
  }
  state_.NoticeShown = true;
  port_.WaitForNotice(kContinueLabel);
  state_.NoticeShown = false;
  line_->ClearSteps();
  ClearLine(PresenceLine::kLink);
  ClearLine(kKeptLine);
}

bool NetworkMatch::OnKey(int key) {
  if (key == TableChat::kToggleKey) {
    chat_->Toggle();
    return true;
  }
  if (key != Qt::Key_PageUp && key != Qt::Key_PageDown) return false;
  return StepKeptHand(key == Qt::Key_PageUp ? -1 : 1);
}

bool NetworkMatch::StepKeptHand(int by) {
  // The hands are gone through only once the match is over, with the
  // recorder off and the table still; the keys never go on from a wait.
  const int kept = static_cast<int>(remote_.KeptHands().size());
  if (!remote_.Finished() || kept == 0) return false;
  if (state_.RecorderOn || state_.RecorderBusy || mesa_.Modes().Busy()) return true;
  const int n = std::clamp(shownKept_ + by, 1, kept);
  if (n != shownKept_) ShowKeptHand(n);
  return true;
}

void NetworkMatch::ShowKeptHand(int n) {
  const std::vector<net::KeptHand>& kept = remote_.KeptHands();
  if (n < 1 || n > static_cast<int>(kept.size())) return;
  shownKept_ = n;
  net::PutKeptHand(state_, kept[static_cast<std::size_t>(n - 1)]);
  port_.GameLoaded();
  // A closed hand stands at its last move, which the list shows too.
  if (state_.MoveNumber >= 1) {
    port_.RecorderLineAdded(state_.MoveNumber, RecorderLine(state_, state_.MoveNumber));
  }
  // Drawn whole as it closed: the chain, the hands shown, the button waiting.
  mesa_.Painter().Revealed = true;
  mesa_.Painter().DrawAll();
  if (mesa_.NoticeUp()) mesa_.ShowNotice(QString::fromUtf8(kContinueLabel));
  mesa_.Show();
  SetLine(kKeptLine, NetKeptHandLine(n, static_cast<int>(kept.size())), 0);
  line_->SetSteps(n > 1, n < static_cast<int>(kept.size()), [this](int by) { StepKeptHand(by); });
  ReportTestStatus(QStringLiteral("net kept hand %1 of %2").arg(n).arg(kept.size()));
}

}  // namespace tarvelis
