// Speed of the artificial players: evaluation, search, forward pass and one training step.
#include "ai/ai.h"
#include "game/game.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The shipped four-block pieces as the whole catalogue, read from $BRIKKA_DATA, the current
// directory or ./data; without them the benchmark is skipped.
bool useSevenPieces(benchmark::State& state) {
  const char* fromEnvironment = std::getenv("BRIKKA_DATA");
  loadedPieces.clear();
  pieceSelection.clear();
  for (std::string folder :
       {std::string(fromEnvironment ? fromEnvironment : "."), std::string("data")})
    if (loadedPieces.empty()) loadPieceFile(folder + "/Storage/4BlockPieces.txt", true, nullptr);
  rebuildCatalogue();
  fitnessParams = {{12.0, 1.25, 1.0, 0.125}};
  if (loadedPieces.size() != 7) state.SkipWithError("no Storage/4BlockPieces.txt");
  return loadedPieces.size() == 7;
}

// Eight rows of a game in progress: ragged tops, a few holes.
Board midGameBoard() {
  const char* rows[] = {".#........", "##...#..#.", "###.##.##.", "#####..###",
                        "##.#######", "#####.####", "#########.", "###.######"};
  Board board{};
  for (int r = 0; r < 8; ++r)
    for (int x = 0; x < boardWidth; ++x) board[x][12 + r] = rows[r][x] == '#' ? 7 : 0;
  return board;
}

void evaluateOn(benchmark::State& state, const Board& board) {
  if (!useSevenPieces(state)) return;
  p1Board = board;
  for (auto _ : state) benchmark::DoNotOptimize(evaluatePlacement(1, 3, 2, {4, 10}));
}

void searchOn(benchmark::State& state, const Board& board) {
  if (!useSevenPieces(state)) return;
  p1Board = board;
  int32_t id = 0;
  for (auto _ : state) {
    p1PieceId = 1 + id++ % 7;
    benchmark::DoNotOptimize(searchBestPlacement(1));
  }
}

void BM_EvaluatePlacementEmpty(benchmark::State& state) {
  evaluateOn(state, Board{});
}
void BM_EvaluatePlacementMidGame(benchmark::State& state) {
  evaluateOn(state, midGameBoard());
}
void BM_FindBestPlacementEmpty(benchmark::State& state) {
  searchOn(state, Board{});
}
void BM_FindBestPlacementMidGame(benchmark::State& state) {
  searchOn(state, midGameBoard());
}

void BM_FindBestPlacementResultList(benchmark::State& state) {
  if (!useSevenPieces(state)) return;
  p1Board = midGameBoard();
  p1PieceId = 3;
  for (auto _ : state) benchmark::DoNotOptimize(findBestPlacement(1, false));
}

void BM_Predict407x65x65x44(benchmark::State& state) {
  if (!useSevenPieces(state)) return;
  seedRandom(1); // the game's stream: every draw of the rules comes from it
  Network network = createNetwork(407, 44, 0.1, 2, 64);
  std::vector<int32_t> input = buildNetworkInput(midGameBoard(), 3);
  for (auto _ : state) benchmark::DoNotOptimize(predict(network, input));
}

// The forward pass of a network of the given hidden layers, each one wider than the argument:
// 2 x 32 (33 wide) and the shipped network's 3 x 128 (129 wide).
void BM_PredictHidden(benchmark::State& state) {
  if (!useSevenPieces(state)) return;
  srand(1);
  Network network = createNetwork(407, 44, 0.1, static_cast<int32_t>(state.range(0)),
                                  static_cast<int32_t>(state.range(1)));
  std::vector<int32_t> input = buildNetworkInput(midGameBoard(), 3);
  for (auto _ : state) benchmark::DoNotOptimize(predict(network, input));
}

void BM_TrainingStep(benchmark::State& state) {
  // Generation ends save the elite under Storage/ of the working directory: keep it private.
  if (!useSevenPieces(state)) return;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "brikka_bench_ai";
  std::filesystem::create_directories(folder / "Storage");
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  seedRandom(1); // the game's stream: every draw of the rules comes from it
  setUpGame();
  gameMode = trainingMode;
  populationSize = 20;
  movesPerSubject = 100;
  hiddenLayerCount = 2;
  hiddenLayerNeurons = 64;
  learningRate = 0.01;
  startTrainingRun();
  for (auto _ : state) trainingStep();
  state.counters["generations"] = generation - 1;
  gameMode = menuMode;
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_EvaluatePlacementEmpty);
BENCHMARK(BM_EvaluatePlacementMidGame);
BENCHMARK(BM_FindBestPlacementEmpty);
BENCHMARK(BM_FindBestPlacementMidGame);
BENCHMARK(BM_FindBestPlacementResultList);
BENCHMARK(BM_Predict407x65x65x44);
BENCHMARK(BM_PredictHidden)->Args({2, 32})->Args({3, 128});
BENCHMARK(BM_TrainingStep);
