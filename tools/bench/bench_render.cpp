// Drawing cost: one whole frame of each mode in the software renderer at 1500 x 1000, and the
// process memory over 10,000 frames of every mode (texts make a surface and a texture each
// frame; none may outlive it).
// The shipped data is looked for in $BRIKKA_DATA, the current directory and ./data (the build
// folder's runtime data).
#include "ai/ai.h"
#include "app/widgets.h"
#include "game/game.h"
#include "render/render.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* const fallbackFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

struct Mode {
  const char* name;
  int32_t gameMode;
  int32_t screen;
  bool finished;
};
const Mode modes[] = {{"main menu", 0, 0, false},       {"settings", 0, 3, false},
                      {"piece selection", 0, 4, false}, {"solo", 1, 0, false},
                      {"solo over", 1, 0, true},        {"player versus", 2, 0, false},
                      {"versus over", 2, 0, true},      {"training graph", 3, 0, false},
                      {"training network", 3, 0, true}, {"versus bot", 4, 0, false}};

std::string dataFolder() {
  const char* fromEnvironment = std::getenv("BRIKKA_DATA");
  for (std::string folder : {std::string(fromEnvironment ? fromEnvironment : ""), std::string("."),
                             std::string("data")}) {
    if (folder.empty()) continue;
    if (std::ifstream(folder + "/Storage/4BlockPieces.txt")) return folder;
  }
  return "";
}

