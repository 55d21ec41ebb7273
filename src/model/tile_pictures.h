// The chain tile pictures a move record may name: the x of each in the tile
// strip and the two sizes of a laid tile. The strip's cells are drawn to these
// numbers, so a record that names anything else is not a tile of this game.
#pragma once

namespace tarvelis {

inline constexpr int kChainUprightLeftX = 310;
inline constexpr int kChainUprightRightX = 352;  // pips 4 pixels further right
inline constexpr int kChainFlatLeftX = 395;
inline constexpr int kChainFlatRightX = 474;  // pips 4 pixels further right

inline constexpr int kTileLong = 77;
inline constexpr int kTileShort = 40;

// A pip pattern is a 30 x 30 cell drawn 3 pixels into its half.
inline constexpr int kPipCellReach = 33;

}  // namespace tarvelis
