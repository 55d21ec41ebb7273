#include "engine/hand_messages.h"

#include "engine/hand_end.h"
#include "engine/turn_loop.h"

namespace tarvelis {
namespace {

constexpr const char* kStepBackHint = "(Pulse el botón Cancelar si desea retroceder)";

std::string TieText(const GameState& s) {
  const bool pairs = s.RuleMode == kModePairs;
  switch (TieRule(s)) {
    case kTieLeaders:
      return pairs ? "EMPATE -> Gana la pareja que salió." : "EMPATE -> Gana el jugador que salió.";
    case kTieNonLeaders:
      return "EMPATE -> Gana la pareja que no salió.";
    default:
      return std::string("EMPATE -> Se repite el juego") +
             (s.RuleTieLead == kTieSameLead ? " y sale el mismo jugador."
                                            : " y se corre el turno de salida.");
  }
}

std::string WinnersText(const GameState& s) {
  const auto& n = s.SeatName;
  if (s.RuleMode == kModePairs) {
    return s.HandWinner == 1 ? "Habeis ganado el juego " + n[2] + " y " + n[4]
                             : "Han ganado el juego " + n[1] + " y " + n[3];
  }
  if (s.HandWinner == 4) return n[4] + ", has ganado el juego. ";
  const int seat = s.HandWinner >= 1 && s.HandWinner <= kSeats ? s.HandWinner : 0;
  return "Ha ganado el juego " + n[seat];
}

}  // namespace

std::string AsNumber(int value) {
  std::string text = std::to_string(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  return text;
}

std::string RightAligned3(int value) {
  std::string text = std::to_string(value);
  if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void Tell(EngineContext& ctx, const std::string& title, const std::string& text) {
  ctx.Port.ShowMessage(title, text, kPictureInformation, kButtonsNotice);
}

bool Ask(EngineContext& ctx, const std::string& title, const std::string& text) {
  return ctx.Port.ShowMessage(title, text, kPictureQuestion, kButtonsQuestion);
}

std::string BlockedHandText(const GameState& s, bool tied) {
  const auto& n = s.SeatName;
  std::string text;
  if (s.RuleMode == kModePairs) {
    text = n[2] + " y " + n[4] + " : " + AsNumber(PipsLeft(s, 4) + PipsLeft(s, 2)) + kLineBreak +
           n[1] + " y " + n[3] + " : " + AsNumber(PipsLeft(s, 3) + PipsLeft(s, 1));
  } else {
    for (int seat = 1; seat <= kSeats; ++seat) {
      if (seat > 1) text += kLineBreak;
      text += n[seat] + " : " + RightAligned3(PipsLeft(s, seat));
    }
  }
  if (tied) text += kLineBreak + TieText(s);
  return text + kLineBreak + kStepBackHint;
}

std::string HandResultText(const GameState& s, int points, int tens) {
  std::string text = "Puntos : " + AsNumber(points);
  if (s.RuleScoring == kScoreTens) text += "       Decenas : " + AsNumber(tens);
  return text + kLineBreak + WinnersText(s) + kLineBreak + kStepBackHint;
}

std::string MatchResultText(const GameState& s, int winner) {
  const auto& n = s.SeatName;
  if (s.RuleMode == kModePairs) {
    return winner == 1 ? "Habeis ganado la partida " + std::string(kLineBreak) + n[2] + " y " + n[4]
                       : "Han ganado la partida " + std::string(kLineBreak) + n[1] + " y " + n[3];
  }
  if (winner == 4) return n[4] + ", has ganado la partida. ";
  return "Ha ganado la partida " + n[winner >= 1 && winner <= kSeats ? winner : 0];
}

}  // namespace tarvelis
