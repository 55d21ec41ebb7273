// Every text the user reads, in Spanish, in one place: the fixed texts as
// constants, the messages that carry a name or a number as small functions.
// The spacing inside them (runs of spaces, a leading or trailing blank) is the
// game's own and is kept byte for byte; the files and the tests compare them.
#pragma once

#include <string>

namespace tarvelis {

// The line break inside a message.
inline constexpr const char* kLineBreak = "\r\n";

// A number "as a number": one leading space unless it is negative (" 25", "-3").
std::string AsNumber(int value);
// A number right-aligned in three characters ("  7", " 25", "999").
std::string RightAligned3(int value);

// ---------------------------------------------------------------------------
// Message titles

inline constexpr const char* kFiveDoublesTitle = "Jugador con cinco dobles";
inline constexpr const char* kFirstHandTitle = "Comienza la Partida";
inline constexpr const char* kBlockedTitle = "C i e r r e";
inline constexpr const char* kHandResultTitle = "Final de este juego";
inline constexpr const char* kMatchOverTitle = "Final de Partida";
inline constexpr const char* kHistoryTitle = "Histórico de partidas jugadas";
inline constexpr const char* kTotaliserTitle = "Totalizador de tantos y fichas no puestas";
inline constexpr const char* kLoadErrorTitle = "Error en la carga de datos iniciales";
inline constexpr const char* kSaveErrorTitle = "Error en la grabación de datos";
inline constexpr const char* kResolutionTitle = "Resolución de pantalla";
inline constexpr const char* kLetterSizeTitle = "Tamaño de letra";
inline constexpr const char* kResumeTitle = "Continuar la partida anterior";
inline constexpr const char* kPostponeTitle = "Posponer la partida en curso";
inline constexpr const char* kAbandonTitle = "Abandonar la partida en curso";
inline constexpr const char* kProgramTitle = "TARVELIS";

// ---------------------------------------------------------------------------
// The match: the deal, the lead, the end of a hand and of the match

// The label of the continue button at the end of a hand.
inline constexpr const char* kContinueLabel = "Continuar";
// The default name of seat n ("Jugador1").
std::string DefaultSeatName(int seat);
// After a recorder line whose move the computer chose by weighing candidates.
inline constexpr const char* kWeighedMoveMark = " ???";
// The scoreboard's letters for pairs 1 and 2: over their totals, each
// underlined, or with a colon beside them once a total passes 99.
inline constexpr const char* kScorePairLetters[3] = {"", "N", "E"};
inline constexpr const char* kScorePairLabels[3] = {"", "N:", "E:"};
inline constexpr const char* kScoreUnderline = "__";
// The mark of an options-menu entry that is on.
inline constexpr const char* kTickMark = "X";

std::string FiveDoublesQuestion(const std::string& name);
std::string FiveDoublesGivenBack(const std::string& name);
std::string SixDoubleLeadText(const std::string& name);
std::string DrawnLeadText(const std::string& name);

inline constexpr const char* kStepBackHint = "(Pulse el botón Cancelar si desea retroceder)";
inline constexpr const char* kTieLeadingPair = "EMPATE -> Gana la pareja que salió.";
inline constexpr const char* kTieLeadingSeat = "EMPATE -> Gana el jugador que salió.";
inline constexpr const char* kTieOtherPair = "EMPATE -> Gana la pareja que no salió.";
std::string TieRepeatedText(bool sameLeader);

// A blocked hand's lines: the pips a pair or a seat still holds.
std::string PairPipsLine(const std::string& a, const std::string& b, int pips);
std::string SeatPipsLine(const std::string& name, int pips);
// "Puntos :  25", and the tens when scoring by tens.
std::string HandPointsLine(int points, int tens, bool byTens);

// Who won a hand and who won the match: the user's pair (seats 2 and 4) or
// the user alone are told in the second person.
std::string PairWonHandText(bool users, const std::string& a, const std::string& b);
std::string UserWonHandText(const std::string& name);
std::string SeatWonHandText(const std::string& name);
std::string PairWonMatchText(bool users, const std::string& a, const std::string& b);
std::string UserWonMatchText(const std::string& name);
std::string SeatWonMatchText(const std::string& name);

inline constexpr const char* kKeepInHistoryQuestion = "¿Se actualiza el Histórico de partidas?";

// The "+" key's count of the pips on the table and the tiles to come.
std::string TotaliserHead(int onTable, int toCome);

// The move list's word for a pass.
inline constexpr const char* kPassWord = "Pasa";

// ---------------------------------------------------------------------------
// The review of a hand

inline constexpr const char* kMoveNotReviewed = "Jugada sin analizar";
inline constexpr const char* kForcedPass = "Pase obligado";
inline constexpr const char* kOnlyMove = "Única jugada posible";
inline constexpr const char* kGoodMove = "Jugada acertada";
std::string BetterMoveText(const std::string& tile, const std::string& loss, bool units);
// A loss too small to mark, said all the same.
std::string NearlyBestMoveText(const std::string& tile, const std::string& loss, bool units);
std::string ReviewProgressText(int done, int total);
std::string ReviewSummaryText(int marked);

// ---------------------------------------------------------------------------
// The score report and the history of matches

inline constexpr const char* kReportTitle = "Informe de puntuación";
inline constexpr const char* kReportPairsHeader = "Mano   Sale";
inline constexpr const char* kReportSeatsHeader = "Mano   Sale    ";
std::string MatchTargetText(int points);
// The pairs' badges over the report's columns: seats 2 and 4, seats 1 and 3.
inline constexpr const char* kOurPairLetter = "N";
inline constexpr const char* kTheirPairLetter = "E";

// The totals' sections, index 1..4.
inline constexpr const char* kTotalsTitle[5] = {
    "", "Partidas ganadas por jugador", "Puntos obtenidos por jugador",
    "Partidas ganadas por pareja", "Puntos obtenidos por pareja"};
inline constexpr const char* kTotalsHeader[5] = {
    "", "                  Jugador                   Partidas",
    "                  Jugador                    Puntos",
    "                   Pareja                                Partidas",
    "                   Pareja                                 Puntos"};
// On the history's folder, both of its views, while no match has been finished.
inline constexpr const char* kEmptyHistoryText = "Todavía no ha terminado ninguna partida";
inline constexpr const char* kMatchesHeader =
    "Fecha / Hora           Ganadores / Perdedores                  Puntos";

// ---------------------------------------------------------------------------
// The table: the bar, the options menu, the pictures' own texts

// The hint over bar button n, index 1..6.
inline constexpr const char* kButtonHints[7] = {"",
                                                "Ayuda de la aplicación",
                                                "Comenzar nueva partida",
                                                "Personalizar la aplicación",
                                                "Tutor de juego",
                                                "Salir de la aplicación",
                                                "Marcador / Histórico"};
inline constexpr const char* kRecorderHint = "Encender/Apagar mando";
// The options menu's entries, in their order.
inline constexpr const char* kOptionTexts[9] = {"Guardar este juego",
                                                "Cargar un juego guardado",
                                                "Borrar un juego guardado",
                                                "Ordenar fichas",
                                                "Girar fichas",
                                                "Analizar la mano",
                                                "Mesa en una ventana (F11)",
                                                "Mesa clásica, sin ampliar",
                                                "Jugar en red"};
// The classic look, one table pixel per screen pixel, switched on or off.
inline constexpr const char* kClassicLookTitle = "Mesa clásica";
inline constexpr const char* kClassicLookOn =
    "La mesa se verá a su tamaño clásico, sin ampliar, la próxima vez que se inicie el "
    "programa.";
inline constexpr const char* kClassicLookOff =
    "La mesa se ampliará hasta llenar la pantalla la próxima vez que se inicie el programa.";
// The chat of a networked table.
inline constexpr const char* kChatPlaceholder = "Escriba aquí y pulse Intro";
inline constexpr const char* kChatToggleHint = "Mostrar u ocultar la charla (F3)";
inline constexpr const char* kChatHideMark = "▾";
inline constexpr const char* kChatShowMark = "▸";
// The kept hands' steps beside their line once a networked match is over.
inline constexpr const char* kKeptBackMark = "◂";
inline constexpr const char* kKeptForwardMark = "▸";
inline constexpr const char* kKeptBackHint = "Mano anterior (RePág)";
inline constexpr const char* kKeptForwardHint = "Mano siguiente (AvPág)";
inline constexpr const char* kChooseLeaderText = "Elija el jugador que va a salir";
inline constexpr const char* kDealToSeatText = "Pulse la mano del jugador que recibe la ficha";
inline constexpr const char* kManualDealText = "Reparto manual: pulse una ficha para repartirla";

// ---------------------------------------------------------------------------
// The program's own notices

std::string ResolutionMessage(int width, int height);
inline constexpr const char* kLetterSizeMessage =
    "TARVELIS programa está preparado para funcionar con el tamaño de letra normal, es decir de "
    "96 puntos por pulgada. Su ordenador está utilizando actualmente un tamaño de letra grande "
    "que va a producir un deficiente funcionamiento de este programa. Para obtener un perfecto "
    "rendimiento de TARVELIS debe modificar la configuración de su pantalla y cambiarla a tamaño "
    "de letra pequeño.";
inline constexpr const char* kResumeMessage =
    "Continua el desarrollo de la partida que no finalizó en la sesión anterior.";
inline constexpr const char* kPostponeQuestion =
    "¿Desea abandonar el programa para continuar en otro momento la partida que está jugando?";
inline constexpr const char* kAbandonQuestion =
    "¿Desea abandonar la partida que está jugando para comenzar una nueva partida?";
inline constexpr const char* kLeaderFirstMessage =
    "Elija el jugador que va a salir este juego antes de poder abandonar el programa.";
inline constexpr const char* kRecorderFirstMessage =
    "Tiene que apagar la Grabadora de jugadas antes de poder abandonar el programa.";
std::string HistoryNotSavedMessage(const std::string& file);
// The settings could not be written; at exit the match in play is lost too.
std::string SettingsNotSavedMessage(const std::string& file, bool atExit);
// At exit, with a match in play: whether the next start finds it at the last
// move saved (`matchOnDisk`) or not at all.
std::string SettingsNotSavedAtExitMessage(const std::string& file, bool matchOnDisk);

// What a second copy of the game says before it ends.
inline constexpr const char* kSecondCopyTitle = "TARVELIS ya está abierto";
std::string SecondCopyMessage(const std::string& folder);

// ---------------------------------------------------------------------------
// The settings file

inline constexpr const char* kMatchDroppedMessage =
    "La partida que no finalizó en la sesión anterior no se puede continuar: sus datos en "
    "TARVE32.INI están dañados.";
inline constexpr const char* kCannotSaveMessage =
    "No se puede escribir en la carpeta del programa ni en la carpeta de datos del usuario. Se "
    "juega con los datos guardados, pero los cambios no se podrán guardar.";
inline constexpr const char* kNotCreatedMessage =
    "No se encuentra el fichero de inicialización TARVE32.INI y no se ha podido crear. Se "
    "juega con los valores establecidos por defecto, pero los cambios no se podrán guardar.";
inline constexpr const char* kSettingsCreatedMessage =
    "No se encuentra el fichero de inicialización TARVE32.INI. Se ha  procedido  a  crearlo "
    "automáticamente  con  los  valores establecidos por defecto.";
inline constexpr const char* kOutOfMemoryMessage = "CID ERROR 7 : Insuficiente memoria";
inline constexpr const char* kSettingsPathMessage =
    "CID ERROR 76: No existe el fichero de inicialización TARVE32.INI";
std::string DriveNotReadyMessage(const std::string& folder);
std::string ErrorNumberMessage(int errorNumber);
std::string DamagedCopyNote(const std::string& file);

// ---------------------------------------------------------------------------
// The saved games

// The saved-games dialog's message line when the name typed cannot be used,
// and once the first press of "Borrar" asks for a second.
inline constexpr const char* kSavedGameNameTooLong =
    " El nombre no puede tener más de 64 caracteres. Acórtelo para poder continuar.";
inline constexpr const char* kSavedGameNameNotPlain =
    " El nombre no puede contener los caracteres / ni \\, ni ser \".\" o \"..\". Indique otro "
    "nombre.";
inline constexpr const char* kSavedGameDeleteConfirm =
    " Un juego borrado no se puede recuperar. Pulse otra vez el botón Borrar para borrarlo o "
    "indique otro nombre.";
inline constexpr const char* kSavedGameExistsMessage =
    "  Ya  existe  un  archivo  con  ese  nombre.   Pulse  el  botón        Guardar para "
    "sobreescribirlo  o  indique otro nombre para       archivar el juego actual.";
inline constexpr const char* kLoadGameTitle = " Cargar un juego archivado";
inline constexpr const char* kSaveGameTitle = " Archivar el juego actual";
inline constexpr const char* kDeleteGameTitle = " Borrar un juego archivado";
inline constexpr const char* kLoadGamePrompt =
    " Indique el nombre del juego que desea cargar y que se va     a convertir en el juego "
    "actual.";
inline constexpr const char* kSaveGamePrompt =
    " Indique  el  nombre  con  el  que  desea  archivar  el  juego       actual.";
inline constexpr const char* kDeleteGamePrompt =
    " Indique el nombre del juego archivado que desea borrar.";
inline constexpr const char* kLoadLabel = "Cargar";
inline constexpr const char* kSaveLabel = "Guardar";
inline constexpr const char* kDeleteLabel = "Borrar";
std::string SavedGameMissingMessage(const std::string& name);
// errorNumber 0: the game read but does not hold together.
std::string SavedGameDamagedMessage(const std::string& name, int errorNumber);
std::string SavedGameNotWrittenMessage(const std::string& file);
std::string SavedGameNotDeletedMessage(const std::string& name);

// ---------------------------------------------------------------------------
// The settings window

inline constexpr const char* kSettingsWindowTitle = "Personalizar la aplicación";
inline constexpr const char* kIncompatibleTitle = "Selecciones incompatibles";
inline constexpr const char* kImproperTitle = "Selección improcedente";
inline constexpr const char* kIrrelevantTitle = "Selección intrascendente";
inline constexpr const char* kHiddenOverManual =
    "Si elige 'Ocultas' en 'Fichas del jugador' no podrá seguir con el  'Tipo de juego'  de este "
    "jugador seleccionado a 'Manual'. Si pulsa el botón Aceptar se actualizará el  'Tipo de "
    "juego' a 'Automático'. Si  pulsa  el  botón  Cancelar  no  se  modificará ningún valor.";
inline constexpr const char* kManualOverHidden =
    "Para que pueda pasar a 'Manual' el 'Tipo de juego' de este jugador, las 'Fichas del "
    "jugador' deben estar 'Visibles'. Si pulsa el botón Aceptar se seleccionará dicho valor de "
    "forma automática. Si pulsa el botón Cancelar no se modificará ningún valor.";
inline constexpr const char* kDirectionRefused =
    "No  se  puede  cambiar  el  Sentido  del  juego  durante  el desarrollo de un juego. Cuando "
    "finalice el juego actual podrá realizar dicho cambio.";
inline constexpr const char* kScoringRefused =
    "No  se  puede  modificar  el  valor  del  selector   'Sistema de anotación'  si ya se han "
    "anotado los puntos  de  algún  juego. Cuando finalice la partida actual podrá realizar "
    "dicho cambio.";
// The settings window's ticks that hand a seat, or the tutor, to the expert.
inline constexpr const char* kExpertTickLabel = "Experto";
inline constexpr const char* kTutorTickLabel = "Tutor experto";
// Changing "Modo de juego" between hands, "Puntos que se anotan" or "Pareja
// que se anota los puntos" once a match has scored hands: the change is made,
// with this advice.
inline constexpr const char* kMidMatchWarning =
    "Si modifica el valor de este selector cuando hay una partida en juego,  se recomienda "
    "comenzar una nueva partida para que este cambio se aplique de forma homogénea en todos los "
    "juegos de la misma.";
// The questions asked where the match under way would go wrong: the mode while
// a hand is on the table (it changes who plays with whom in it), and a target
// lowered to a total already reached (the match would end with the wrong
// winner).
inline constexpr const char* kModeMidMatchQuestion =
    "El modo de juego no puede cambiar durante una partida. Si pulsa el botón Aceptar se "
    "abandonará la partida en curso y, al cerrar esta ventana, comenzará una nueva partida en el "
    "nuevo modo. Si pulsa el botón Cancelar no se modificará ningún valor.";
inline constexpr const char* kTargetMidMatchQuestion =
    "Los puntos de la partida no pueden bajar hasta los que ya se han anotado. Si pulsa el "
    "botón Aceptar se abandonará la partida en curso y, al cerrar esta ventana, comenzará una "
    "nueva partida a los nuevos puntos. Si pulsa el botón Cancelar no se modificará ningún valor.";
inline constexpr const char* kOnlyInPairs =
    "La  opción  que  se  selecciona  en  este  selector  solo  tiene trascendencia si el "
    "selector 'Modo de juego' tiene activada la opción 'Parejas'.";
inline constexpr const char* kOnlyOnRepeat =
    "La  opción  que  se  selecciona  en  este  selector  solo  tiene trascendencia si el "
    "selector 'Ganador si hay empate' tiene activada la opción 'Se repite el juego'.";

// The global selectors' titles and values in pairs mode, index 1..15.
struct SelectorWords {
  const char* Title;
  const char* Values[4];
};
inline constexpr SelectorWords kSelectorWords[16] = {
    {"", {}},
    {" Pausa entre jugadas  ", {"Activada", "Desactivada"}},
    {" Fichas visibles ya puestas  ", {"Desaparecen", "Cambian de color"}},
    {" Sentido del juego  ", {"Directo", "Inverso"}},
    {" Sonido  ", {"Activado", "Desactivado"}},
    {" Lista de jugadas  ", {"Siempre visible", "Al conectar grabadora"}},
    {" Jugador con 5 dobles  ", {"Debe jugar con ellas", "Puede devolverlas"}},
    {" Sistema de reparto  ", {"Aleatorio", "Manual"}},
    {" Primera mano de la partida  ", {"Sale el Seis Doble", "Por sorteo"}},
    {" Sistema de anotación  ", {"Por decenas", "Por unidades"}},
    {" Puntos que se anotan  ", {"De todos los jugadores", "De la pareja perdedora"}},
    {" Pareja que se anota los puntos  ", {"La pareja ganadora", "La pareja perdedora"}},
    {" Ganador si hay empate  ",
     {"Se repite el juego", "La pareja que salió", "La pareja que no salió"}},
    {" En caso de empate sale  ", {"El mismo jugador", "Se corre el turno"}},
    {" Turno de salida  ",
     {"Turno rotatorio", "Elegir en cada juego", "Pareja ganadora", "Pareja perdedora"}},
    {" Modo de juego  ", {"Parejas", "Individual"}},
};
// Selectors 12 and 14 in individual play.
inline constexpr const char* kTieLeadingSeatValue = "El jugador que salió";
inline constexpr const char* kWinningSeatValue = "Jugador ganador";
// The per-seat selectors.
inline constexpr const char* kTilesShownTitle = " Fichas del jugador  ";
inline constexpr const char* kControlTitle = " Tipo de juego  ";
inline constexpr const char* kHiddenValue = "Ocultas";
inline constexpr const char* kVisibleValue = "Visibles";
inline constexpr const char* kAutomaticValue = "Automático";
inline constexpr const char* kManualValue = "Manual";
// The window's groups, sliders and fields.
inline constexpr const char* kGroupTitles[5] = {" Modalidad de juego  ", " Reparto de fichas  ",
                                                " Salidas  ", " Anotación de puntos  ",
                                                " Cierres  "};
inline constexpr const char* kSpeedSliderTitle = " Velocidad de juego  ";
inline constexpr const char* kLevelSliderTitle = " Nivel de juego  ";
inline constexpr const char* kTargetTitle = "  Puntos de la partida  ";
// The title of a message about a selector or the target, its title trimmed:
// "Selector 'Modo de juego'".
std::string SelectorMessageTitle(const char* title);
inline constexpr const char* kNameLabel = "Nombre..:";
std::string UnreadablePictureText(const std::string& file);

// ---------------------------------------------------------------------------
// The other windows' titles and buttons

inline constexpr const char* kAcceptLabel = "Aceptar";
inline constexpr const char* kCancelLabel = "Cancelar";
inline constexpr const char* kExitLabel = "Salir";
inline constexpr const char* kCoverWindowTitle = "Presentación de TARVELIS";
inline constexpr const char* kHelpWindowTitle = "Ayuda de TARVELIS";
inline constexpr const char* kHelpContents = "Contenido";
inline constexpr const char* kHelpBack = "Atrás";
inline constexpr const char* kHelpForward = "Adelante";
inline constexpr const char* kHelpClose = "Cerrar";
inline constexpr const char* kHistoryWindowTitle = "Histórico de partidas";
inline constexpr const char* kMatchesLabel = "Partidas";
inline constexpr const char* kTotalsLabel = "Totales";
inline constexpr const char* kScoreWindowTitle = "Marcador";
inline constexpr const char* kHistoryLabel = "Histórico";
// After the winners of a match played at a server's table, in the history.
inline constexpr const char* kHistoryNetworkMark = " (en red)";

// ---------------------------------------------------------------------------
// "Jugar en red": the window that creates a table on a server or joins one

inline constexpr const char* kNetworkTitle = "Jugar en red";
inline constexpr const char* kNetworkCreateTab = "Crear una mesa";
inline constexpr const char* kNetworkJoinTab = "Unirse a una mesa";
inline constexpr const char* kNetworkServerLabel = "Servidor:";
inline constexpr const char* kNetworkCodeLabel = "Código:";
inline constexpr const char* kNetworkNameLabel = "Nombre:";
inline constexpr const char* kNetworkSeatLabel = "Su puesto:";
inline constexpr const char* kNetworkRulesLabel = "Reglas:";
inline constexpr const char* kNetworkCreateLabel = "Crear";
inline constexpr const char* kNetworkJoinLabel = "Unirse";
inline constexpr const char* kNetworkStartLabel = "Empezar";
inline constexpr const char* kNetworkSeatWord = "Puesto";
inline constexpr const char* kNetworkPerson = "Persona";
inline constexpr const char* kNetworkExpert = "Experto";
inline constexpr const char* kNetworkFree = "libre";
inline constexpr const char* kNetworkAway = "ausente";
inline constexpr const char* kNetworkYou = "(usted)";
inline constexpr const char* kNetworkSeatHint =
    "Pulse un puesto para cambiar quién lo juega: persona, ordenador o experto.";
inline constexpr const char* kNetworkJoinHint =
    "Escriba el código de la mesa que le han dado y elija un puesto libre.";
inline constexpr const char* kNetworkCodeHint = "Dé este código a sus amigos para que se unan.";
inline constexpr const char* kNetworkMatchOf = "partida a";
inline constexpr const char* kNetworkPointsWord = "puntos";
inline constexpr const char* kNetworkRulesNote = "el resto, como en Personalizar";
inline constexpr const char* kNetworkDealtAtRandom = "reparto al azar y salida por turno";
// Where the window stands.
inline constexpr const char* kNetworkConnecting = "Conectando con el servidor...";
inline constexpr const char* kNetworkCreating = "Creando la mesa...";
inline constexpr const char* kNetworkSitting = "Sentándose a la mesa...";
inline constexpr const char* kNetworkWaitingPlayers = "Esperando a que se sienten los demás.";
inline constexpr const char* kNetworkMayStart = "Están todos: puede empezar la partida.";
inline constexpr const char* kNetworkWaitingHost = "Esperando a que el anfitrión empiece.";
inline constexpr const char* kNetworkStarting = "Empezando la partida...";
// What went wrong, in the player's words.
inline constexpr const char* kNetworkBadAddress =
    "La dirección del servidor no es válida. Escríbala como 192.168.1.20:7777.";
inline constexpr const char* kNetworkBadCode = "El código de la mesa tiene diez letras o cifras.";
inline constexpr const char* kNetworkNoName = "Escriba su nombre.";
inline constexpr const char* kNetworkNoServer =
    "No hay respuesta del servidor. Compruebe la dirección y que el servidor esté en marcha.";
inline constexpr const char* kNetworkDropped = "Se ha perdido la conexión con el servidor.";
inline constexpr const char* kNetworkNoTable = "No hay ninguna mesa con ese código.";
inline constexpr const char* kNetworkSeatTaken = "Ese puesto ya está ocupado. Elija otro.";
inline constexpr const char* kNetworkNotPerson = "Ese puesto lo juega el ordenador. Elija otro.";
inline constexpr const char* kNetworkFull =
    "El servidor no admite más mesas ahora. Inténtelo más tarde.";
inline constexpr const char* kNetworkVersion =
    "El servidor es de otra versión del juego y no se entienden.";
inline constexpr const char* kNetworkStarted = "La partida de esa mesa ya ha empezado.";
inline constexpr const char* kNetworkNotReady = "Faltan jugadores por sentarse.";
inline constexpr const char* kNetworkRefused = "El servidor no ha aceptado la petición.";
// "Ordenador, nivel 50".
std::string NetworkComputerText(int level);
// The match played at a server's table

inline constexpr const char* kNetMatchTitle = "Partida en red";
inline constexpr const char* kNetLinkLost =
    "Se ha perdido la conexión con el servidor. Intentando volver a la mesa...";
// On the continue button's place while the game tries to get back.
inline constexpr const char* kNetNoLinkLabel = "Sin conexión";
inline constexpr const char* kNetGaveUp =
    "No se ha podido volver a la mesa del servidor. La partida local sigue como estaba.";
inline constexpr const char* kNetLeaveQuestion =
    "¿Dejar la partida en red? El ordenador jugará su puesto hasta que vuelva.";
inline constexpr const char* kNetAlreadyStarted =
    "La partida de esa mesa ya ha empezado sin este puesto.";
// A line over the table, beside the continue button: no click needed.
inline constexpr const char* kNetReconnectingLine = "Sin conexión, volviendo a la mesa…";
inline constexpr const char* kNetMatchOverLine =
    "La partida en red ha terminado. Pulse Continuar para volver a la partida local.";
inline constexpr const char* kNetServerTooMuch =
    "El servidor ha enviado más de lo que cabe en una partida y se ha cortado la conexión. "
    "La partida local sigue como estaba.";
std::string NetNoServerMessage(const std::string& address);
std::string NetRefusedMessage(const std::string& words);
std::string NetSeatAwayText(const std::string& name);
std::string NetSeatBackText(const std::string& name);
std::string NetJoinUsage();
// Watching a table: the command line's use, the line over the table, the
// question before leaving.
inline constexpr const char* kNetWatchUsage = "Uso: tarvelis --watch DIRECCIÓN CÓDIGO";
std::string NetWatchingLine(const std::string& code);
inline constexpr const char* kNetLeaveWatchQuestion = "¿Dejar de mirar esta mesa?";
// Once a networked match is over, its hands are gone through one by one.
std::string NetKeptHandLine(int hand, int hands);
// The network window's way back to the table left when the game stopped.
std::string NetResumeLabel(const std::string& code);
// An invitation handed to the open game by a second start (or a clicked link).
std::string NetInvitationQuestion(const std::string& address, const std::string& code, int seat);
inline constexpr const char* kNetInvitationBusy =
    "Ha llegado una invitación a otra mesa, pero ya está jugando en red. Deje esta partida y "
    "vuelva "
    "a abrir la invitación.";

}  // namespace tarvelis
