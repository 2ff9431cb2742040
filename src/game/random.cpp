// The one random source and the one sound outlet of the rules.
#include "game/game.h"

#include <cstdlib>

namespace {

// The generator srand and a 128-byte table give: 31 numbers, the pointers 3 apart.
constexpr int32_t streamDegree = 31;
constexpr int32_t streamSeparation = 3;
constexpr int32_t streamType = 3;

int32_t* streamNumbers(RandomStream& stream) {
  // The table's first number holds the generator's type; its numbers follow.
  return reinterpret_cast<int32_t*>(stream.table.data()) + 1;
}

} // namespace

int32_t randomDraw() {
  // Never seeded: start where rand() starts, as srand(1) does.
  if (randomStream.data.state == nullptr) seedStream(randomStream, 1);
  return streamDraw(randomStream);
}

void seedRandom(uint32_t seed) {
  seedStream(randomStream, seed);
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

RandomState saveRandomState(const RandomStream& stream) {
  RandomState state;
  if (stream.data.state == nullptr) {
    RandomStream fresh;
    seedStream(fresh, 1);
    return saveRandomState(fresh);
  }
  state.table = stream.table;
  state.front = static_cast<int32_t>(stream.data.fptr - stream.data.state);
  state.rear = static_cast<int32_t>(stream.data.rptr - stream.data.state);
  return state;
}

bool restoreRandomState(RandomStream& stream, const RandomState& state) {
  bool inside = state.front >= 0 && state.front < streamDegree && state.rear >= 0 &&
                state.rear < streamDegree;
  if (!inside || (state.front - state.rear + streamDegree) % streamDegree != streamSeparation)
    return false;
  stream.table = state.table;
  int32_t* numbers = streamNumbers(stream);
  stream.data = random_data{};
  stream.data.state = numbers;
  stream.data.rand_type = streamType;
  stream.data.rand_deg = streamDegree;
  stream.data.rand_sep = streamSeparation;
  stream.data.fptr = numbers + state.front;
  stream.data.rptr = numbers + state.rear;
  stream.data.end_ptr = numbers + streamDegree;
  return true;
}

void playSound(SoundEffect effect, int channel) {
  if (soundHook) soundHook(effect, channel);
}
