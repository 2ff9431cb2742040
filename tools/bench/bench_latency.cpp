// Input to screen: key presses put on SDL's event queue from SDL's timer thread, at moments
// that fall anywhere in a frame, into the real start-up and frame loop on the software renderer
// of an off-screen window. For each press: from the moment it was queued to the return of the
// present of the first frame in which the piece has moved. Prints the median and the 99th
// percentile. The shipped data is looked for in $BRIKKA_DATA, else ./data.
#include "app/play.h"
#include "app/shell.h"
#include "game/game.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr int pressesMeasured = 300;
std::atomic<bool> pressInFlight{false};   // a key-down is queued and its move not yet seen
std::atomic<uint64_t> lastPressQueued{0}; // the performance counter when it was queued
uint32_t nextGap = 12345;                 // the timer's own small generator: the game's stays

// Runs on SDL's timer thread: a key-down or key-up, right and left in turn, every 20 to 59 ms,
// which no frame length divides, so the presses land at every point of a frame.
Uint32 queueKey(Uint32, void*) {
  static int events = 0;
  SDL_Event event{};
  bool down = events % 2 == 0;
  // One press at a time, so each move is matched to its own press; retry a little later.
  if (down && pressInFlight) return 7;
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.keysym.scancode = events / 2 % 2 == 0 ? SDL_SCANCODE_RIGHT : SDL_SCANCODE_LEFT;
  event.key.timestamp = SDL_GetTicks();
  if (down) {
    lastPressQueued = SDL_GetPerformanceCounter();
    pressInFlight = true;
  }
  SDL_PushEvent(&event);
  ++events;
  nextGap = nextGap * 1103515245u + 12345u;
  return 20 + (nextGap >> 16) % 40;
}

double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  size_t at = static_cast<size_t>(fraction * (values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

void BM_InputToPresent(benchmark::State& state) {
  namespace fs = std::filesystem;
  const char* data = std::getenv("BRIKKA_DATA");
  std::string dataFolder = fs::absolute(data ? data : "data").string();
  std::string home = (fs::temp_directory_path() / "brikka-bench-latency").string();
  setenv("BRIKKA_DATA", dataFolder.c_str(), 1);
  setenv("BRIKKA_HOME", home.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  std::vector<double> latencies;
  for (auto _ : state) {
    if (startUp() != 0) {
      state.SkipWithError("no game data: set BRIKKA_DATA or run from the build folder");
      return;
    }
    startGameOfMode(soloPlayMode);
    // The piece hangs at the top: only the keys move it.
    gravityInterval = p1GravityTimer = 1e12;
    pressInFlight = false;
    SDL_TimerID timer = SDL_AddTimer(30, queueKey, nullptr);
    int measured = 0;
    int32_t lastX = p1Position.x;
    for (int frame = 0; measured < pressesMeasured && frame < pressesMeasured * 10; ++frame) {
      runFrame();
      bool moved = p1Position.x != lastX;
      lastX = p1Position.x;
      if (!moved || !pressInFlight) continue;
      uint64_t ticks = presentedPerfCounter - lastPressQueued.load();
      latencies.push_back(ticks * 1000.0 / SDL_GetPerformanceFrequency());
      pressInFlight = false;
      ++measured;
    }
    SDL_RemoveTimer(timer);
    shutDown();
  }
  fs::remove_all(home);
  if (latencies.empty()) return;
  double median = percentile(latencies, 0.5), slowest = percentile(latencies, 0.99);
  std::printf("InputToPresent: %zu presses, median %.2f ms, 99th percentile %.2f ms\n",
              latencies.size(), median, slowest);
  state.counters["median_ms"] = median;
  state.counters["p99_ms"] = slowest;
}
BENCHMARK(BM_InputToPresent)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
