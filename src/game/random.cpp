// The one random source and the one sound outlet of the rules.
#include "game/game.h"

#include <cstdlib>

int32_t randomDraw() {
  return static_cast<int32_t>(std::rand());
}

void seedRandom(uint32_t seed) {
  std::srand(seed);
}

void seedStream(RandomStream& stream, uint32_t seed) {
  stream.data = random_data{};
  initstate_r(seed, stream.table.data(), stream.table.size(), &stream.data);
}

int32_t streamDraw(RandomStream& stream) {
  int32_t value = 0;
  random_r(&stream.data, &value);
  return value;
}

void playSound(SoundEffect effect, int channel) {
  if (soundHook) soundHook(effect, channel);
}
