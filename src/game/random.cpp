// The one random source and the one sound outlet of the rules.
#include "game/game.h"

#include <cstdlib>

int32_t randomDraw() {
  return static_cast<int32_t>(std::rand());
}

void seedRandom(uint32_t seed) {
  std::srand(seed);
}

void playSound(SoundEffect effect, int channel) {
  if (soundHook) soundHook(effect, channel);
}
