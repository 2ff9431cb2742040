// soak [frames] [--data <folder>]
// Runs every mode of the game through updateFrame for the given number of frames (1,000,000 by
// default): the menu demo of each main-menu button, the preview of each difficulty button, solo
// with the bot playing, versus bot with the bot on both sides, and training. For each it prints
// resident memory and microseconds a frame over the second and the last 1% of the frames (the
// first is a warm-up in which the mode makes its first allocations), and the longest piece
// queue and garbage lists seen. Headless: no window, no sound. The folder holds
// Storage/ as the game's runtime folder does (the current directory by default); the program
// works in a temporary copy, since solo play writes the high score.
#include "ai/ai.h"
#include "app/screens.h"
#include "app/shell.h"
#include "app/widgets.h"
#include "game/game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

struct Mode {
  std::string name;
  int32_t gameMode;
  int32_t screen;     // menus: which screen's demo runs
  int32_t choice;     // menus: lastHoveredChoice
  bool botPlaysFirst; // the bot moves player 1 before the frame (solo, versus bot)
};

std::vector<Mode> modes() {
  std::vector<Mode> list;
  const char* mainMenu[] = {"Solo Play", "Player Versus", "Versus Bot", "Training AI"};
  for (int i = 0; i < 4; ++i) list.push_back({std::string("menu ") + mainMenu[i], 0, 0, i, false});
  const char* levels[] = {"Easy Peasy",  "Easy",       "Sorta Mid",  "Mid",
                          "Mid to Hard", "Kinda Hard", "Impossible", "Neural Network"};
  for (int i = 0; i < 8; ++i) list.push_back({std::string("preview ") + levels[i], 0, 2, i, false});
  list.push_back({"solo, bot playing", 1, 0, -1, true});
  list.push_back({"versus bot, bot on both sides", 4, 0, -1, true});
  list.push_back({"training", 3, 0, -1, false});
  return list;
}

long residentKilobytes() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void startMode(const Mode& mode) {
  seedRandom(1);
  resetBoards(0);
  gameMode = mode.gameMode;
  currentScreen = mode.screen;
  lastHoveredChoice = mode.choice;
  mousePosition = {1490, 995}; // over no button of any screen
  mouseClicked = mouseHeld = mouseReleased = false;
  setUpGame();
  if (mode.gameMode == versusBotMode) {
    botStepInterval = 25; // "Kinda Hard"
    botStepwise = true;
    botUsesNetwork = false;
  }
  if (mode.gameMode == trainingMode) {
    populationSize = 20; // the training screen's starting values
    learningRate = 0.01;
    movesPerSubject = 100;
    hiddenLayerCount = 2;
    hiddenLayerNeurons = 64;
    startTrainingRun();
  }
}

void runFrame(const Mode& mode) {
  if (mode.botPlaysFirst) botTurn(1);
  updateFrame();
  // A finished game or match starts again, as a player pressing "Back" and starting anew would.
  if (matchOver) setUpGame();
}

struct Window {
  long kilobytes;
  double microseconds;
};

Window timeFrames(const Mode& mode, long frames, size_t& longestQueue, size_t& longestDamage) {
  auto start = std::chrono::steady_clock::now();
  for (long k = 0; k < frames; ++k) {
    runFrame(mode);
    longestQueue = std::max(longestQueue, pieceQueue.size());
    longestDamage = std::max({longestDamage, p1IncomingDamage.size(), p2IncomingDamage.size()});
  }
  std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return {residentKilobytes(), spent.count() / std::max(frames, 1L)};
}

} // namespace

static int run(int argc, char** argv) {
  long frames = 1000000;
  std::string data = ".";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
      data = argv[++i];
    else
      frames = std::atol(argv[i]);
  }
  if (frames < 100) {
    std::fprintf(stderr, "usage: soak [frames, at least 100] [--data <folder>]\n");
    return 2;
  }
  std::string error;
  std::string work = enterTemporaryRuntimeFolder(data, &error);
  if (work.empty() || !loadPieceFiles(&error)) {
    std::fprintf(stderr, "soak: %s\n", error.c_str());
    if (!work.empty()) leaveTemporaryRuntimeFolder(work);
    return 1;
  }
  loadFitnessParams();
  loadNetwork(bestNetworkPath); // the "Neural Network" level needs it, if present
  resetBoards(0);
  setUpGame();
  buildMenus();
  frameDelta = 1.6; // 16 ms frames, as the game's loop makes them

  std::printf("%ld frames a mode; memory in KB and time in microseconds a frame, over the %ld "
              "frames after a warm-up of as many, and over the last %ld\n",
              frames, frames / 100, frames / 100);
  std::printf("%-32s %10s %10s %8s %8s %6s %6s\n", "mode", "KB start", "KB end", "us start",
              "us end", "queue", "damage");
  for (const Mode& mode : modes()) {
    startMode(mode);
    size_t longestQueue = 0, longestDamage = 0;
    long window = frames / 100;
    timeFrames(mode, window, longestQueue, longestDamage); // warm-up: first allocations, caches
    Window first = timeFrames(mode, window, longestQueue, longestDamage);
    timeFrames(mode, frames - 3 * window, longestQueue, longestDamage);
    Window last = timeFrames(mode, window, longestQueue, longestDamage);
    std::printf("%-32s %10ld %10ld %8.2f %8.2f %6zu %6zu\n", mode.name.c_str(), first.kilobytes,
                last.kilobytes, first.microseconds, last.microseconds, longestQueue, longestDamage);
    std::fflush(stdout);
  }
  leaveTemporaryRuntimeFolder(work);
  return 0;
}

int main(int argc, char** argv) {
  return runGuarded("soak", [&] { return run(argc, argv); });
}
