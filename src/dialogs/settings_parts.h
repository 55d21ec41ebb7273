// The settings window's own places, colours and drawing helpers, shared by the
// files its pages and widgets are drawn in; private to the window.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "dialogs/settings_window.h"
#include "layout/artwork_layout.h"
#include "model/texts.h"

namespace tarvelis::personal {

inline const QColor kGrey(QRgb(0xFF000000 | art::kPanelGreyRgb));
inline const QColor kEtch(128, 128, 128);
inline const QColor kTitleBlue(0x00, 0x00, 0xA0);
inline const QColor kFrame(0x1F, 0x2A, 0x22);
inline constexpr int kSelectorH = 38;
inline constexpr int kGlobalW = 175;
inline constexpr int kSeatW = 145;
inline constexpr int kSliderH = 40;
inline constexpr int kThumbY = 16;
inline constexpr int kTrackX = 16;
inline constexpr int kTitlePx = 11;
inline constexpr int kValuePx = 11;
inline constexpr int kTickBox = 10;
inline constexpr QPoint kTutorTickAt{30, 392};

// Seat panels as the seats sit at the table: left, top, right, bottom.
inline constexpr QPoint kSeatOrigin[kSeats + 1] = {
    {0, 0}, {67, 155}, {249, 17}, {431, 155}, {249, 293}};
struct Place {
  int index;
  bool rules;
  int x, y, w;
};
QPoint SeatAt(int seat);

// Every selector's picture area, in its page's pixels.
std::vector<Place> Places();
const std::vector<Place>& ThePlaces();
const Place* PlaceOf(int index);

// The group frames of the rules page: origin, size and title.
struct Group {
  int x, y, w, h;
  const char* title;
};
inline constexpr Group kGroups[] = {{80, 25, 215, 72, kGroupTitles[0]},
                                    {80, 116, 215, 116, kGroupTitles[1]},
                                    {340, 25, 215, 116, kGroupTitles[2]},
                                    {80, 262, 215, 160, kGroupTitles[3]},
                                    {340, 171, 215, 116, kGroupTitles[4]}};

// Sliders: 1..4 the seats' levels, 0 the speed; the area's top left corner.
QPoint SliderAt(int slider);
int SliderW(int slider);
inline constexpr QPoint kTargetBox{22, 330};
inline constexpr int kTargetW = kGlobalW;
inline constexpr int kTargetH = 58;
inline constexpr QPoint kUpArrow{kTargetBox.x() + 96, kTargetBox.y() + 23};
inline constexpr QPoint kDownArrow{kTargetBox.x() + 96, kTargetBox.y() + 37};
inline constexpr QPoint kDirectionAt{256, 186};
inline constexpr QPoint kRulesButtonAt{62, 412};
inline constexpr QPoint kExitButtonAt{478, 412};
inline constexpr QPoint kRulesExitAt{510, 420};  // on the rules page
inline constexpr QPoint kRulesPageAt{2, 2};
inline constexpr QRect kGraphicField{280, 435, 200, 20};
const QImage& Marble();
const QImage& Sheet();
void Copy(QImage& page, int x, int y, const art::Cell& c);

// The largest size, from `preferred` down, at which `text` fits `width`.
int FittingSize(const QString& text, int width, int preferred, bool bold);

// The etched look: a grey frame with a white one a pixel further in.
void Etched(QImage& page, const QRect& r);

// A title over an etched frame: white on an opaque grey band, then blue one
// pixel lower and to the right.
void EtchedTitle(QImage& page, int x, int y, int w, const QString& title);
QString Utf(const std::string& s);

}  // namespace tarvelis::personal

namespace tarvelis {

// The rules talk to the window through this: messages through the message
// dialog, the animation of a click, and the table's redraws.
class Personal::Events : public OptionEvents {
 public:
  explicit Events(Personal& w) : w_(w) {}
  bool Show(const OptionMessage& m) override { return w_.ShowOptionMessage(m); }
  void Advanced(int index) override { w_.AnimateSelector(index); }
  void Relabelled() override {
    w_.DrawSelector(kSelTieWinner);
    w_.DrawSelector(kSelNextLead);
  }
  void SeatTilesChanged(int seat) override {
    if (w_.hooks_.SeatTilesChanged) w_.hooks_.SeatTilesChanged(seat);
  }
  void AllTilesChanged() override {
    if (w_.hooks_.AllTilesChanged) w_.hooks_.AllTilesChanged();
  }
  void ScoreboardChanged() override {
    if (w_.hooks_.ScoreboardChanged) w_.hooks_.ScoreboardChanged();
  }
  void DirectionChanged() override { w_.DrawDirection(); }

 private:
  Personal& w_;
};

}  // namespace tarvelis
