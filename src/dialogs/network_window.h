// "Jugar en red": the window that creates a table on a server, shows its
// code to read out to friends and who has sat down, and lets the host start
// the match; or joins a table by its code. The rules of the way there are the
// core's (net/lobby); this window types, clicks, draws and carries text.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <filesystem>
#include <optional>

#include "net/joined_table.h"
#include "net/lobby.h"
#include "storage/server_choice.h"

class QLineEdit;

namespace tarvelis {

class NetLink;
struct GameState;

class NetworkWindow : public QDialog {
 public:
  // `joinPage` opens a page chosen in the room (else the one last shown);
  // `enterFirst`, when not empty, is sent before the first request, so that a
  // server with a room rates the table, which may then be public.
  NetworkWindow(const GameState& state, NetLink& link, std::filesystem::path folder,
                QWidget* parent = nullptr, std::optional<bool> joinPage = std::nullopt,
                std::string enterFirst = {});

  // The table the match was started at; nothing when the player left.
  const std::optional<net::JoinedTable>& Joined() const { return joined_; }

  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PlaceFields();
  void Go();
  void Pump();
  void NoAnswer();
  void Refresh();
  void ShowFault(const char* words);
  void NameEdited();
  // The join page asks who sits at the table of the code typed, and offers
  // only its free seats; nothing is taken by it.
  void Look();
  void PumpLook();
  void Remember() const;
  // The seats as the server last told them: the lobby's once seated, the
  // look's on the join page before; nothing when unknown.
  const PerSeat<net::LobbySeat>* KnownSeats() const;
  bool SeatOffered(int seat) const;
  QString SeatLine(int seat) const;
  QString StatusLine() const;
  void DrawSeat(QImage& image, int seat) const;
  void DrawPublicCheck(QImage& image) const;
  bool OffersPublic() const { return !joining_ && !enterFirst_.empty(); }

  const GameState& state_;
  NetLink& link_;
  std::filesystem::path folder_;
  bool joining_ = false;  // the join page, not the create page
  net::TablePlan plan_;
  int joinSeat_ = 4;
  net::Lobby lobby_;
  net::ServerAddress address_;
  std::string firstRequest_;  // sent once the connection opens
  bool sent_ = false;
  const char* typingFault_ = nullptr;  // what the typed fields lack
  QTimer answerWait_;
  QLineEdit* server_ = nullptr;
  QLineEdit* code_ = nullptr;
  QLineEdit* name_ = nullptr;
  std::optional<net::JoinedTable> joined_;
  std::optional<KeptTable> kept_;  // the table to go back to, if any
  bool looking_ = false;           // a look sent or about to be
  std::string lookCode_;
  std::optional<net::LookAnswer> looked_;
  net::Fault lookFault_ = net::Fault::kNone;
  double scale_ = 1.0;  // window pixels per pixel of the layout
  std::string enterFirst_;
};

// Opens the window modally over `parent`. When the match starts, returns the
// seat taken and leaves `link` open, the message that started the match still
// the next one unread; otherwise the link is closed and nothing is returned.
// Going back to the kept table returns its seat with the link closed: the
// match resumes the seat with its token.
std::optional<net::JoinedTable> OpenNetworkWindow(const GameState& state, NetLink& link,
                                                  const std::filesystem::path& folder,
                                                  QWidget* parent,
                                                  std::optional<bool> joinPage = std::nullopt,
                                                  std::string enterFirst = {});

}  // namespace tarvelis
