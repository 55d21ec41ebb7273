// Mesa: the table window. It covers the screen, keeps the table's picture in an
// image drawn only by raster copies and text at pixel positions, and turns the
// mouse and the keys into changes of the shared game state, as the engine
// expects them while it waits. The rules it asks come from the core.
#pragma once

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "layout/input_clock.h"
#include "layout/table_view.h"
#include "model/game_state.h"
#include "model/table_modes.h"
#include "table/table_painter.h"

namespace tarvelis {

class Mesa : public QWidget {
 public:
  explicit Mesa(GameState& state, QWidget* parent = nullptr);
  ~Mesa() override;

  // Lays the table out for state.Table: builds the background copy
  // (Pic_Marmol) by repeating the marble from the top left corner and redraws
  // everything from the state.
  void LayOut();

  // How the table is shown: blown up to fill the window (the default), or
  // one table pixel to one window pixel at the top left (the classic full
  // screen). The picture is drawn again at the new scale when it changes.
  void SetUnscaled(bool unscaled);
  const TableView& View() const { return view_; }
  // Picture pixels per table pixel: the view's factor times the screen's
  // device pixel ratio.
  double PictureScale() const { return pictureScale_; }
  // A table rectangle in window coordinates, and a window point on the table.
  QRect ToWindowRect(const QRect& table) const;
  QPoint ToTablePoint(QPointF window) const;

  // Full screen and a resizable window, in turn (F11); tells `onLookChanged`.
  void ToggleFullScreen();
  bool Unscaled() const { return unscaled_; }
  std::function<void()> onLookChanged;
  // The options menu's "Mesa clásica, sin ampliar".
  std::function<void()> onClassicToggled;
  // Whether the classic look is chosen (for the menu's tick).
  std::function<bool()> classicChosen;

  // A new background picture for the table (the same size), kept until the
  // program ends; everything on the table is drawn again over it.
  void ReplaceBackground(const QImage& background);

  TablePainter& Painter() { return *painter_; }

  // What the table is doing with the mouse besides play.
  TableModes& Modes() { return modes_; }
  const TableModes& Modes() const { return modes_; }

  // The playable tile the user clicked to dismiss the continue button, 0 for
  // none; taking it clears it.
  int TakeClickedSlot() { return std::exchange(clickedSlot_, 0); }
  const QImage& Surface() const { return surface_; }
  const QImage& Marmol() const { return marmol_; }

  // Shows what the painter drew: the whole table, or one area of it.
  void Show() { update(); }
  void Show(const QRect& area) { update(ToWindowRect(area)); }
  // The same, painted before returning, for the steps of an animation.
  void ShowNow(const QRect& area) { repaint(ToWindowRect(area)); }
  void ShowNow() { repaint(); }

  // The rectangle of bar button n (1..6).
  QRect ButtonRect(int n) const;

  // The travelling tile (Ima_IndiTuto): shown over the table at `at`.
  void ShowMover(const QImage& picture, QPoint at);
  void MoveMover(QPoint at);
  void HideMover();

  // The continue button, on show while NoticeShown holds. The user's answer
  // (a press on it, a key, a playable tile) hides it and is kept for the wait
  // that showed it; taking it clears it.
  void ShowNotice(const QString& label);
  void HideNotice();
  bool NoticeUp() const { return noticeUp_; }
  bool NoticeAnswered() const { return noticeAnswered_; }
  bool TakeNoticeAnswer() { return std::exchange(noticeAnswered_, false); }

  // Pictures shown over the table for a moment (the tutor's marks): they
  // never touch the table's own picture.
  void ShowOverlays(std::vector<std::pair<QPoint, QImage>> overlays);
  void HideOverlays();

  // The recorder panel, which takes the presses that fall on it.
  void SetRecorderPanel(class RecorderPanel* panel) { recorder_ = panel; }

  // The end arrows while the user picks an end.
  void ShowArrows(bool visible);
  bool ArrowsShowing() const { return arrowsShowing_; }
  // The end arrow the user pressed, 1 or 2, 0 for none; taking it clears it.
  int TakeChosenEnd() { return std::exchange(chosenEnd_, 0); }

