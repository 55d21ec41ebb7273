#include "app/room_watch.h"

#include "dialogs/message_dialog.h"
#include "model/room_texts.h"

namespace tarvelis {

void WatchFromRoom(GameState& state, const net::ServerAddress& address, const std::string& code,
                   QWidget* over) {
  // Watching a table is the table window's, over a connection of its own;
  // until this game can, the player is told so instead.
  (void)address;
  ShowMessage(state, QString::fromUtf8(kRoomWatchTitle),
              QString::fromUtf8(kRoomWatchLater) + ' ' + QString::fromStdString(code) + '.',
              kPictureInformation, kNotice, over);
}

}  // namespace tarvelis
