#include "layout/manual_deal.h"

namespace tarvelis {

void ManualDeal::Lay(Random& rng) {
  cells_ = {};
  carrying_ = false;
  fromRow_ = fromCol_ = -1;
  constexpr int kCells = kDealRows * kDealCols;
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= i; ++j) {
      int cell;
      do {
        cell = rng.Draw(kCells) - 1;
      } while (cells_[cell / kDealCols][cell % kDealCols].Present);
      cells_[cell / kDealCols][cell % kDealCols] =
          DealTile{true, static_cast<i16>(i), static_cast<i16>(j)};
    }
  }
}

bool ManualDeal::CellHoldsTile(int row, int col) const {
  return row >= 0 && row < kDealRows && col >= 0 && col < kDealCols && cells_[row][col].Present;
}

bool ManualDeal::PickFromCell(int row, int col) {
  if (carrying_ || !CellHoldsTile(row, col)) return false;
  carried_ = cells_[row][col];
  cells_[row][col] = DealTile{};
  carrying_ = true;
  fromRow_ = row;
  fromCol_ = col;
  return true;
}

bool ManualDeal::PickFromHand(GameState& s, int seat, int slot) {
  if (carrying_ || seat < 1 || seat > kSeats) return false;
  const int count = s.SeatTileCount[seat];
  if (slot < 1 || slot > count) return false;
  carried_ = DealTile{true, s.Hand[seat][slot].PipA, s.Hand[seat][slot].PipB};
  for (int k = slot; k < count; ++k) s.Hand[seat][k] = s.Hand[seat][k + 1];
  s.Hand[seat][count] = HandSlot{kNoPip, kNoPip, 0};
  --s.SeatTileCount[seat];
  carrying_ = true;
  fromRow_ = fromCol_ = -1;
  return true;
}

bool ManualDeal::GiveTo(GameState& s, int seat) {
  if (!carrying_ || seat < 1 || seat > kSeats || s.SeatTileCount[seat] >= kSlots) return false;
  const int slot = ++s.SeatTileCount[seat];
  s.Hand[seat][slot] = HandSlot{carried_.PipA, carried_.PipB, 0};
  carrying_ = false;
  return true;
}

bool ManualDeal::PutBack(int row, int col) {
  if (!carrying_) return false;
  auto place = [&](int r, int c) {
    if (r < 0 || r >= kDealRows || c < 0 || c >= kDealCols || cells_[r][c].Present) return false;
    cells_[r][c] = carried_;
    carrying_ = false;
    return true;
  };
  if (place(row, col) || place(fromRow_, fromCol_)) return true;
  for (int r = 0; r < kDealRows; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (place(r, c)) return true;
    }
  }
  return false;
}

bool ManualDeal::Complete(const GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (s.SeatTileCount[seat] != kSlots) return false;
  }
  return true;
}

int ManualDeal::TilesInArea() const {
  int n = 0;
  for (const auto& row : cells_) {
    for (const DealTile& t : row) n += t.Present ? 1 : 0;
  }
  return n;
}

}  // namespace tarvelis
