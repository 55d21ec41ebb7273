#include "layout/list_scroll.h"

#include <algorithm>

namespace tarvelis {

int LastFirstRow(int count, int shown) {
  return std::max(0, count - std::max(1, shown));
}

int ClampFirstRow(int first, int count, int shown) {
  return std::clamp(first, 0, LastFirstRow(count, shown));
}

void FollowingScroll::Arrived(int dropped, int count, int shown) {
  if (AtBottom) {
    First = LastFirstRow(count, shown);
    return;
  }
  // The lines shown moved up by those that left the front; what arrived
  // below them is out of sight until the player comes down.
  First = ClampFirstRow(First - dropped, count, shown);
  AtBottom = First == LastFirstRow(count, shown);
}

void FollowingScroll::Scroll(int rows, int count, int shown) {
  First = ClampFirstRow(First + rows, count, shown);
  AtBottom = First == LastFirstRow(count, shown);
}

void FollowingScroll::Fit(int count, int shown) {
  First = AtBottom ? LastFirstRow(count, shown) : ClampFirstRow(First, count, shown);
  AtBottom = First == LastFirstRow(count, shown);
}

ScrollMark MarkOfRows(int trackH, int first, int shown, int count, int least) {
  if (count <= shown || count <= 0 || trackH <= 0) return {0, trackH};
  const int h = std::clamp(trackH * shown / count, std::min(least, trackH), trackH);
  const int last = LastFirstRow(count, shown);
  const int at = std::clamp(first, 0, last);
  return {(trackH - h) * at / std::max(1, last), h};
}

}  // namespace tarvelis
