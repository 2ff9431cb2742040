// The evaluation weights: whatever set is accepted, the search and a training subject (every
// fitness sum and roulette weight) stay free of overflow.
#include "fuzz.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  loadShippedPieces();
  writeInput("Storage/BestFitnessParams.txt", data, size);
  fitnessParams.clear();
  loadFitnessParams("Storage/BestFitnessParams.txt");
  FUZZ_CHECK(fitnessParams.size() == 10 && fitnessParams[0].size() >= 4);
  for (double w : fitnessParams[0]) FUZZ_CHECK(std::isfinite(w) && std::fabs(w) <= 1e6);
  gameMode = trainingMode;
  seedRandom(static_cast<uint32_t>(size));
  resetBoards(0);
  setUpGame();
  // A ragged stack with holes, so every feature of the evaluation counts.
  for (int32_t x = 0; x < boardWidth; ++x)
    for (int32_t y = 8 + x % 3; y < boardHeight; ++y) p1Board[x][y] = (x * 7 + y) % 4 != 0;
  searchBestPlacement(1);
  // One subject's three moves and its fitness; the population is made once, since building and
  // saving networks would take far longer than the arithmetic under test.
  static bool started = false;
  if (!started) {
    started = true;
    populationSize = 2;
    movesPerSubject = 3;
    hiddenLayerCount = 0;
    startTrainingRun();
  }
  currentSubject = subjectMoveCount = 0;
  trainingFitness = 0.0;
  generationFitness.clear();
  selectionWeights.clear();
  selectionWeightTotal = 0;
  for (int step = 0; step < 3; ++step) trainingStep();
  FUZZ_CHECK(currentSubject == 1 && generationFitness.size() == 1 && selectionWeightTotal > 0);
  return 0;
}
