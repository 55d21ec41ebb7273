// Lis_Grabadora: the move list beside the table, one line per move of the
// hand. The selection always marks the last move in force: a click does not
// move through the hand, it puts the selection back and tells which line it
// fell on. A double click
// switches between the normal list and a taller one that keeps the selected
// line in view.
#pragma once

#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

namespace tarvelis {

class MoveList : public QListWidget {
 public:
  explicit MoveList(QWidget* table);

  // The lines and the selected one (-1 for none); unchanged lines are kept,
  // so the list does not flicker as moves are added.
  void SetLines(const std::vector<std::string>& lines, int selected);
  int Selected() const { return selected_; }

  // After a review: which lines carry a loss (drawn in red) and the hint each
  // line shows under the pointer; empty vectors take the marks away.
  void SetMarks(const std::vector<bool>& marked, const std::vector<std::string>& hints);
  int MarkedLines() const;
  // The characters a line shows whole in a list `width` pixels wide, with
  // room kept for the scroll bar.
  int ColumnsFor(int width) const;
  // The first marked line, or -1.
  int FirstMarkedLine() const;

  bool Tall() const { return tall_; }
  void SetTall(bool tall);

  // Called when the list asks to change its height.
  std::function<void(bool tall)> onTallChanged;
  // Called with the line a click fell on (-1 below the last): the selection
  // stays, but the table may say what that line was.
  std::function<void(int line)> onLineClicked;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PutSelectionBack();

  int selected_ = -1;
  bool tall_ = false;
};

}  // namespace tarvelis
