// Piece files: whatever loads must play, be searched and be evaluated without fault.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  writeInput("Storage/pieces.txt", data, size);
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  std::string error;
  bool loaded = loadPieceFile("Storage/pieces.txt", true, &error);
  FUZZ_CHECK(loaded || error.rfind("Storage/pieces.txt:", 0) == 0);
  if (!loaded || loadedPieces.empty()) return 0;
  for (const Piece& piece : loadedPieces)
    for (const PieceGrid& grid : piece.grids) {
      FUZZ_CHECK(grid.size() <= boardWidth);
      for (const std::vector<int32_t>& column : grid) FUZZ_CHECK(column.size() <= boardHeight);
    }
  gameMode = playerVersusMode;
  seedRandom(static_cast<uint32_t>(size));
  resetBoards(0);
  setUpGame();
  for (int32_t id = 1; id <= static_cast<int32_t>(pieceCatalogue.size()); ++id)
    for (int32_t rotation = 0; rotation < 4; ++rotation)
      for (int32_t x = -2; x <= boardWidth; x += 3) evaluatePlacement(1, id, rotation, {x, 10});
  playBotFrames(40);
  std::vector<int32_t> input = buildNetworkInput(p1Board, p1PieceId);
  FUZZ_CHECK(input.size() == pieceCatalogue.size() + 2 * boardWidth * boardHeight);
  return 0;
}
