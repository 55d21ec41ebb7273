// The table's side of the engine's port: what the turn loop asks (draw a
// hand, lay a tile, wait for the user) done on the Qt table. Every wait here
// sleeps on events and gives up as soon as the loop has to unwind.
#pragma once

#include <QPoint>
#include <QSize>
#include <QStringList>
#include <functional>

#include "model/game_state.h"
#include "model/table_port.h"

namespace tarvelis {

class Mesa;
struct EngineContext;

class QtTablePort : public TablePort {
 public:
  QtTablePort(GameState& state, Mesa& mesa);
  ~QtTablePort() override;
  QtTablePort(const QtTablePort&) = delete;
  QtTablePort& operator=(const QtTablePort&) = delete;

  // The running loop, so the waits can see when it must unwind.
  void SetContext(EngineContext* ctx) { ctx_ = ctx; }

  void YieldToWindows() override;
  bool ShowMessage(const std::string& title, const std::string& text, int picture,
                   int buttons) override;
  int WaitForNotice(std::string_view label) override;
  void ClearTableForDeal() override;
  void GameLoaded() override;
  void DrawHand(int seat) override;
  void DrawScoreboard() override;
  void HandClosed(bool domino) override;
  void ShowLaidTile(int move) override;
  void TakeBackTile(int move) override;
  void ShowPassSign(int seat) override;
  int AskEnd() override;
  void ThinkingPause(int seat) override;
  bool WaitWhile(const std::function<bool()>& busy) override;
  int ChooseLeader() override;
  bool RunManualDeal() override;
  void PlaySound(Sound sound) override;
  void Wait(int hundredths) override;
  void RecorderLineAdded(int move, const std::string& text) override;
  void RecorderSelect(int index) override;
  void AppendHistory() override;

  // Keeps the finished match in the history; set by the program.
  std::function<void()> onAppendHistory;
  // Called as the continue button goes up, when the state is what leaving
  // the program would save; set by the program, which saves it.
  std::function<void()> onNotice;
  // True while the table waits for the user (the continue button, the end
  // arrows, a leader or a manual deal): the state then holds together and
  // may be saved as it is.
  bool WaitsForUser() const { return userWaits_ > 0; }

  // The lines of the move list, for the recorder panel.
  const QStringList& RecorderLines() const { return lines_; }
  // The selected line of the move list, -1 for none.
  int RecorderSelected() const { return selected_; }
  // Called whenever a line is added or selected, or the list is emptied.
  std::function<void()> onRecorderList;

  // Seconds between two 8-pixel steps of a travelling tile at a game speed.
  static double StepSeconds(int gameSpeed);

 private:
  bool MustStop() const;
  // What the table adds to the end-to-end scripts' open file.
  QStringList OpenLines() const;
  // Waits on events until `done` holds or the loop must stop. Input given
  // before the wait is dropped; `report` then goes to the test status file.
  template <class Done>
  void WaitUntil(Done done, const QString& report = QString());
  void Travel(QPoint from, QPoint to, QSize size);
  int SlotOfMove(int move) const;

  GameState& state_;
  Mesa& mesa_;
  EngineContext* ctx_ = nullptr;
  int userWaits_ = 0;  // waits for the user under way (they nest)
  QStringList lines_;
  int selected_ = -1;
};

}  // namespace tarvelis
