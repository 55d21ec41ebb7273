// The texts of a server's room, in Spanish: the part of the game's text
// catalogue (model/texts.h) that the room window reads. Kept apart so that
// each file of the catalogue stays short.
#pragma once

namespace tarvelis {

inline constexpr const char* kRoomTitle = "Jugar en red: la sala";
inline constexpr const char* kRoomTablesHeading = "Mesas públicas";
inline constexpr const char* kRoomPeopleHeading = "En la sala";
inline constexpr const char* kRoomChatHeading = "Charla de la sala";
inline constexpr const char* kRoomLeaderboardHeading = "Clasificación";
inline constexpr const char* kRoomOwnPageHeading = "Su ficha";
// The buttons.
inline constexpr const char* kRoomEnterLabel = "Entrar";
inline constexpr const char* kRoomQuickLabel = "Jugar ya";
inline constexpr const char* kRoomWatchLabel = "Mirar";
inline constexpr const char* kRoomSitLabel = "Sentarse";
inline constexpr const char* kRoomCreateLabel = "Crear una mesa";
inline constexpr const char* kRoomJoinCodeLabel = "Unirse con un código";
inline constexpr const char* kRoomLeaderboardLabel = "Clasificación";
inline constexpr const char* kRoomOwnPageLabel = "Mi ficha";
inline constexpr const char* kRoomTablesLabel = "Ver las mesas";
inline constexpr const char* kRoomMuteLabel = "Silenciar";
inline constexpr const char* kRoomUnmuteLabel = "Escuchar";
inline constexpr const char* kRoomFillLabel = "Completar con el ordenador";
inline constexpr const char* kRoomStandLabel = "Levantarse";
inline constexpr const char* kRoomPublicCheck = "Mesa pública";
// The tables and the people.
inline constexpr const char* kRoomStarted = "empezada";
inline constexpr const char* kRoomWaiting = "esperando";
inline constexpr const char* kRoomWatchersWord = "mirando";
inline constexpr const char* kRoomMuted = "silenciado";
// A computer's chair, before its level: "Ordenador 70".
inline constexpr const char* kRoomComputerShort = "Ordenador";
inline constexpr const char* kRoomNoTables =
    "No hay mesas públicas ahora. Pulse Jugar ya y se abrirá una.";
inline constexpr const char* kRoomMatchesWord = "partidas";
inline constexpr const char* kRoomHandsWord = "manos";
inline constexpr const char* kRoomWonWord = "ganadas";
inline constexpr const char* kRoomRatingWord = "Puntuación";
inline constexpr const char* kRoomNobodyRanked = "Aún no hay nadie en la clasificación.";
inline constexpr const char* kRoomNoHistory = "Aún no ha terminado ninguna partida en la sala.";
// Where the window stands.
inline constexpr const char* kRoomOutside =
    "Escriba la dirección del servidor y su nombre, y pulse Entrar.";
inline constexpr const char* kRoomEntering = "Entrando en la sala...";
inline constexpr const char* kRoomHint =
    "Elija una silla libre y pulse Sentarse, o pulse Jugar ya para jugar cuanto antes.";
inline constexpr const char* kRoomNoRoom =
    "Este servidor no tiene sala. Puede crear una mesa o unirse a una con su código.";
inline constexpr const char* kRoomMayFill =
    "Nadie más llega: puede completar las sillas libres con el ordenador.";
// Before a line said at the table the player sits at, in the room's chat.
inline constexpr const char* kRoomTableMark = "(mesa)";
// Beside "Volver a la mesa CODE".
inline constexpr const char* kRoomResumeHint = "Su partida en red sigue en marcha.";
inline constexpr const char* kRoomTooFast = "Demasiados mensajes seguidos. Espere un momento.";
inline constexpr const char* kRoomNoKey =
    "No se ha podido crear su clave de jugador: no puede entrar en la sala.";

}  // namespace tarvelis
