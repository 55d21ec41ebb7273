// The game's short sounds. Each value is the number of its WAV file in
// resources/sounds, so the numbers must not change.
#pragma once

namespace tarvelis {

enum class Sound : int {
  kTileLaid = 1,      // a tile comes to rest on the chain (not the lead)
  kTileMoves = 2,     // a tile leaves a hand, is taken back or dealt; a hand redrawn
  kTileShown = 3,     // the moving tile appears on the table
  kLimitMoves = 4,    // the settings window's limit selector moves
  kClose = 5,         // a window or panel closed with its exit button
  kSwitchStarts = 6,  // a switch starts (the recorder, the settings' page switch)
  kSwitchEnds = 7,    // the same switch finishes
  kButton = 9,        // a button is pressed
  kFolderOpens = 10,  // the history's folder opens
  kPass = 11,         // a pass is shown; the end arrows blink
  kTutorBlink = 12,   // the tutor's marker blinks
  kDomino = 14,       // a hand ends in a domino; a match is won
  kNewHand = 15,      // a new hand is dealt
  kBlockLost = 17,    // a blocked hand is won by the pair that did not move last
};

}  // namespace tarvelis
