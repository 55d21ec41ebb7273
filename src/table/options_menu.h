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
  explicit OptionsMenu(const GameState& state, QWidget* table);

  // Shows the enabled entries at `at`, kept inside the table. Returns false
  // (and shows nothing) when no entry is enabled.
  bool Open(const OptionFlags& enabled, QPoint at);

  std::function<void(OptionEntry)> onChosen;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int EntryAt(int y) const;

  const GameState& state_;
  std::vector<OptionEntry> entries_;
  int highlighted_ = 0;  // 1-based among the shown entries; 0 none
};

}  // namespace tarvelis
