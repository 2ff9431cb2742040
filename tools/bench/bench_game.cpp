// Cost of the rules' hot paths: collision, one frame of a player, and a lock that clears rows.
// This file also provides the benchmark program's main().
#include "ai/ai.h"
#include "ai/playback.h"
#include "game/game.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

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
  gameMode = soloPlayMode;
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

// The flags a quick player gives for player 1's piece: a short look, then turns and steps
// towards the search's placement one a frame, then a hard drop.
uint16_t playerActions(PlacementChoice& target, int32_t& seenPiece, int& framesOnPiece) {
  if (p1PieceCount != seenPiece) {
    seenPiece = p1PieceCount;
    target = searchBestPlacement(1);
    framesOnPiece = 0;
  }
  ++framesOnPiece;
  if (framesOnPiece < 8) return 0;
  if (framesOnPiece % 2 == 1 && framesOnPiece < 40) return 0; // keys go up between presses
  if (framesOnPiece < 40 && p1Rotation != target.rotation) return 1 << 2;
  if (framesOnPiece < 40 && p1Position.x < target.x) return 1 << 0;
  if (framesOnPiece < 40 && p1Position.x > target.x) return 1 << 1;
  return 1 << 5;
}

// An hour of solo play recorded as the window records it, frames of 16 to 17 ms on a
// nanosecond counter; then its size, and how fast it re-simulates.
void BM_ReplayOfAnHour(benchmark::State& state) {
  std::mt19937 jitter(1);
  double bytesPerHour = 0.0, timesRealTime = 0.0, minutes = 0.0;
  for (auto _ : state) {
    startBenchGame();
    fitnessParams = {{12.0, 1.25, 1.0, 0.125}};
    Replay replay = beginReplay(0, 0.1, 0.1, 1000000000);
    PlacementChoice target;
    int32_t seenPiece = -1;
    int framesOnPiece = 0;
    uint32_t frames = 0;
    while (gameClock < 360000.0 && !matchOver) {
      ReplayFrame frame;
      frame.ticks = 16000000 + jitter() % 1000000;
      frame.delta = frameDeltaFromCounter(frame.ticks, 1000000000);
      frame.actions = playerActions(target, seenPiece, framesOnPiece);
      addReplayFrame(replay, frame);
      playReplayFrame(frame);
      ++frames;
    }
    replay.result = currentResult(frames);
    std::string bytes = replayBytes(replay);
    double seconds = gameClock / 100.0;
    auto start = std::chrono::steady_clock::now();
    ReplayResult again;
    resimulate(replay, again, nullptr);
    double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (again.boardHash != replay.result.boardHash) state.SkipWithError("replayed differently");
    minutes = seconds / 60.0;
    bytesPerHour = bytes.size() * 3600.0 / seconds;
    timesRealTime = seconds / spent;
  }
  state.counters["minutes"] = minutes;
  state.counters["KB/hour"] = bytesPerHour / 1000.0;
  state.counters["x_real_time"] = timesRealTime;
}
BENCHMARK(BM_ReplayOfAnHour)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
