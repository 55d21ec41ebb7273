// Historic: the history of matches on a drawn folder, newest first, eight a
// page, with the totals per name and per pair. The bottom corners of the
// folder turn the pages; the totals button switches between the matches and
// the totals.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <filesystem>
#include <vector>

#include "storage/history_file.h"
#include "storage/history_pages.h"
#include "storage/history_totals.h"

namespace tarvelis {

struct GameState;

class Historic : public QDialog {
 public:
  // `matches` in file order, as read from the history file.
  Historic(GameState& state, std::vector<HistoryMatch> matches, QWidget* parent = nullptr);

  // Where things are in the window, and what it shows, for the tests.
  QRect FolderRect() const { return folder_; }
  QRect TotalsButtonRect() const { return totalsButton_; }
  QRect ExitButtonRect() const { return exitButton_; }
  bool ShowingTotals() const { return showingTotals_; }
  int FirstEntry() const { return first_; }
  std::vector<PageLine> PageLines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int EntryCount() const;
  Corner UsableCornerAt(QPoint at) const;
  void Turn(Corner corner);
  void ToggleTotals();
  // At `scale` pixels per pixel of the layout, text drawn at that size.
  QImage DrawFolder(double scale = 1.0) const;

  GameState& state_;
  std::vector<HistoryMatch> fileOrder_;
  std::vector<HistoryMatch> newestFirst_;
  std::vector<TotalEntry> totals_;
  bool showingTotals_ = false;
  int first_ = 0;
  int matchesFirst_ = 0;  // the page of matches to come back to from the totals
  QRect title_, folder_, totalsButton_, exitButton_;
  double scale_ = 1.0;  // window pixels per pixel of the viewer's layout
  QSize own_;           // the window's size in the layout's pixels
};

// Opens the history viewer over `parent` on the history file of `dataFolder`
// and returns when the user closes it.
void OpenHistoryViewer(GameState& state, const std::filesystem::path& dataFolder,
                       QWidget* parent = nullptr);

}  // namespace tarvelis
