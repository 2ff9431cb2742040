// Compares evaluation weight sets by how the heuristic bot plays with them: each set plays the
// same piece sequence on player 1's board, and the tool prints lines cleared and games lost.
//   compareWeights [pieces per set]
#include "ai/ai.h"
#include "game/game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

struct Result {
  int32_t lines = 0;
  int32_t lost = 0;
};

// The bot at its fastest: the searched placement, dropped straight and locked.
static Result play(const std::vector<double>& weights, int32_t pieces) {
  fitnessParams = {weights};
  seedRandom(12345);
  setUpGame();
  score = 0;
  Result result;
  for (int32_t k = 0; k < pieces; ++k) {
    PlacementChoice best = searchBestPlacement(1);
    p1Rotation = best.rotation;
    p1Position = {best.x, 0};
    while (p1Position.y < boardHeight && pieceFits(1, currentGrid(1), 0, 1)) p1Position.y += 1;
    lockPiece(1);
    if (p1GameOver) {
      result.lost += 1;
      p1GameOver = false;
      resetBoards(1);
    }
  }
  result.lines = score / 100;
  return result;
}

static int run(int argc, char** argv) {
  int32_t pieces = argc > 1 ? std::atoi(argv[1]) : 20000;
  namespace fs = std::filesystem;
  // All 29 shipped pieces: the five-block ones make bad weights lose games.
  fs::path storage = fs::path(__FILE__).parent_path().parent_path() / "Storage";
  std::string error;
  if (!loadPieceFiles(&error, storage.string())) {
    std::fprintf(stderr, "compareWeights: %s\n", error.c_str());
    return 1;
  }
  selectAllPieces();
  rebuildCatalogue();
  std::printf("hole cliff bumpiness buried: lines lost (%d pieces each)\n", pieces);
  for (double hole : {4.0, 8.0, 12.0, 16.0})
    for (double cliff : {0.5, 1.25, 2.5})
      for (double bumpiness : {0.5, 1.0, 1.5})
        for (double buried : {0.125, 0.5}) {
          Result r = play({hole, cliff, bumpiness, buried}, pieces);
          std::printf("%.3f %.3f %.3f %.3f: %d %d\n", hole, cliff, bumpiness, buried, r.lines,
                      r.lost);
        }
  return 0;
}

int main(int argc, char** argv) {
  return runGuarded("compareWeights", [&] { return run(argc, argv); });
}
