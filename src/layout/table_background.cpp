#include "layout/table_background.h"

#include <cctype>

#include "model/trimmed.h"

namespace tarvelis {
namespace {

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
  for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

BackgroundRequest ParseBackgroundText(const std::string& text) {
  BackgroundRequest request;
  request.FileName = Trimmed(text, " \t");
  if (StartsWithIgnoringCase(request.FileName, "qvxn1")) {
    request.Layout = BackgroundLayout::Once;
  } else if (StartsWithIgnoringCase(request.FileName, "qvxn4")) {
    request.Layout = BackgroundLayout::FourTimes;
  } else {
    request.FileName.clear();
  }
  return request;
}

std::vector<Point> BackgroundPlaces(BackgroundLayout layout, int tableW, int tableH, int w, int h) {
  switch (layout) {
    case BackgroundLayout::Once:
      return {{(tableW - w) / 2, (tableH - h) / 2}};
    case BackgroundLayout::FourTimes: {
      const int qx = (tableW / 2 - w) / 2;
      const int qy = (tableH / 2 - h) / 2;
      return {{qx, qy},
              {qx + tableW / 2, qy},
              {qx, qy + tableH / 2},
              {qx + tableW / 2, qy + tableH / 2}};
    }
    case BackgroundLayout::None:
      break;
  }
  return {};
}

}  // namespace tarvelis
