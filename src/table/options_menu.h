// Pic_SelOpciones: the small menu a right click opens on the table. It lists
// the enabled entries; the one under the pointer is highlighted and a click
// carries it out.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "layout/options_menu_rules.h"

namespace tarvelis {

class OptionsMenu : public QWidget {
 public:
  OptionsMenu(const TableModes& modes, QWidget* table);

  // Shows the enabled entries at `at`, kept inside the table. Returns false
  // (and shows nothing) when no entry is enabled.
  bool Open(const OptionFlags& enabled, QPoint at);

  std::function<void(OptionEntry)> onChosen;
  // Whether an entry that is a setting is on: it is shown ticked.
  std::function<bool(OptionEntry)> isTicked;

  // The table keeps the mouse while the button that opened the menu is held
  // (a right-button drag onto an entry): it passes the pointer on with these,
  // in the menu's own pixels.
  void HighlightAt(QPoint local);
  // Hides the menu and carries out the entry under `local`; false when the
  // point is on no entry.
  bool ChooseAt(QPoint local);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int EntryAt(int y) const;

  const TableModes& modes_;
  std::vector<OptionEntry> entries_;
  int highlighted_ = 0;  // 1-based among the shown entries; 0 none
  double scale_ = 1.0;   // window pixels per pixel of the menu's layout
  int ownHeight_ = 0;    // in the layout's pixels
};

}  // namespace tarvelis
