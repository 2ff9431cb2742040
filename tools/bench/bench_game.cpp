// Cost of the rules' hot paths: collision, one frame of a player, and a lock that clears rows.
// This file also provides the benchmark program's main().
#include "game/game.h"

#include <benchmark/benchmark.h>

namespace {

// A quarter turn counter-clockwise as drawn, for square grids.
PieceGrid turned(const PieceGrid& grid) {
  PieceGrid result(grid.size(), std::vector<int32_t>(grid.size(), 0));
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid.size(); ++r) result[r][grid.size() - 1 - c] = grid[c][r];
  return result;
}

// The seven four-block pieces as the only catalogue, and a fresh solo game.
void startBenchGame() {
  const std::vector<PieceGrid> firstGrids = {
      {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}}, // I
      {{1, 1}, {1, 1}},                                         // O
      {{0, 1, 0}, {1, 1, 0}, {0, 1, 0}},                        // T
      {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}},                        // S
      {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}},                        // Z
      {{1, 1, 0}, {0, 1, 0}, {0, 1, 0}},                        // J
      {{0, 1, 0}, {0, 1, 0}, {1, 1, 0}},                        // L
  };
  loadedPieces.clear();
  for (const PieceGrid& grid : firstGrids) {
    Piece piece;
    piece.grids[0] = grid;
    for (int k = 1; k < 4; ++k) piece.grids[k] = turned(piece.grids[k - 1]);
    loadedPieces.push_back(piece);
  }
  pieceSelection.assign(loadedPieces.size(), true);
  gameMode = 1;
  frameDelta = 1.6;
  seedRandom(1);
  resetBoards(0);
  setUpGame();
}

// A ragged stack of a game in progress: rows 12 to 19 partly filled.
void fillMidGameStack(Board& board) {
  for (int x = 0; x < boardWidth; ++x)
    for (int y = 12 + (x * 7) % 5; y < boardHeight; ++y) board[x][y] = (x + y) % 4 ? 3 : 0;
}

void BM_PieceFits(benchmark::State& state) {
  startBenchGame();
  fillMidGameStack(p1Board);
  const PieceGrid& grid = pieceGrid(3, 0);
  for (auto _ : state) {
    int fitting = 0;
    for (int32_t x = -1; x < boardWidth; ++x) {
      for (int32_t y = 0; y < boardHeight; ++y) {
        Point at{x, y};
        fitting += pieceFits(1, grid, 0, 0, &at);
      }
    }
    benchmark::DoNotOptimize(fitting);
  }
  state.SetItemsProcessed(state.iterations() * 11 * 20);
}
BENCHMARK(BM_PieceFits);

// A falling piece steered left and right and turned, with gravity running; the ghost is
// rebuilt every frame. The piece is put back at the top before it can lock.
void BM_StepPlayer(benchmark::State& state) {
  startBenchGame();
  fillMidGameStack(p1Board);
  int64_t frame = 0;
  for (auto _ : state) {
    p1MoveLeft = frame % 8 < 2;
    p1MoveRight = frame % 8 == 4;
    p1RotateCcw = frame % 16 == 7;
    stepPlayer(1);
    if (p1Position.y > 6) p1Position = spawnPosition;
    ++frame;
  }
  benchmark::DoNotOptimize(p1GhostCells.data());
}
BENCHMARK(BM_StepPlayer);

// An I standing in column 9 completes four rows of a stack; each lock clears them.
void BM_LockPieceClearingFourRows(benchmark::State& state) {
  startBenchGame();
  Board stack{};
  fillMidGameStack(stack);
  for (int x = 0; x < boardWidth - 1; ++x)
    for (int y = 16; y < boardHeight; ++y) stack[x][y] = 5;
  for (int y = 0; y < boardHeight; ++y) stack[9][y] = 0;
  int64_t rows = 0;
  for (auto _ : state) {
    p1Board = stack;
    p1PieceId = 1;
    p1Rotation = 1;
    p1Position = {8, 16};
    // Keep the sequence and the effects from growing: the capacity stays, nothing allocates.
    pieceQueue.resize(8);
    p1PieceCount = 0;
    lineClearParticles.clear();
    int32_t before = score;
    lockPiece(1);
    rows += (score - before) / 100;
  }
  state.counters["rows/lock"] =
      benchmark::Counter(static_cast<double>(rows) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_LockPieceClearingFourRows);

void BM_NextPieceId(benchmark::State& state) {
  startBenchGame();
  for (auto _ : state) benchmark::DoNotOptimize(nextPieceId());
}
BENCHMARK(BM_NextPieceId);

} // namespace

BENCHMARK_MAIN();