// Pieces, menus, fonts and a canvas, once for the whole program. False without the data.
bool prepare() {
  static int ready = -1;
  if (ready >= 0) return ready == 1;
  ready = 0;
  std::string folder = dataFolder();
  if (folder.empty()) return false;
  std::string error;
  if (!loadPieceFiles(&error, folder + "/Storage") ||
      !loadPieceColours(&error, folder + "/Storage/colorPieces.txt"))
    return false;
  seedRandom(7);
  resetBoards(0);
  setUpGame();
  loadFitnessParams(folder + "/Storage/BestFitnessParams.txt");
  buildMenus();
  backButton.hovered = false;
  TTF_Init();
  std::string font = folder + "/Fonts/nasaFont.ttf";
  if (!std::ifstream(font)) font = fallbackFont;
  fontSmall = TTF_OpenFont(font.c_str(), 24);
  fontMedium = TTF_OpenFont(font.c_str(), 36);
  fontLarge = TTF_OpenFont(font.c_str(), 48);
  SDL_Surface* canvas =
      SDL_CreateRGBSurfaceWithFormat(0, windowWidth, windowHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  renderer = SDL_CreateSoftwareRenderer(canvas);
  particleLayoutHook = lineClearLayout; // as start-up: cleared rows send their squares flying
  ready = fontSmall && fontMedium && fontLarge && renderer ? 1 : 0;
  return ready == 1;
}

// A game in progress: stacked pieces, waiting garbage, a network that has played.
void setUpMode(const Mode& mode) {
  gameMode = mode.gameMode;
  currentScreen = mode.screen;
  setUpGame();
  for (int k = 0; k < 30; ++k)
    for (int player : {1, 2}) {
      PlayerState s = playerState(player);
      std::vector<int32_t> best = findBestPlacement(player, false);
      s.rotation = best[1];
      s.position = {best[0], 0};
      while (pieceFits(player, currentGrid(player), 0, 1)) ++s.position.y;
      lockPiece(player);
    }
  p1IncomingDamage = {{2, 3, 400.0}, {1, 5, 100.0}};
  p2IncomingDamage = {{3, 1, 250.0}};
  matchOver = mode.finished && mode.gameMode != trainingMode;
  p2Losses = matchOver ? 3 : 1;
  if (mode.gameMode == trainingMode) {
    populationSize = 4;
    movesPerSubject = 20;
    startTrainingRun();
    while (generation < 5) trainingStep();
    showFitnessGraph = !mode.finished;
  }
}

long residentKilobytes() {
  long pages = 0, resident = 0;
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return -1;
  if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = -1;
  std::fclose(file);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void drawOneFrame(benchmark::State& state, const Mode& mode) {
  if (!prepare()) {
    state.SkipWithError("no Storage/ with piece files in $BRIKKA_DATA, . or ./data");
    return;
  }
  setUpMode(mode);
  for (auto _ : state) drawFrame();
}

// 10,000 frames of each of the five modes in turn; memory after a warm-up against memory at
// the end.
void memoryOverFrames(benchmark::State& state) {
  const Mode* const oneOfEach[] = {&modes[0], &modes[4], &modes[6], &modes[8], &modes[9]};
  if (!prepare()) {
    state.SkipWithError("no Storage/ with piece files in $BRIKKA_DATA, . or ./data");
    return;
  }
  long before = 0, after = 0;
  for (auto _ : state) {
    for (const Mode* mode : oneOfEach) {
      setUpMode(*mode);
      for (int k = 0; k < 50; ++k) drawFrame();
    }
    before = residentKilobytes();
    for (const Mode* mode : oneOfEach) {
      setUpMode(*mode);
      for (int k = 0; k < 10000; ++k) drawFrame();
    }
    after = residentKilobytes();
  }
  state.counters["rss_before_kB"] = static_cast<double>(before);
  state.counters["rss_after_kB"] = static_cast<double>(after);
  state.counters["growth_kB"] = static_cast<double>(after - before);
  std::printf("resident memory over 10,000 frames of each mode: %ld kB -> %ld kB (%+ld kB)\n",
              before, after, after - before);
  // Allocator noise stays well below a megabyte; a leaked texture per frame would not.
  if (after - before > 1024) state.SkipWithError("process memory grew while drawing");
}

// The network view alone, for a default "Run Sim" subject (hidden layers of 65) that has just
// read a board with the given number of rows filled: every filled cell is an input of 1 that
// starts a line to each of the 65 neurons of the first hidden layer.
void drawRunSimNetwork(benchmark::State& state) {
  if (!prepare()) {
    state.SkipWithError("no Storage/ with piece files in $BRIKKA_DATA, . or ./data");
    return;
  }
  seedRandom(11);
  Network network = createNetwork(static_cast<int32_t>(pieceCatalogue.size()) + 400, 44,
                                  learningRate, hiddenLayerCount, hiddenLayerNeurons);
  Board board{};
  for (int y = 20 - static_cast<int>(state.range(0)); y < 20; ++y)
    for (int x = 0; x < 10; ++x) board[x][y] = (x + y) % 7 == 0 ? 0 : 1;
  predict(network, buildNetworkInput(board, 1));
  int64_t lines = 0, unseen = 0; // unseen: alpha 0, which adds nothing
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (const Neuron& neuron : network.layers[l])
      for (const Connection& connection : neuron.connections)
        if (network.layers[l - 1][connection.from].value > 0.7)
          ++lines, unseen += std::fabs(connection.weight) * 15.0 < 1.0;
  for (auto _ : state) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    drawNetwork(network);
    SDL_RenderFlush(renderer);
  }
  state.counters["layers"] = static_cast<double>(network.layers.size());
  state.counters["inputs"] = static_cast<double>(network.layers[0].size());
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["alpha0"] = static_cast<double>(unseen);
}

// One whole frame drawn for a window of another size: the 1500 x 1000 drawing scaled to it
// with black bars, as the game does. Args: mode index, output width, output height.
void drawScaledFrame(benchmark::State& state) {
  if (!prepare()) {
    state.SkipWithError("no Storage/ with piece files in $BRIKKA_DATA, . or ./data");
    return;
  }
  SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(state.range(1)),
                                                       static_cast<int>(state.range(2)), 32,
                                                       SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* full = renderer;
  renderer = SDL_CreateSoftwareRenderer(canvas);
  SDL_RenderSetLogicalSize(renderer, windowWidth, windowHeight);
  setUpMode(modes[state.range(0)]);
  for (auto _ : state) {
    drawFrame();
    SDL_RenderFlush(renderer);
  }
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(canvas);
  renderer = full;
}

const bool registered = [] {
  for (int mode : {1, 3, 5})
    for (auto size : {std::pair{1500, 1000}, std::pair{1152, 768}})
      benchmark::RegisterBenchmark((std::string("drawFrame/scaled/") + modes[mode].name).c_str(),
                                   drawScaledFrame)
          ->Args({mode, size.first, size.second})
          ->Unit(benchmark::kMillisecond);
  for (const Mode& mode : modes)
    benchmark::RegisterBenchmark((std::string("drawFrame/") + mode.name).c_str(), drawOneFrame,
                                 mode)
        ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("drawNetwork/run sim subject, rows filled", drawRunSimNetwork)
      ->Arg(10)
      ->Arg(18)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("drawFrame/memory over 10000 frames per mode", memoryOverFrames)
      ->Iterations(1)
      ->Unit(benchmark::kSecond);
  return true;
}();

} // namespace
