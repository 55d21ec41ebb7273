#include "dialogs/history_viewer_stub.h"

#include "dialogs/message_dialog.h"

namespace tarvelis {

void OpenHistoryViewer(GameState& state, const std::filesystem::path&, QWidget* parent) {
  ShowMessage(state, QStringLiteral("Histórico de partidas jugadas"),
              QStringLiteral("El histórico de partidas no está disponible en esta versión."), 1,
              kNotice, parent);
}

}  // namespace tarvelis
