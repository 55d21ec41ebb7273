// The manual deal: the 28 tiles lie face down in the dealing area, and the
// user hands them out one at a time. A picked tile is carried until it is
// given to a seat with room, or put back in the area; a tile already given
// may be picked up again from its hand. Pure state, so every rule of the
// interaction is tested without a window.
#pragma once

#include <array>

#include "model/game_state.h"
#include "model/random.h"

namespace tarvelis {

inline constexpr int kDealRows = 7;
inline constexpr int kDealCols = 7;

struct DealTile {
  bool Present = false;
  i16 PipA = 0;
  i16 PipB = 0;
};

class ManualDeal {
 public:
  // Lays the 28 tiles face down in random cells of the area.
  void Lay(Random& rng);

  const DealTile& Cell(int row, int col) const { return cells_[row][col]; }
  bool CellHoldsTile(int row, int col) const;

  bool Carrying() const { return carrying_; }
  const DealTile& Carried() const { return carried_; }

  // Picks the face-down tile of a cell. False when the cell is empty or a
  // tile is already carried.
  bool PickFromCell(int row, int col);

  // Picks a given tile back out of a hand; the later tiles move up a slot.
  bool PickFromHand(GameState& state, int seat, int slot);

  // Gives the carried tile to a seat that holds fewer than seven.
  bool GiveTo(GameState& state, int seat);

  // Puts the carried tile back in the area: in (row, col) when that cell is
  // free, else in the cell it came from or the first free one.
  bool PutBack(int row, int col);

  // Every seat holds seven tiles.
  static bool Complete(const GameState& state);

  // Copies one cell of `from`: for showing the area filled tile by tile.
  void RevealCellFrom(const ManualDeal& from, int row, int col) {
    cells_[row][col] = from.cells_[row][col];
  }

  // Tiles still lying in the area.
  int TilesInArea() const;

 private:
  std::array<std::array<DealTile, kDealCols>, kDealRows> cells_{};
  bool carrying_ = false;
  DealTile carried_;
  int fromRow_ = -1;
  int fromCol_ = -1;
};

}  // namespace tarvelis
