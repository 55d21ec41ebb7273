// "Jugar en red": a server's room. The window enters it with the player's key
// and name, shows the public tables with their chairs, the people present and
// the room's chat, and takes the player to a table: the quick seat, a free
// chair, or the pages that create a table or join one by its code. What the
// server's messages mean is the core's (net/room_model, net/lobby); this
// window types, clicks, draws and carries text.
#pragma once

#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>

#include "layout/list_scroll.h"
#include "net/joined_table.h"
#include "net/lobby.h"
#include "net/room_model.h"
#include "storage/server_choice.h"

class QLineEdit;

namespace tarvelis {

class NetLink;
struct GameState;

// How the player left the room.
struct RoomChoice {
  enum class Kind : std::uint8_t { kNone, kPlay, kWatch, kCreatePage, kJoinPage };
  Kind What = Kind::kNone;
  std::optional<net::JoinedTable> Joined;  // kPlay: the link is left open, the start unread
  net::ServerAddress Address;              // the server, for the other kinds
  std::string Code;                        // kWatch: the table to watch
  // The pages' first request when the server has a room, so that a table
  // made or joined there is rated too; empty otherwise.
  std::string EnterFirst;
};

class RoomWindow : public QDialog {
 public:
  // The room's buttons, each a place in the layout.
  enum class Button : std::uint8_t {
    kEnter,
    kQuick,
    kWatch,
    kSit,
    kCreate,
    kJoinCode,
    kBoard,
    kOwnPage,
    kMute,
    kExit,
    kFill,
    kResume,  // back to the table of a networked match left unfinished
    kCount,
  };
  // What the list shows.
  enum class View : std::uint8_t { kTables, kBoard, kOwnPage };
  enum class Stage : std::uint8_t { kOutside, kEntering, kInside, kNoRoom };

  RoomWindow(const GameState& state, NetLink& link, std::filesystem::path folder,
             QWidget* parent = nullptr);

  const RoomChoice& Choice() const { return choice_; }
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // Tab and Shift+Tab, from a field or the window itself: the next stop of
  // the window's round that takes the keyboard now.
  bool focusNextPrevChild(bool next) override;

 private:
  void PlaceFields();
  void Enter();
  void Pump();
  void ReadMessage(const std::string& text);
  void NoAnswer();
  void Refresh();
  void Press(Button button);
  void Say();
  void Leave(RoomChoice::Kind kind);
  void Remember() const;
  void Select(int table, int chair);
  void ClickList(QPoint at);
  void ClickPeople(QPoint at);
  bool Usable(Button button) const;
  // The keyboard's round: whether a stop takes it now, where it stands, and
  // the drawn button that has it (kCount for none).
  bool StopOpen(int stop) const;
  int CurrentStop() const;
  void FocusStopAt(int stop, Qt::FocusReason reason);
  Button FocusedButton() const;
  const char* FocusName() const;  // for the tests' status line
  void ScrollChat(int rows);
  const net::RoomTable* Chosen() const;
  const net::RoomPerson* ChosenPerson() const;
  bool Seated() const;

  // Drawing, in room_window_draw.cpp.
  QString Label(Button button) const;
  QString StatusLine() const;
  void DrawTables(QImage& image) const;
  void DrawTable(QImage& image, const net::RoomTable& table, int row, bool chosen) const;
  void DrawBoard(QImage& image) const;
  void DrawOwnPage(QImage& image) const;
  void DrawPeople(QImage& image) const;
  void DrawChat(QImage& image) const;
  void DrawFocus(QImage& image) const;

  const GameState& state_;
  NetLink& link_;
  std::filesystem::path folder_;
  std::string key_;
  Stage stage_ = Stage::kOutside;
  View view_ = View::kTables;
  net::RoomModel room_;
  net::Lobby lobby_;
  net::ServerAddress address_;
  bool sent_ = false;
  QString fault_;  // what went wrong last, in the player's words
  QTimer answerWait_;
  QLineEdit* server_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* chat_ = nullptr;
  int tableRow_ = -1;      // the chosen table's place in the list, -1 for none
  std::string tableCode_;  // and its code, which keeps it chosen as rows move
  int chair_ = 0;          // 1..4 when a chair of it is chosen
  int personId_ = 0;  // the chosen person, by the room's number: rows move as people come and go
  int scroll_ = 0;    // the first table shown
  int peopleFirst_ = 0;
  FollowingScroll chatScroll_;
  int focusStop_ = -1;  // the stop of the round the window itself has the keyboard on
  RoomChoice choice_;
  std::optional<KeptTable> kept_;
  double scale_ = 1.0;
};

// Opens the room modally over `parent` and returns how the player left it.
RoomChoice OpenRoomWindow(const GameState& state, NetLink& link,
                          const std::filesystem::path& folder, QWidget* parent);

}  // namespace tarvelis
