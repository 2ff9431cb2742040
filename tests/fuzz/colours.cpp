// The colour file: every piece gets a colour of three bytes, whatever the file holds.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  loadShippedPieces();
  writeInput("Storage/colorPieces.txt", data, size);
  pieceColours.clear();
  std::string error;
  bool loaded = loadPieceColours(&error, "Storage/colorPieces.txt");
  FUZZ_CHECK(loaded || error.rfind("Storage/colorPieces.txt:", 0) == 0);
  for (int32_t k = -1; k <= static_cast<int32_t>(loadedPieces.size()); ++k)
    for (int32_t value : loadedPieceColour(k)) FUZZ_CHECK(value >= 0 && value <= 255);
  for (int32_t id = 0; id <= static_cast<int32_t>(pieceCatalogue.size()) + 1; ++id)
    for (int32_t value : pieceColour(id)) FUZZ_CHECK(value >= 0 && value <= 255);
  return 0;
}
