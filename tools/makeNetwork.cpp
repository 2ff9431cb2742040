// Writes the network a new player starts with: a short, reproducible training run on the seven
// four-block pieces, so the "Neural Network" level plays better than chance from the start.
//   makeNetwork <output file> [generations]
#include "ai/ai.h"
#include "game/game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: makeNetwork <output file> [generations]\n");
    return 2;
  }
  fs::path output = fs::absolute(argv[1]);
  int generations = argc > 2 ? std::atoi(argv[2]) : 100;
  // The shipped piece file, found from this source file's place in the repository.
  fs::path pieces = fs::path(__FILE__).parent_path().parent_path() / "Storage/4BlockPieces.txt";
  std::string error;
  if (!loadPieceFile(pieces.string(), true, &error) || loadedPieces.size() != 7) {
    std::fprintf(stderr, "makeNetwork: %s: %s\n", pieces.c_str(),
                 error.empty() ? "expected the seven four-block pieces" : error.c_str());
    return 1;
  }
  rebuildCatalogue();
  loadFitnessParams((pieces.parent_path() / "BestFitnessParams.txt").string());

  // Generation ends save under Storage/ of the working directory: run in a private folder.
  fs::path work = fs::temp_directory_path() / ("brikka_makeNetwork_" + std::to_string(getpid()));
  fs::create_directories(work / "Storage");
  fs::current_path(work);

  seedRandom(20261206);
  selectionSeed = 1;
  setUpGame();
  gameMode = 3;
  populationSize = 20;
  movesPerSubject = 60;
  hiddenLayerCount = 2;
  hiddenLayerNeurons = 16;
  learningRate = 0.1;
  startTrainingRun();
  while (generation <= generations) trainingStep();

  bool saved = saveNetwork(population[0], output.string());
  fs::current_path(output.parent_path());
  fs::remove_all(work);
  if (!saved) {
    std::fprintf(stderr, "makeNetwork: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("makeNetwork: %d generations, best subject fitness %.0f, average of the last %.0f\n",
              generations, highestFitness, averageHistory.empty() ? 0.0 : averageHistory.back());
  return 0;
}
