#include "engine/headless_port.h"

#include "model/move_rules.h"

namespace tarvelis {
namespace {

template <class T>
T Next(std::deque<T>& queue, T otherwise) {
  if (queue.empty()) return otherwise;
  T value = queue.front();
  queue.pop_front();
  return value;
}

}  // namespace

void HeadlessPort::Note(const std::string& event) {
  if (Record) Events.push_back(event);
  if (OnEvent) OnEvent(event);
}

void HeadlessPort::YieldToWindows() {
  if (Watching()) Note("yield");
}

bool HeadlessPort::ShowMessage(const std::string& title, const std::string& text, int,
                               int buttons) {
  LastTitle = title;
  LastText = text;
  const bool answer = buttons == kButtonsQuestion ? Next(Answers, true) : true;
  if (Watching()) Note("message " + title);
  return answer;
}

int HeadlessPort::WaitForNotice(std::string_view label) {
  if (Watching()) Note("notice " + std::string(label));
  int chosen = 0;
  if (state_ != nullptr && !Clicks.empty()) {
    // A click on a tile the table would accept, as on the real table.
    const int slot = Next(Clicks, 0);
    if (state_->SeatControl[state_->CurrentSeat] == kManual &&
        EsJugable(*state_, state_->CurrentSeat, slot)) {
      chosen = slot;
    }
  }
  if (state_ != nullptr) state_->NoticeShown = false;
  return chosen;
}

void HeadlessPort::HandClosed(bool domino) {
  if (Watching()) Note(domino ? "closed domino" : "closed");
}

void HeadlessPort::ShowLaidTile(int move) {
  if (Watching()) Note("laid " + std::to_string(move));
}

void HeadlessPort::TakeBackTile(int move) {
  if (Watching()) Note("taken back " + std::to_string(move));
}

void HeadlessPort::ThinkingPause(int seat) {
  if (Watching()) Note("pause " + std::to_string(seat));
}

void HeadlessPort::ShowPassSign(int seat) {
  if (Watching()) Note("pass " + std::to_string(seat));
}

int HeadlessPort::AskEnd() {
  const int end = Next(Ends, 1);
  if (Watching()) Note("end " + std::to_string(end));
  return end;
}

int HeadlessPort::ChooseLeader() {
  const int seat = Next(Leaders, 1);
  if (Watching()) Note("leader " + std::to_string(seat));
  return seat;
}

void HeadlessPort::PlaySound(Sound sound) {
  if (Watching()) Note("sound " + std::to_string(static_cast<int>(sound)));
}

void HeadlessPort::RecorderLineAdded(int, const std::string& text) {
  if (Watching()) Note("line " + text);
}

void HeadlessPort::Wait(int hundredths) {
  if (Watching()) Note("wait " + std::to_string(hundredths));
}

void HeadlessPort::RecorderSelect(int index) {
  if (Watching()) Note("select " + std::to_string(index));
}

void HeadlessPort::AppendHistory() {
  if (Watching()) Note("history");
}

}  // namespace tarvelis
