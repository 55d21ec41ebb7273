#include "layout/option_rules.h"

#include <algorithm>

namespace tarvelis {
namespace {

// Characters, not bytes: the labels carry accented letters in UTF-8.
int CharacterCount(const std::string& text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text) {
  return text + std::string(std::max(0, kLabelLength - CharacterCount(text)), ' ');
}

const std::string& Blank() {
  static const std::string blank(kLabelLength, ' ');
  return blank;
}

struct SelectorText {
  int index;
  const char* title;
  std::array<const char*, 4> values;
};

// Selector 12 and 14 carry their pairs-mode labels here; RelabelForMode
// changes them for individual play.
constexpr SelectorText kSelectors[] = {
    {kSelPause, " Pausa entre jugadas  ", {"Activada", "Desactivada"}},
    {kSelPlayedTiles, " Fichas visibles ya puestas  ", {"Desaparecen", "Cambian de color"}},
    {kSelDirection, " Sentido del juego  ", {"Directo", "Inverso"}},
    {kSelSound, " Sonido  ", {"Activado", "Desactivado"}},
    {kSelMoveList, " Lista de jugadas  ", {"Siempre visible", "Al conectar grabadora"}},
    {kSelFiveDoubles, " Jugador con 5 dobles  ", {"Debe jugar con ellas", "Puede devolverlas"}},
    {kSelDealing, " Sistema de reparto  ", {"Aleatorio", "Manual"}},
    {kSelFirstLead, " Primera mano de la partida  ", {"Sale el Seis Doble", "Por sorteo"}},
    {kSelScoring, " Sistema de anotación  ", {"Por decenas", "Por unidades"}},
    {kSelCountedPips,
     " Puntos que se anotan  ",
     {"De todos los jugadores", "De la pareja perdedora"}},
    {kSelScoringPair,
     " Pareja que se anota los puntos  ",
     {"La pareja ganadora", "La pareja perdedora"}},
    {kSelTieWinner,
     " Ganador si hay empate  ",
     {"Se repite el juego", "La pareja que salió", "La pareja que no salió"}},
    {kSelTieLead, " En caso de empate sale  ", {"El mismo jugador", "Se corre el turno"}},
    {kSelNextLead,
     " Turno de salida  ",
     {"Turno rotatorio", "Elegir en cada juego", "Pareja ganadora", "Pareja perdedora"}},
    {kSelMode, " Modo de juego  ", {"Parejas", "Individual"}},
};

constexpr const char* kTilesShownTitle = " Fichas del jugador  ";
constexpr const char* kControlTitle = " Tipo de juego  ";

int SeatOf(int index) {
  return index > kSelControl ? index - kSelControl : index - kSelTilesShown;
}

// The texts of the rules' messages.
constexpr const char* kIncompatible = "Selecciones incompatibles";
constexpr const char* kImproper = "Selección improcedente";
constexpr const char* kIrrelevant = "Selección intrascendente";

constexpr const char* kHiddenOverManual =
    "Si elige 'Ocultas' en 'Fichas del jugador' no podrá seguir con el  'Tipo de juego'  de este "
    "jugador seleccionado a 'Manual'. Si pulsa el botón Aceptar se actualizará el  'Tipo de "
    "juego' a 'Automático'. Si  pulsa  el  botón  Cancelar  no  se  modificará ningún valor.";
constexpr const char* kManualOverHidden =
    "Para que pueda pasar a 'Manual' el 'Tipo de juego' de este jugador, las 'Fichas del "
    "jugador' deben estar 'Visibles'. Si pulsa el botón Aceptar se seleccionará dicho valor de "
    "forma automática. Si pulsa el botón Cancelar no se modificará ningún valor.";
constexpr const char* kDirectionRefused =
    "No  se  puede  cambiar  el  Sentido  del  juego  durante  el desarrollo de un juego. Cuando "
    "finalice el juego actual podrá realizar dicho cambio.";
constexpr const char* kScoringRefused =
    "No  se  puede  modificar  el  valor  del  selector   'Sistema de anotación'  si ya se han "
    "anotado los puntos  de  algún  juego. Cuando finalice la partida actual podrá realizar "
    "dicho cambio.";
constexpr const char* kMidMatchWarning =
    "Si modifica el valor de este selector cuando hay una partida en juego,  se recomienda "
    "comenzar una nueva partida para que este cambio se aplique de forma homogénea en todos los "
    "juegos de la misma.";
constexpr const char* kModeTitle = "Selector 'Modo de juego'";
constexpr const char* kModeMidMatchQuestion =
    "El modo de juego no puede cambiar durante una partida. Si pulsa el botón Aceptar se "
    "abandonará la partida en curso y, al cerrar esta ventana, comenzará una nueva partida en el "
    "nuevo modo. Si pulsa el botón Cancelar no se modificará ningún valor.";
// The message dialog's picture of a question.
constexpr int kQuestionPicture = 2;
constexpr const char* kOnlyInPairs =
    "La  opción  que  se  selecciona  en  este  selector  solo  tiene trascendencia si el "
    "selector 'Modo de juego' tiene activada la opción 'Parejas'.";
constexpr const char* kOnlyOnRepeat =
    "La  opción  que  se  selecciona  en  este  selector  solo  tiene trascendencia si el "
    "selector 'Ganador si hay empate' tiene activada la opción 'Se repite el juego'.";

bool MidMatch(const GameState& s) {
  return s.MatchInProgress && s.HandNumber >= 2;
}

// The points of a hand are scored once the first hand is over.
bool PointsScored(const GameState& s) {
  if (!s.MatchInProgress) return false;
  return !(s.HandNumber == 0 || (s.HandNumber == 1 && s.HandInProgress));
}

// The direction may change until the hand's first move, and between hands.
bool DirectionLocked(const GameState& s) {
  return s.MatchInProgress && s.HandInProgress && s.MoveNumber >= 2;
}

void ClickSeatTiles(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  const int seat = SeatOf(index);
  AdvanceSelector(s, labels, index, events);
  if (s.MatchInProgress) events.SeatTilesChanged(seat);
  if (s.SeatControl[seat] != kManual || s.SeatTilesShown[seat] != kTilesHidden) return;
  if (events.Show({kIncompatible, kHiddenOverManual, 2, 5})) {
    ClickSelector(s, labels, kSelControl + seat, events);
  } else {
    ClickSelector(s, labels, index, events);
  }
}

void ClickSeatControl(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  const int seat = SeatOf(index);
  AdvanceSelector(s, labels, index, events);
  if (s.SeatControl[seat] != kManual || s.SeatTilesShown[seat] != kTilesHidden) return;
  if (events.Show({kIncompatible, kManualOverHidden, 2, 5})) {
    if (s.SeatTilesShown[seat] == kTilesHidden) {
      ClickSelector(s, labels, kSelTilesShown + seat, events);
    }
  } else {
    ClickSelector(s, labels, index, events);
  }
}

// A match is played in one mode from its first hand to its last: pairs'
// totals mean nothing to four seats alone, nor the other way round.
void ClickMode(GameState& s, OptionLabels& labels, OptionEvents& events) {
  if (s.MatchInProgress) {
    if (!events.Show({kModeTitle, kModeMidMatchQuestion, 2, kQuestionPicture})) return;
    // Left at once, so that the match is neither saved nor asked about again;
    // the table starts a new one when the window closes.
    s.MatchInProgress = false;
    s.HandInProgress = false;
  }
  AdvanceSelector(s, labels, kSelMode, events);
  events.ScoreboardChanged();
  RelabelForMode(labels, s.RuleMode);
  events.Relabelled();
  // A value still valid comes back unchanged; one whose label went becomes 1.
  for (int index : {kSelTieWinner, kSelNextLead}) {
    i16& value = SelectorValue(s, index);
    value = static_cast<i16>(value - 1);
    AdvanceSelector(s, labels, index, events);
  }
}

}  // namespace

bool IsSelector(int index) {
  return (index >= 1 && index <= kSelMode) || (index > kSelTilesShown && index <= kSelControl + 4);
}

const char* SelectorTitle(int index) {
  if (index > kSelControl && index <= kSelControl + kSeats) return kControlTitle;
  if (index > kSelTilesShown && index <= kSelTilesShown + kSeats) return kTilesShownTitle;
  for (const SelectorText& s : kSelectors) {
    if (s.index == index) return s.title;
  }
  return "";
}

void RelabelForMode(OptionLabels& labels, i16 mode) {
  auto& tie = labels.Label[kSelTieWinner];
  auto& next = labels.Label[kSelNextLead];
  if (mode == kModeIndividual) {
    tie[2] = Padded("El jugador que salió");
    tie[3] = Blank();
    next[3] = Padded("Jugador ganador");
    next[4] = Blank();
  } else {
    tie[2] = Padded("La pareja que salió");
    tie[3] = Padded("La pareja que no salió");
    next[3] = Padded("Pareja ganadora");
    next[4] = Padded("Pareja perdedora");
  }
}

OptionLabels BuildOptionLabels(const GameState& state) {
  OptionLabels labels;
  for (auto& row : labels.Label) row.fill(Blank());
  for (const SelectorText& s : kSelectors) {
    for (int v = 1; v <= 4; ++v) {
      if (s.values[v - 1] != nullptr) labels.Label[s.index][v] = Padded(s.values[v - 1]);
    }
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    labels.Label[kSelTilesShown + seat][kTilesHidden] = Padded("Ocultas");
    labels.Label[kSelTilesShown + seat][kTilesVisible] = Padded("Visibles");
    labels.Label[kSelControl + seat][kAutomatic] = Padded("Automático");
    labels.Label[kSelControl + seat][kManual] = Padded("Manual");
  }
  RelabelForMode(labels, state.RuleMode);
  return labels;
}

bool IsBlankLabel(const std::string& label) {
  return label.find_first_not_of(' ') == std::string::npos;
}

std::string TrimmedLabel(const std::string& label) {
  const auto first = label.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return label.substr(first, label.find_last_not_of(' ') - first + 1);
}

const std::string& LabelOf(const OptionLabels& labels, int index, int value) {
  if (index < 0 || index >= kSelectorSlots || value < 0 || value >= kValueSlots) return Blank();
  return labels.Label[index][value];
}

i16& SelectorValue(GameState& s, int index) {
  if (index > kSelControl) return s.SeatControl[index - kSelControl];
  if (index > kSelTilesShown) return s.SeatTilesShown[index - kSelTilesShown];
  switch (index) {
    case kSelPause:
      return s.RulePauseBetweenMoves;
    case kSelPlayedTiles:
      return s.RulePlayedTilesShown;
    case kSelDirection:
      return s.RuleDirection;
    case kSelSound:
      return s.RuleSound;
    case kSelMoveList:
      return s.RuleMoveList;
    case kSelFiveDoubles:
      return s.RuleFiveDoubles;
    case kSelDealing:
      return s.RuleDealing;
    case kSelFirstLead:
      return s.RuleFirstLead;
    case kSelScoring:
      return s.RuleScoring;
    case kSelCountedPips:
      return s.RuleCountedPips;
    case kSelScoringPair:
      return s.RuleScoringPair;
    case kSelTieWinner:
      return s.RuleTieWinner;
    case kSelTieLead:
      return s.RuleTieLead;
    case kSelNextLead:
      return s.RuleNextLead;
    default:
      return s.RuleMode;
  }
}

i16 SelectorValue(const GameState& s, int index) {
  return SelectorValue(const_cast<GameState&>(s), index);
}

void AdvanceSelector(GameState& s, const OptionLabels& labels, int index, OptionEvents& events) {
  i16& value = SelectorValue(s, index);
  value = static_cast<i16>(value + 1);
  if (IsBlankLabel(LabelOf(labels, index, value))) value = 1;
  events.Advanced(index);
}

void ClickSelector(GameState& s, OptionLabels& labels, int index, OptionEvents& events) {
  if (!IsSelector(index)) return;
  if (index > kSelControl) return ClickSeatControl(s, labels, index, events);
  if (index > kSelTilesShown) return ClickSeatTiles(s, labels, index, events);
  switch (index) {
    case kSelDirection:
      if (DirectionLocked(s)) {
        events.Show({kImproper, kDirectionRefused, 1, 3});
        return;
      }
      AdvanceSelector(s, labels, index, events);
      SyncDirectionStep(s);
      events.DirectionChanged();
      return;
    case kSelPlayedTiles:
      AdvanceSelector(s, labels, index, events);
      if (s.MatchInProgress) events.AllTilesChanged();
      return;
    case kSelScoring:
      if (PointsScored(s)) {
        events.Show({kImproper, kScoringRefused, 1, 3});
        return;
      }
      AdvanceSelector(s, labels, index, events);
      events.ScoreboardChanged();
      return;
    case kSelCountedPips:
    case kSelScoringPair:
      if (MidMatch(s) && s.RuleMode == kModePairs) {
        events.Show({index == kSelCountedPips ? "Selector 'Puntos que se anotan'"
                                              : "Selector 'Pareja que se anota los puntos'",
                     kMidMatchWarning, 1, 4});
      } else if (s.RuleMode == kModeIndividual) {
        events.Show({kIrrelevant, kOnlyInPairs, 1, 3});
      }
      AdvanceSelector(s, labels, index, events);
      return;
    case kSelTieLead:
      if (s.RuleTieWinner != kTieRepeat) events.Show({kIrrelevant, kOnlyOnRepeat, 1, 3});
      AdvanceSelector(s, labels, index, events);
      return;
    case kSelMode:
      ClickMode(s, labels, events);
      return;
    default:
      AdvanceSelector(s, labels, index, events);
      return;
  }
}

void NormaliseToLabels(GameState& s, const OptionLabels& labels) {
  for (int index = 1; index < kSelectorSlots; ++index) {
    if (!IsSelector(index)) continue;
    i16& value = SelectorValue(s, index);
    if (IsBlankLabel(LabelOf(labels, index, value))) value = 1;
  }
  SyncDirectionStep(s);
}

int DragSliderValue(int value, int dx) {
  value = std::clamp(value, 0, 100);
  return value + std::clamp(dx, -value, 100 - value);
}

i16 StepMatchTarget(i16 value, int step) {
  const int v = std::clamp<int>(value, 1, kMatchTargetCap);
  return static_cast<i16>(std::clamp(v + (step > 0 ? 1 : -1), 1, kMatchTargetCap));
}

std::string DefaultSeatName(int seat) {
  return "Jugador" + std::to_string(seat);
}

std::string FinalSeatName(const std::string& name, int seat) {
  const auto last = name.find_last_not_of(' ');
  if (last == std::string::npos) return DefaultSeatName(seat);
  return name.substr(0, last + 1);
}

}  // namespace tarvelis
