// The table's hidden background picture: a text typed into the settings
// window's secret field names a picture file, laid once in the middle of the
// table or once in the middle of each quarter.
#pragma once

#include <string>
#include <vector>

#include "layout/hand_layout.h"

namespace tarvelis {

enum class BackgroundLayout { None, Once, FourTimes };

// "qvxn1..." lays the picture once, "qvxn4..." four times (either case); any
// other text asks for nothing. The whole text, trimmed, is the file's name.
struct BackgroundRequest {
  BackgroundLayout Layout = BackgroundLayout::None;
  std::string FileName;
};
BackgroundRequest ParseBackgroundText(const std::string& text);

// Where the copies of a w x h picture go on a tableW x tableH table.
std::vector<Point> BackgroundPlaces(BackgroundLayout layout, int tableW, int tableH, int w, int h);

}  // namespace tarvelis
