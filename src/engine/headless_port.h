// A table that is not there: every wait ends at once, every question is
// answered from a script or with yes. The simulator plays on it, and the tests
// script it to take the paths a user would take on the real table.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "model/table_port.h"

namespace tarvelis {

class HeadlessPort : public TablePort {
 public:
  // `state` is the state the engine plays, needed only for scripted clicks.
  explicit HeadlessPort(GameState* state = nullptr) : state_(state) {}

  // Answers of the coming questions, in order; yes once they run out.
  std::deque<bool> Answers;
  // Ends the end arrows will give, in order; end 1 once they run out.
  std::deque<int> Ends;
  // Leading seats the user will pick, in order; seat 1 once they run out.
  std::deque<int> Leaders;
  // Slots the manual seat to move will click at the continue button, in
  // order; once they run out the button is pressed without a click, and the
  // computer plays the turn.
  std::deque<int> Clicks;

  // When set, every call is written to Events as a short line ("sound 14",
  // "message C i e r r e", "notice Jugador4", "laid 5", ...).
  bool Record = false;
  std::vector<std::string> Events;
  // Called with each event, recorded or not: tests act here as a user would
  // act while the table waits.
  std::function<void(const std::string&)> OnEvent;

  // The last message shown.
  std::string LastTitle;
  std::string LastText;

  void YieldToWindows() override;
  bool ShowMessage(const std::string& title, const std::string& text, int picture,
                   int buttons) override;
  int WaitForNotice(std::string_view label) override;
  void ClearTableForDeal() override {}
  void GameLoaded() override {}
  void DrawHand(int) override {}
  void DrawScoreboard() override {}
  void HandClosed(bool domino) override;
  void ShowLaidTile(int move) override;
  void TakeBackTile(int move) override;
  void ShowPassSign(int seat) override;
  int AskEnd() override;
  void ThinkingPause(int seat) override;
  int ChooseLeader() override;
  // The headless table cannot deal by hand: the engine deals at random.
  bool RunManualDeal() override { return false; }
  void PlaySound(Sound sound) override;
  void Wait(int hundredths) override;
  void RecorderLineAdded(int move, const std::string& text) override;
  bool ShowsRecorderLines() const override { return Watching(); }
  void RecorderSelect(int index) override;
  void AppendHistory() override;

 protected:
  bool Watching() const { return Record || OnEvent != nullptr; }
  void Note(const std::string& event);

 private:
  GameState* state_;
};

}  // namespace tarvelis
