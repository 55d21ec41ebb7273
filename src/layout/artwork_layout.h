// Where every picture of the game lies inside its strip: the cells that the
// windows copy from, the hot spots of the cursors and the resource paths.
// The artwork generator (tools/artgen) draws into exactly these cells, so this
// header is the one place both sides agree on; it stays free of Qt so that the
// generator, the windows and plain tests can all read it.
//
// Shaped pictures are copied in two steps, as everywhere on the table: the
// mask cell with a bitwise AND (black where the object is, white around it),
// then the image cell with a bitwise XOR (the object's colours, black around
// it). Cells marked "opaque" are plain copies.
#pragma once

namespace tarvelis::art {

struct Cell {
  int x, y, w, h;
};

struct Point {
  int x, y;
};

struct Size {
  int w, h;
};

// ---------------------------------------------------------------------------
// Tile faces: ":/strips/dibujos.png", 553 x 157. Faces on row y 0, each mask
// kDibujosMaskRow pixels below its face.
inline constexpr const char* kDibujosPath = ":/strips/dibujos.png";
inline constexpr Size kDibujosSize{553, 157};
inline constexpr int kDibujosMaskRow = 80;

// The bottom seat's upright faces, one per slot (index 1..7), all alike.
// Pips of the upper half at (+7, +7), of the lower half at (+7, +44).
inline constexpr Cell kSeatFace[8] = {{0, 0, 0, 0},     {0, 0, 44, 77},   {44, 0, 44, 77},
                                      {88, 0, 44, 77},  {132, 0, 44, 77}, {176, 0, 44, 77},
                                      {220, 0, 44, 77}, {264, 0, 44, 77}};
inline constexpr Cell kSeatFaceMask[8] = {{0, 0, 0, 0},      {0, 80, 44, 77},   {44, 80, 44, 77},
                                          {88, 80, 44, 77},  {132, 80, 44, 77}, {176, 80, 44, 77},
                                          {220, 80, 44, 77}, {264, 80, 44, 77}};
// The part of a seat-face cell that the tile covers, relative to the cell: the
// rectangle inverted for a played tile shown "Cambian de color".
inline constexpr Cell kSeatFaceTile{4, 0, 36, 77};

// Chain tiles. The "left" images are laid in the left half of the table and
// carry their thickness on the right, the "right" ones the other way round,
// so the edge always faces the middle of the table.
inline constexpr Cell kChainUprightLeft{310, 0, 40, 77};
inline constexpr Cell kChainUprightRight{352, 0, 40, 77};
inline constexpr Cell kChainFlatLeft{395, 0, 77, 40};
inline constexpr Cell kChainFlatRight{474, 0, 77, 40};

constexpr Cell MaskOf(Cell face) {
  return {face.x, face.y + kDibujosMaskRow, face.w, face.h};
}

// ---------------------------------------------------------------------------
// Pip patterns of the chain and the bottom seat: ":/strips/punneg.png",
// 180 x 60, 30 x 30 cells copied as they are (their background is the face
// colour). Row 0 for flat tiles (halves side by side), row 1 for upright ones.
inline constexpr const char* kPunNegPath = ":/strips/punneg.png";
inline constexpr Size kPunNegSize{180, 60};
inline constexpr int kPipCellSize = 30;

constexpr Cell PipCell(int pips, int orientation) {
  return {(pips - 1) * kPipCellSize, orientation * kPipCellSize, kPipCellSize, kPipCellSize};
}

// ---------------------------------------------------------------------------
// The side seats' small faces and pips: ":/strips/puntitos.png", 160 x 43.
// Small pip cells are 16 x 16, copied as they are at (x + 2, y + 2) of a half.
inline constexpr const char* kPuntitosPath = ":/strips/puntitos.png";
inline constexpr Size kPuntitosSize{160, 43};
inline constexpr int kSmallPipCellSize = 16;

constexpr Cell SmallPipCell(int pips, int row) {
  return {(pips - 1) * kSmallPipCellSize, row * 17, kSmallPipCellSize, kSmallPipCellSize};
}

// Opaque faces without pips, index = seat.
inline constexpr Cell kSmallFace[4] = {
    {0, 0, 0, 0}, {97, 22, 42, 21}, {140, 0, 20, 42}, {97, 0, 42, 21}};

// ---------------------------------------------------------------------------
// Tile backs: ":/strips/dorsos.png", 123 x 201. Index = seat; each mask lies
// kBackMaskOffset pixels to the right of its back.
inline constexpr const char* kDorsosPath = ":/strips/dorsos.png";
inline constexpr Size kDorsosSize{123, 201};
inline constexpr int kBackMaskOffset = 81;
inline constexpr Cell kBack[5] = {
    {0, 0, 0, 0}, {0, 0, 42, 38}, {0, 80, 36, 42}, {0, 40, 42, 38}, {0, 124, 36, 77}};
inline constexpr Cell kBackMask[5] = {
    {0, 0, 0, 0}, {81, 0, 42, 38}, {81, 80, 36, 42}, {81, 40, 42, 38}, {81, 124, 36, 77}};

// ---------------------------------------------------------------------------
// The button bar: ":/strips/bmpvario.png", 310 x 99. Images on row y 0, masks
// on row y 51. Index = button: 1 help, 2 new match, 3 settings, 4 tutor,
// 5 exit, 6 score (a plain panel; the score is printed on it).
inline constexpr const char* kBmpVarioPath = ":/strips/bmpvario.png";
inline constexpr Size kBmpVarioSize{310, 99};
inline constexpr int kButtonMaskRow = 51;
inline constexpr Cell kButtonImage[7] = {{0, 0, 0, 0},     {0, 0, 38, 46},   {40, 0, 58, 48},
                                         {100, 0, 58, 48}, {160, 0, 58, 48}, {220, 0, 48, 48},
                                         {270, 0, 38, 46}};
inline constexpr Cell kButtonMask[7] = {{0, 0, 0, 0},      {0, 51, 38, 46},   {40, 51, 58, 48},
                                        {100, 51, 58, 48}, {160, 51, 58, 48}, {220, 51, 48, 48},
                                        {270, 51, 38, 46}};
// The flat light area of the score button that the numbers may cover,
// relative to the button.
inline constexpr Cell kScoreArea{2, 2, 34, 42};

// ---------------------------------------------------------------------------
// Other pieces of the table: ":/strips/piezas.png", 403 x 192. Every mask lies
// kPiezasMaskRow pixels below its image.
inline constexpr const char* kPiezasPath = ":/strips/piezas.png";
inline constexpr Size kPiezasSize{403, 192};
inline constexpr int kPiezasMaskRow = 97;

constexpr Cell Below(Cell c, int rows) {
  return {c.x, c.y + rows, c.w, c.h};
}

// The leader-choice panel; its middle is a plain light area for the text.
inline constexpr Cell kLeaderPanel{0, 0, 281, 61};
inline constexpr Cell kLeaderPanelMask = Below(kLeaderPanel, kPiezasMaskRow);

// The picture shown when a hand ends by domino.
inline constexpr Cell kDomino{283, 0, 120, 50};
inline constexpr Cell kDominoMask = Below(kDomino, kPiezasMaskRow);

// The continue button, blank: the name is printed on it, centred, in black.
inline constexpr Cell kContinueButton{0, 63, 83, 24};
inline constexpr Cell kContinueButtonMask = Below(kContinueButton, kPiezasMaskRow);

// The pass sign ("Paso").
inline constexpr Cell kPassSign{85, 63, 48, 22};
inline constexpr Cell kPassSignMask = Below(kPassSign, kPiezasMaskRow);

// The end arrows: kArrowRight is `Ima_FlechaDer` (end 1), kArrowLeft is
// `Ima_FlechaIzq` (end 2).
inline constexpr Cell kArrowRight{135, 63, 32, 32};
inline constexpr Cell kArrowRightMask = Below(kArrowRight, kPiezasMaskRow);
inline constexpr Cell kArrowLeft{169, 63, 32, 32};
inline constexpr Cell kArrowLeftMask = Below(kArrowLeft, kPiezasMaskRow);

// The tutor's marker, index = seat: each points at the seat's hand (seat 1
// left, 2 up, 3 right, 4 down) from the place beside the suggested tile.
inline constexpr Cell kTutorMarker[5] = {
    {0, 0, 0, 0}, {203, 63, 32, 32}, {237, 63, 32, 32}, {271, 63, 32, 32}, {305, 63, 32, 32}};
inline constexpr Cell kTutorMarkerMask[5] = {
    {0, 0, 0, 0}, {203, 160, 32, 32}, {237, 160, 32, 32}, {271, 160, 32, 32}, {305, 160, 32, 32}};

// ---------------------------------------------------------------------------
// The recorder panel: ":/strips/grabadora.png", 104 x 106, all opaque.
inline constexpr const char* kGrabadoraPath = ":/strips/grabadora.png";
inline constexpr Size kGrabadoraSize{104, 106};

// The whole panel, with the switch off and with it on.
inline constexpr Cell kRecorderPanelOff{0, 0, 51, 74};
inline constexpr Cell kRecorderPanelOn{53, 0, 51, 74};

// Areas of the panel, in the panel's own pixels (bounds inclusive when
// hit-tested: x .. x + w - 1): the switch and the five controls, index 1 one
// move back, 2 one move forward, 3 run back, 4 run forward, 5 play on from here.
inline constexpr Cell kRecorderSwitchArea{6, 6, 39, 14};
inline constexpr Cell kRecorderControlArea[6] = {{0, 0, 0, 0},     {4, 25, 22, 14},
                                                 {25, 25, 22, 14}, {4, 41, 22, 14},
                                                 {25, 41, 22, 14}, {14, 57, 22, 14}};

// Pictures of exactly those areas: each control pressed (copied over its area
// while its action runs) and the switch in either state.
inline constexpr Cell kRecorderControlPressed[6] = {{0, 0, 0, 0},     {0, 76, 22, 14},
                                                    {24, 76, 22, 14}, {48, 76, 22, 14},
                                                    {72, 76, 22, 14}, {0, 92, 22, 14}};
inline constexpr Cell kRecorderSwitchOff{24, 92, 39, 14};
inline constexpr Cell kRecorderSwitchOn{65, 92, 39, 14};

// ---------------------------------------------------------------------------
// The thinking hand of each seat: ":/strips/manos.png", 128 x 64. Index =
// seat; images on row 0, masks on row 32. Each hand points at its seat's edge.
inline constexpr const char* kManosPath = ":/strips/manos.png";
inline constexpr Size kManosSize{128, 64};
inline constexpr Cell kThinkingHand[5] = {
    {0, 0, 0, 0}, {0, 0, 32, 32}, {32, 0, 32, 32}, {64, 0, 32, 32}, {96, 0, 32, 32}};
inline constexpr Cell kThinkingHandMask[5] = {
    {0, 0, 0, 0}, {0, 32, 32, 32}, {32, 32, 32, 32}, {64, 32, 32, 32}, {96, 32, 32, 32}};

// ---------------------------------------------------------------------------
// The message dialog's pictures: ":/strips/mensajes.png", 300 x 150. Index 1
// information, 2 question, 3 warning, 4 error, 5 victory, 6 dominoes. Row 0:
// images and row 50: masks, for a masked copy over any background; row 100:
// the same pictures ready-made on kMessageBackgroundRgb, for a plain copy.
inline constexpr const char* kMensajesPath = ":/strips/mensajes.png";
inline constexpr Size kMensajesSize{300, 150};
inline constexpr int kMessagePictureCount = 6;
inline constexpr unsigned kMessageBackgroundRgb = 0xF3EFE4;

constexpr Cell MessagePicture(int n) {
  return {50 * (n - 1), 0, 50, 50};
}
constexpr Cell MessageMask(int n) {
  return {50 * (n - 1), 50, 50, 50};
}
constexpr Cell MessagePictureOpaque(int n) {
  return {50 * (n - 1), 100, 50, 50};
}

// ---------------------------------------------------------------------------
// The start-up cover: ":/strips/careta.png", 238 x 118, all opaque on
// kCoverBackgroundRgb (the cover fills itself with that colour). The three
// title bands lie one under the other, as one strip picture from y 44.
inline constexpr const char* kCaretaPath = ":/strips/careta.png";
inline constexpr Size kCaretaSize{238, 118};
inline constexpr unsigned kCoverBackgroundRgb = 0x0E3B27;
inline constexpr Cell kCoverLogo{0, 0, 97, 44};
inline constexpr Cell kCoverIcon{100, 0, 36, 37};
inline constexpr Cell kCoverTitleStrip{0, 44, 238, 74};
inline constexpr Cell kCoverTitleBand[4] = {
    {0, 0, 0, 0}, {0, 44, 235, 43}, {0, 87, 238, 16}, {0, 103, 233, 15}};

// ---------------------------------------------------------------------------
// The table's marble: ":/strips/marmol.png", 640 x 512, repeats seamlessly.
inline constexpr const char* kMarmolPath = ":/strips/marmol.png";
inline constexpr Size kMarmolSize{640, 512};

// The window and application icon, 64 x 64 with transparency.
inline constexpr const char* kAppIconPath = ":/icons/tarvelis.png";
inline constexpr Size kAppIconSize{64, 64};

// ---------------------------------------------------------------------------
// The settings window `Personal`: ":/strips/personal.png", 308 x 150, all
// opaque, drawn on kPanelGreyRgb, the grey of the window's panels, so the
// pieces sit on them without a seam.
inline constexpr const char* kPersonalPath = ":/strips/personal.png";
inline constexpr Size kPersonalSize{308, 150};
inline constexpr unsigned kPanelGreyRgb = 0xC0C0C0;

// The direction of play, 123 x 97: seat to seat the way the turn goes.
inline constexpr Cell kDirectionForward{0, 0, 123, 97};
inline constexpr Cell kDirectionReverse{125, 0, 123, 97};

// A selector's button, released and pressed.
inline constexpr Cell kSelectorButton{250, 0, 29, 20};
inline constexpr Cell kSelectorButtonPressed{250, 22, 29, 20};

// The match-points arrows, released and pressed; the pointer turns into a
// hand only over their pixels that differ from the panel grey.
inline constexpr Cell kArrowUp{281, 0, 24, 14};
inline constexpr Cell kArrowUpPressed{281, 16, 24, 14};
inline constexpr Cell kArrowDown{281, 32, 24, 14};
inline constexpr Cell kArrowDownPressed{281, 48, 24, 14};

// A slider's thumb, and its track: track column i lies under the thumb's left
// edge at value i, so the 12 columns from i restore what the thumb covered.
inline constexpr Cell kSliderThumb{250, 44, 12, 18};
inline constexpr Cell kSliderTrack{0, 99, 112, 18};

// The buttons of the two pages: to the rules page, and out (of either page).
inline constexpr Cell kRulesButton{0, 119, 96, 30};
inline constexpr Cell kExitButton{98, 119, 96, 30};

// ---------------------------------------------------------------------------
// Pointers: 32 x 32 images with transparency. Index = `CursorKind` 1..6
// (0 is the standard pointer and has no picture).
struct CursorArt {
  const char* path;
  Point hotSpot;
};

inline constexpr Size kCursorSize{32, 32};
inline constexpr CursorArt kCursor[7] = {
    {nullptr, {0, 0}},
    {":/cursors/manoindice.png", {11, 1}},
    {":/cursors/manoverde.png", {15, 2}},
    {":/cursors/manoroja.png", {15, 2}},
    {":/cursors/ordenar.png", {15, 15}},
    {":/cursors/girar.png", {15, 15}},
    {":/cursors/manocerrada.png", {15, 12}},
};

// ---------------------------------------------------------------------------
// Sounds, index = sound number; numbers without a sound hold nullptr.
inline constexpr int kSoundCount = 18;
inline constexpr const char* kSoundPath[kSoundCount] = {
    nullptr,           ":/sounds/1.wav",  ":/sounds/2.wav",  ":/sounds/3.wav", ":/sounds/4.wav",
    ":/sounds/5.wav",  ":/sounds/6.wav",  ":/sounds/7.wav",  nullptr,          ":/sounds/9.wav",
    ":/sounds/10.wav", ":/sounds/11.wav", ":/sounds/12.wav", nullptr,          ":/sounds/14.wav",
    ":/sounds/15.wav", nullptr,           ":/sounds/17.wav"};

}  // namespace tarvelis::art
