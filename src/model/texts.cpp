#include "model/texts.h"

#include "model/trimmed.h"

namespace tarvelis {

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

std::string DefaultSeatName(int seat) {
  return "Jugador" + std::to_string(seat);
}

namespace {

std::string FiveDoublesIntro(const std::string& name) {
  return "El jugador " + name + " tiene cinco o más dobles entre sus siete fichas iniciales";
}

}  // namespace

std::string FiveDoublesQuestion(const std::string& name) {
  return FiveDoublesIntro(name) +
         ". ¿Desea seguir jugando con ellas (tecla Aceptar) o rechazarlas y repetir el juego "
         "(tecla Cancelar)?";
}

std::string FiveDoublesGivenBack(const std::string& name) {
  return FiveDoublesIntro(name) + " y ha optado por rechazarlas y repetir el juego.";
}

std::string SixDoubleLeadText(const std::string& name) {
  return std::string("Sale el jugador que tiene el seis doble.") + kLineBreak + "Sale " + name +
         ".";
}

std::string DrawnLeadText(const std::string& name) {
  return std::string("Se ha sorteado el jugador que comienza la partida.") + kLineBreak + "Sale " +
         name + ".";
}

std::string TieRepeatedText(bool sameLeader) {
  return std::string("EMPATE -> Se repite el juego") +
         (sameLeader ? " y sale el mismo jugador." : " y se corre el turno de salida.");
}

std::string PairPipsLine(const std::string& a, const std::string& b, int pips) {
  return a + " y " + b + " : " + AsNumber(pips);
}

std::string SeatPipsLine(const std::string& name, int pips) {
  return name + " : " + RightAligned3(pips);
}

std::string HandPointsLine(int points, int tens, bool byTens) {
  std::string text = "Puntos : " + AsNumber(points);
  if (byTens) text += "       Decenas : " + AsNumber(tens);
  return text;
}

std::string PairWonHandText(bool users, const std::string& a, const std::string& b) {
  return (users ? "Habeis ganado el juego " : "Han ganado el juego ") + a + " y " + b;
}

std::string UserWonHandText(const std::string& name) {
  return name + ", has ganado el juego. ";
}

std::string SeatWonHandText(const std::string& name) {
  return "Ha ganado el juego " + name;
}

std::string PairWonMatchText(bool users, const std::string& a, const std::string& b) {
  return (users ? "Habeis ganado la partida " : "Han ganado la partida ") +
         std::string(kLineBreak) + a + " y " + b;
}

std::string UserWonMatchText(const std::string& name) {
  return name + ", has ganado la partida. ";
}

std::string SeatWonMatchText(const std::string& name) {
  return "Ha ganado la partida " + name;
}

std::string TotaliserHead(int onTable, int toCome) {
  return "Suma de tantos puestos en la mesa : " + std::to_string(onTable) + kLineBreak +
         "Suma de tantos que quedan por poner : " + std::to_string(toCome) + kLineBreak +
         kLineBreak + "Fichas pendientes de colocar:";
}

std::string NearlyBestMoveText(const std::string& tile, const std::string& loss, bool units) {
  return "Buena jugada; la mejor, " + tile + ", " + loss + (units ? " puntos más" : " decenas más");
}

std::string BetterMoveText(const std::string& tile, const std::string& loss, bool units) {
  return "Mejor " + tile + ": " + loss + (units ? " puntos más" : " decenas más");
}

std::string ReviewProgressText(int done, int total) {
  return "Analizando la mano: " + std::to_string(done) + " de " + std::to_string(total);
}

std::string ReviewSummaryText(int marked) {
  if (marked == 0) return "Análisis: ninguna jugada marcada";
  return "Análisis: " + std::to_string(marked) + " " +
         (marked == 1 ? "jugada marcada" : "jugadas marcadas");
}

std::string MatchTargetText(int points) {
  return "Partida a " + std::to_string(points) + (points == 1 ? " punto" : " puntos");
}

std::string ResolutionMessage(int width, int height) {
  return "Aunque este programa puede funcionar bajo la resolución que tiene actualmente "
         "seleccionada (" +
         RightAligned3(width) + "x" + RightAligned3(height) +
         "), la resolución aconsejada para obtener los mejores resultados es la de 800x600 con "
         "256 o más colores.";
}

std::string HistoryNotSavedMessage(const std::string& file) {
  return "No se ha podido guardar la partida en el histórico " + file + ".";
}

std::string SettingsNotSavedMessage(const std::string& file, bool atExit) {
  return "No se han podido guardar los datos en " + file +
         (atExit ? ". La partida en curso no se podrá continuar." : ".");
}

std::string SettingsNotSavedAtExitMessage(const std::string& file, bool matchOnDisk) {
  return "No se han podido guardar los datos en " + file +
         (matchOnDisk ? ". La partida en curso continuará en la próxima sesión desde la última "
                        "jugada que se pudo guardar."
                      : ". La partida en curso no se podrá continuar.");
}

std::string SecondCopyMessage(const std::string& folder) {
  return "TARVELIS ya está abierto con la carpeta de datos " + folder +
         ". Solo puede haber un TARVELIS abierto con cada carpeta de datos: siga jugando en el que "
         "está abierto.";
}

std::string DriveNotReadyMessage(const std::string& folder) {
  return "CID ERROR 68: Unidad " + folder + ": no preparada";
}

std::string ErrorNumberMessage(int errorNumber) {
  return "CID ERROR " + std::to_string(errorNumber);
}

std::string DamagedCopyNote(const std::string& file) {
  return " Se ha guardado una copia del fichero en " + file + ".";
}

namespace {

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

}  // namespace

std::string SavedGameMissingMessage(const std::string& name) {
  return "No se encuentra el juego archivado " + Quoted(name) + ".";
}

std::string SavedGameDamagedMessage(const std::string& name, int errorNumber) {
  std::string text = "El juego archivado " + Quoted(name) + " está dañado y no se puede cargar";
  if (errorNumber != 0) text += " (" + ErrorNumberMessage(errorNumber) + ")";
  return text + ". La partida en curso sigue como estaba.";
}

std::string SavedGameNotWrittenMessage(const std::string& file) {
  return "No se ha podido archivar el juego actual en " + file +
         ". Ningún juego archivado ha cambiado.";
}

std::string SavedGameNotDeletedMessage(const std::string& name) {
  return "No se ha podido borrar el juego archivado " + Quoted(name) + ".";
}

std::string UnreadablePictureText(const std::string& file) {
  return "No se puede leer la imagen " + file;
}

std::string NetworkComputerText(int level) {
  return "Ordenador, nivel " + std::to_string(level);
}

std::string NetNoServerMessage(const std::string& address) {
  return "No se puede conectar con el servidor " + address +
         ". La partida local y la configuración siguen como estaban.";
}

std::string NetRefusedMessage(const std::string& words) {
  return "El servidor no admite la petición: " + words;
}

std::string NetSeatAwayText(const std::string& name) {
  return name + " se ha desconectado: el ordenador jugará su puesto hasta que vuelva.";
}

std::string NetSeatBackText(const std::string& name) {
  return name + " ha vuelto a la mesa.";
}

std::string SelectorMessageTitle(const char* title) {
  return "Selector '" + Trimmed(title) + "'";
}

std::string NetResumeLabel(const std::string& code) {
  return "Volver a la mesa " + code;
}

std::string NetInvitationQuestion(const std::string& address, const std::string& code, int seat) {
  return "Le invitan a la mesa " + code + " del servidor " + address + ", puesto " +
         std::to_string(seat) + ". ¿Unirse ahora? La partida local queda guardada como está.";
}

std::string NetJoinUsage() {
  return "Uso: tarvelis --join DIRECCIÓN CÓDIGO PUESTO [NOMBRE]";
}

std::string NetWatchingLine(const std::string& code) {
  return "Mirando la mesa " + code;
}

std::string NetKeptHandLine(int hand, int hands) {
  return "Mano " + std::to_string(hand) + " de " + std::to_string(hands) +
         " (RePág y AvPág cambian de mano)";
}

}  // namespace tarvelis
