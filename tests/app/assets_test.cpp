// The generated sounds as the game loads them: every effect is audible, short and unlike the
// others, and the music is a long loop that ends in near silence, so looping it gives no click.
#include "app/shell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

namespace {

// Loudness of a range of a chunk's 16-bit stereo samples, 0..32767.
double rms(const Mix_Chunk* chunk, size_t first, size_t count) {
  const int16_t* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += double(samples[i]) * samples[i];
  return std::sqrt(sum / double(count));
}

TEST(Assets, EffectsAreShortAudibleAndDistinctAndTheMusicLoopsWithoutAClick) {
  const std::string mixer = std::string(BRIKKA_BINARY_DIR) + "/data/Mixer/";
  if (!std::filesystem::exists(mixer + "mainMusic.mp3")) GTEST_SKIP() << "no runtime data";
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
  // In the order of SoundEffect; each game sound plays its own effect on the channel asked.
  const char* const names[] = {"placeBlock", "clearLine", "takeDamage", "clickButton", "gameOver"};
  Mix_Chunk** slots[] = {&placeBlockSound, &clearLineSound, &takeDamageSound, &clickButtonSound,
                         &gameOverSound};
  std::set<uint32_t> lengths;
  for (int k = 0; k < 5; ++k) {
    Mix_Chunk* chunk = *slots[k] = Mix_LoadWAV((mixer + names[k] + ".wav").c_str());
    ASSERT_NE(chunk, nullptr) << names[k] << ": " << Mix_GetError();
    double seconds = chunk->alen / 4 / 44100.0;
    EXPECT_GT(seconds, 0.02) << names[k] << " lasts " << seconds;
    EXPECT_LT(seconds, 2.5) << names[k] << " lasts " << seconds;
    EXPECT_GT(rms(chunk, 0, chunk->alen / 2), 1500.0) << names[k] << " is nearly silent";
    lengths.insert(chunk->alen);
    playSoundEffect(static_cast<SoundEffect>(k), k % 2);
    EXPECT_EQ(Mix_GetChunk(k % 2), chunk) << names[k];
    EXPECT_TRUE(Mix_Playing(k % 2)) << names[k];
  }
  EXPECT_EQ(lengths.size(), 5u) << "two effects are the same length";
  Mix_HaltChannel(-1);
  for (Mix_Chunk** slot : slots) Mix_FreeChunk(std::exchange(*slot, nullptr));

  // Played around, the end runs straight into the start: a wave cut off there would jump by
  // thousands between two samples of a channel.
  Mix_Chunk* decoded = Mix_LoadWAV((mixer + "mainMusic.mp3").c_str());
  ASSERT_NE(decoded, nullptr) << Mix_GetError();
  const int16_t* samples = reinterpret_cast<const int16_t*>(decoded->abuf);
  const int count = decoded->alen / 2, edge = 2 * 441; // 10 ms of stereo samples
  EXPECT_GE(count / 2 / 44100.0, 20.0);                // a long loop
  EXPECT_GT(rms(decoded, 0, count), 2000.0);
  EXPECT_LT(rms(decoded, count - edge, edge), 300.0) << "the loop ends loud";
  for (int i = -edge / 10; i < edge / 10; ++i) { // 1 ms either side of the seam
    int now = samples[(i + 2 + count) % count], before = samples[(i + count) % count];
    EXPECT_LT(std::abs(now - before), 1000) << "at " << i;
  }
  Mix_FreeChunk(decoded);
  Mix_CloseAudio();
  SDL_Quit();
}

} // namespace
