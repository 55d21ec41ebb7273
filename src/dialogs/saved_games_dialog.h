// cargua: the saved-games dialog. It saves the game in play under a name,
// loads a saved game in its place, or deletes one, in the mode it is opened
// in. The decisions are the core's (SavedGames); this window shows the mode's
// title and message line, the name box, the list and the picture buttons.
#pragma once

#include <QDialog>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "storage/saved_games.h"

class QLineEdit;
class QListWidget;

namespace tarvelis {

struct GameState;

// A drawn button. One that may not be pressed shows the no-drop pointer and
// ignores presses; one that may shows the pointing hand.
class PictureButton : public QWidget {
 public:
  PictureButton(const QString& label, QWidget* parent);

  void SetUsable(bool usable);
  bool Usable() const { return usable_; }

  std::function<void()> onPress;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString label_;
  bool usable_ = true;
  double scale_ = 1.0;
};

class Cargua : public QDialog {
 public:
  Cargua(GameState& state, SavedGamesMode mode, const std::filesystem::path& folder,
         QWidget* parent = nullptr);

  // Tex_CarGua, Lis_CarGua and the mode's action button (Pic_Cargar,
  // Pic_Guardar or Pic_Borrar), for the tests.
  QLineEdit* NameBox() const { return name_; }
  QListWidget* List() const { return list_; }
  PictureButton* ActionButton() const { return action_; }
  const SavedGames& Choice() const { return choice_; }

  // RellenaLista: the saved games of the folder, afresh.
  void RellenaLista();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void NameChanged(const QString& text);
  // What Enter does: load in the load mode, save in the save mode, delete in
  // the delete mode; each only when its button is usable.
  void Enter();
  void LoadAction();
  void SaveAction();
  void DeleteAction();
  void Exit();
  void Fail();

  GameState& state_;
  SavedGames choice_;
  QLineEdit* name_ = nullptr;
  QListWidget* list_ = nullptr;
  PictureButton* action_ = nullptr;
  PictureButton* exit_ = nullptr;
  QRect messageRect_;  // in the dialog's own pixels, as everything it draws
  double scale_ = 1.0;
  int height_ = 0;
  bool filling_ = false;
};

// Opens the dialog modally over `parent` and returns when it closes: true when
// a game was loaded, the state is then the saved game and play must restart
// from it.
bool OpenSavedGames(GameState& state, SavedGamesMode mode, const std::filesystem::path& folder,
                    QWidget* parent);

}  // namespace tarvelis
