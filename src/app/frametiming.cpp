// Window size and frame timing: the first window's size, how long the last frame took, and how
// long to sleep so that a frame lasts at least 16 ms. Training frames never sleep, so training
// runs as fast as the machine allows.
#include "app/shell.h"
#include "game/replay.h"

#include <algorithm>

namespace {
constexpr int32_t minimumFrameMilliseconds = 16;
} // namespace

double frameDeltaBetween(uint64_t previous, uint64_t current, uint64_t frequency) {
  return frameDeltaFromCounter(current - previous, frequency);
}

uint32_t frameSleepMilliseconds(uint32_t frameStart, uint32_t now, int32_t mode) {
  if (mode == trainingMode) return 0;
  int32_t elapsed = static_cast<int32_t>(now - frameStart);
  if (elapsed >= minimumFrameMilliseconds) return 0;
  return static_cast<uint32_t>(minimumFrameMilliseconds - elapsed);
}

SDL_Point firstWindowSize(int usableWidth, int usableHeight) {
  if (usableWidth >= windowWidth && usableHeight >= windowHeight)
    return {windowWidth, windowHeight};
  // Whole pixels of a 3:2 shape: width a multiple of 3, height two thirds of it.
  int width = std::min(usableWidth, usableHeight * 3 / 2) / 3 * 3;
  width = std::max(width, 3);
  return {width, width * 2 / 3};
}
