// Personal: the settings window. Two drawn pages, the players page (four seat
// panels around the direction of play, the global options, the speed and the
// points of the match) and the rules page laid over it. Every change goes into
// the shared state at once; the rules come from layout/option_rules.
#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>

#include "layout/option_rules.h"
#include "layout/table_background.h"

class QLineEdit;

namespace tarvelis {

// What the window asks of the table behind it while it is open.
struct SettingsHooks {
  std::function<void(int seat)> SeatTilesChanged;
  std::function<void()> AllTilesChanged;
  std::function<void()> ScoreboardChanged;
  // A picture to lay on the table as its background from now on.
  std::function<void(const QImage& picture, BackgroundLayout layout)> BackgroundChosen;
  // The hourglass on the table while the window closes, and back.
  std::function<void(bool busy)> TableBusy;
};

class Personal : public QDialog {
 public:
  Personal(GameState& state, SettingsHooks hooks, std::filesystem::path dataFolder,
           QWidget* parent = nullptr);
  ~Personal() override;

  inline static constexpr int kWidth = 635;
  inline static constexpr int kHeight = 470;

  // How the rules' messages are shown; the message dialog unless replaced.
  std::function<bool(const OptionMessage&)> ShowOptionMessage;

  // Where things are, in the window's own layout pixels (the screen's divided
  // by Scale()), for the tests and the pointer.
  QRect SelectorButtonRect(int index) const;
  QPoint SliderThumb(int slider) const;  // slider 1..4 a seat's level, 0 the speed
  QRect ArrowRect(bool up) const;
  QRect RulesButtonRect() const;
  QRect ExitButtonRect() const;
  // The expert's tick of a seat (1..4), or the tutor's (0).
  QRect ExpertTickRect(int seat) const;
  bool RulesShown() const { return rulesShown_; }
  // The factor the window is blown up by: the table's.
  double Scale() const { return scale_; }
  QLineEdit* NameField(int seat) const { return names_[seat]; }
  QLineEdit* GraphicField() const { return graphic_; }
  const OptionLabels& Labels() const { return labels_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class Events;
  friend class Events;

  QImage& PageOf(int index);
  QPoint PageOrigin(bool rules) const;
  // Layout pixels to window pixels (a rectangle rounded outwards), and back.
  int Scaled(int v) const;
  QRect Scaled(const QRect& r) const;
  QPoint ToLayout(QPointF at) const;
  void DrawPlayersPage();
  void DrawRulesPage();
  void DrawGroupFrame(QImage& page, int x, int y, int w, int h, const QString& title);
  void DrawSeatPanel(int seat);
  void DrawSelector(int index, bool pressed = false, bool blankValue = false);
  void DrawSlider(int slider);
  void DrawExpertTick(int seat);
  bool PressOnExpertTick(QPoint at);
  void DrawMatchTarget();
  void DrawArrow(bool up, bool pressed);
  void DrawDirection();
  void ShowArea(const QImage& page, const QRect& pageRect);
  void AnimateSelector(int index);

  void PressOnSelector(QPoint at);
  void MoveThumb(int x);
  bool PressOnArrow(QPoint at);
  void StepArrow();
  void StopArrows();
  bool OverArrow(QPoint at, bool up) const;
  int ThumbUnder(QPoint at) const;
  void UpdatePointer(QPoint at);

  void NameEdited(int seat);
  void LoadBackground();
  void ShowRules(bool shown);
  void Leave();

  GameState& state_;
  SettingsHooks hooks_;
  std::filesystem::path dataFolder_;
  OptionLabels labels_;
  QImage players_;
  QImage rules_;
  double scale_ = 1.0;
  bool rulesShown_ = false;
  bool leaving_ = false;
  std::array<QLineEdit*, kSeats + 1> names_{};
  QLineEdit* graphic_ = nullptr;

  bool handShown_ = false;
  int dragSlider_ = -1;  // the slider whose thumb is held, or -1
  int lastX_ = 0;
  bool repeatUp_ = false;
  bool repeatDown_ = false;
  QTimer repeat_;
  QTimer release_;
};

}  // namespace tarvelis