  // The seat picked while the leader is being chosen.
  int ChosenLeader() const { return chosenLeader_; }
  void ResetChosenLeader() { chosenLeader_ = 0; }

  // The manual deal the user is carrying out, or null.
  void SetManualDeal(class ManualDeal* deal);

  // The program is leaving: closing the window no longer asks.
  void AllowClose() { closing_ = true; }

  int ShownCursor() const { return shownCursor_; }

  // Recomputes the pointer for the mouse's current place.
  void RefreshPointer();

  // The table was busy until now (a recorder run or replay ended): clicks and
  // keys made before are dropped when they arrive.
  void SettleInput();
  // Clicks and keys already made, held by the window system during a wait,
  // are delivered now, without waiting for the next event.
  void WakeInput();

  // The window's size once it has stayed the same for a moment, in window
  // mode (not full screen, maximised or minimised).
  std::function<void(QSize size)> onWindowSized;

  // What the table asks of the program.
  std::function<void(int button)> onButton;
  // The window's own close; unset, it is the exit button.
  std::function<void()> onClose;
  std::function<void()> onTotaliser;
  // The saved-games entries of the options menu; unset hides them.
  std::function<void(int entry)> onSavedGames;
  // "Jugar en red" of the options menu; unset hides it.
  std::function<void()> onNetworkPlay;
  // Keys asked first by a networked match (its chat, its kept hands); a key
  // it takes does nothing else.
  std::function<bool(int key)> onKey;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A picture's size in table pixels, whatever its pixels per table pixel.
  static QSize TableSizeOf(const QImage& picture);
  // Made before the table last settled: to be dropped.
  bool StaleInput(const class QInputEvent* event);
  // A left press on the table's own controls (bar buttons, the continue
  // button, the end arrows, the manual deal); true when it was taken.
  bool PressOnControls(QPoint at);
  // The smallest window in which the table's names can still be read.
  QSize SmallestWindow() const;
  // The table's background and picture at the current picture scale, drawn
  // again from the state.
  void BuildPictures();
  void FitToWindow();
  void UpdatePointer(QPoint at);
  // Over one of the table's picture buttons: a bar button, or the continue
  // button while it is on show.
  bool OverControl(QPoint at) const;
  void DismissNotice();
  // A press that lets play go on from the continue button; false when the
  // recorder holds play where it is.
  bool GoOnFromNotice();
  bool PressOnArrow(QPoint at);
  void ClickOnTile(QPoint at);
  void PressDuringDeal(QPoint at);
  void OpenOptionsMenu(QPoint at);
  void OnOption(int entry);
  void ShowDeal();
  void StartDrag(QPoint at);
  void TurnTile();
  void DropDragged(QPoint at);
  QRect ArrowRect(int end) const;

  GameState& state_;
  TableModes modes_;
  TableView view_;
  bool unscaled_ = false;
  double pictureScale_ = 1.0;
  QImage background_;  // the table's background, one pixel per table pixel
  QImage marmol_;
  QImage surface_;
  std::unique_ptr<TablePainter> painter_;

  QImage mover_;
  QPoint moverAt_;
  bool moverVisible_ = false;
  QPoint dragGrab_;  // where in the dragged tile the mouse holds it

  bool noticeUp_ = false;
  bool noticeAnswered_ = false;
  int chosenEnd_ = 0;
  bool arrowsShowing_ = false;
  int chosenLeader_ = 0;
  int clickedSlot_ = 0;
  int shownCursor_ = -1;
  int hitSeat_ = 0;
  int hitSlot_ = 0;
  int dragState_ = 0;
  bool pressOnPlayable_ = false;
  ManualDeal* deal_ = nullptr;
  class OptionsMenu* menu_ = nullptr;
  class RecorderPanel* recorder_ = nullptr;
  std::vector<std::pair<QPoint, QImage>> overlays_;
  bool menuFromPress_ = false;  // the right button that opened the menu is held
  QPoint menuPressAt_;
  bool closing_ = false;
  InputClock inputClock_;
  QTimer sizeRest_;  // a resize that has stayed a moment is remembered
};

}  // namespace tarvelis
