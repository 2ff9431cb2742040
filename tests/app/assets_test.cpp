// The generated sounds as the game loads them: every effect is audible, short and unlike the
// others, and the music is a long loop that ends in near silence, so looping it gives no click.
#include "app/app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

namespace {

const std::string dataDir = std::string(BRIKKA_BINARY_DIR) + "/data";
// The effects in the order of SoundEffect.
const char* const effectNames[] = {"placeBlock", "clearLine", "takeDamage", "clickButton",
                                   "gameOver"};

class Assets : public testing::Test {
protected:
  void SetUp() override {
    if (!std::filesystem::exists(dataDir + "/Mixer/mainMusic.mp3")) {
      GTEST_SKIP() << "this build makes no runtime data";
    }
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
  }
  void TearDown() override {
    Mix_CloseAudio();
    SDL_Quit();
  }
  // Loudness of a range of a chunk's 16-bit stereo samples, 0..32767.
  static double rms(const Mix_Chunk* chunk, size_t first, size_t count) {
    const int16_t* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
    double sum = 0.0;
    for (size_t i = first; i < first + count; ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(count));
  }
  static double seconds(const Mix_Chunk* chunk) { return chunk->alen / 4 / 44100.0; }
};

TEST_F(Assets, EffectsAreShortAudibleAndDistinct) {
  std::set<uint32_t> lengths;
  for (const char* name : effectNames) {
    Mix_Chunk* chunk = Mix_LoadWAV((dataDir + "/Mixer/" + name + ".wav").c_str());
    ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
    EXPECT_GT(seconds(chunk), 0.02) << name;
    EXPECT_LT(seconds(chunk), 2.5) << name;
    EXPECT_GT(rms(chunk, 0, chunk->alen / 2), 1500.0) << name << " is nearly silent";
    lengths.insert(chunk->alen);
    Mix_FreeChunk(chunk);
  }
  EXPECT_EQ(lengths.size(), 5u) << "two effects are the same length";
}

TEST_F(Assets, MusicIsALongLoopThatMeetsItselfInSilence) {
  std::string path = dataDir + "/Mixer/mainMusic.mp3";
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  ASSERT_NE(music, nullptr) << Mix_GetError();
  EXPECT_GE(Mix_MusicDuration(music), 20.0);
  Mix_FreeMusic(music);

  // Played around: the end of the loop runs straight into its start. A wave cut off there
  // would jump by thousands between two samples; a clean seam moves like the music does.
  Mix_Chunk* decoded = Mix_LoadWAV(path.c_str());
  ASSERT_NE(decoded, nullptr) << Mix_GetError();
  const int16_t* samples = reinterpret_cast<const int16_t*>(decoded->abuf);
  size_t count = decoded->alen / 2, edge = 2 * 44100 / 100; // 10 ms of stereo samples
  EXPECT_GT(rms(decoded, 0, count), 2000.0);
  EXPECT_LT(rms(decoded, count - edge, edge), 300.0) << "the loop ends loud";
  size_t near = 2 * 44100 / 1000; // 1 ms either side of the seam
  std::vector<int16_t> seam(samples + count - near, samples + count);
  seam.insert(seam.end(), samples, samples + near);
  int largestStep = 0;
  for (size_t i = 2; i < seam.size(); ++i) {
    largestStep = std::max(largestStep, std::abs(seam[i] - seam[i - 2])); // same channel
  }
  EXPECT_LT(largestStep, 1000);
  Mix_FreeChunk(decoded);
}

TEST_F(Assets, EachGameSoundPlaysItsOwnEffectOnTheChannelAsked) {
  Mix_Chunk** slots[] = {&placeBlockSound, &clearLineSound, &takeDamageSound, &clickButtonSound,
                         &gameOverSound};
  for (int k = 0; k < 5; ++k) {
    *slots[k] = Mix_LoadWAV((dataDir + "/Mixer/" + effectNames[k] + ".wav").c_str());
  }
  for (int k = 0; k < 5; ++k) {
    playSoundEffect(static_cast<SoundEffect>(k), k % 2);
    EXPECT_EQ(Mix_GetChunk(k % 2), *slots[k]) << effectNames[k];
    EXPECT_EQ(Mix_Playing(k % 2), 1) << effectNames[k];
  }
  Mix_HaltChannel(-1);
  for (Mix_Chunk** slot : slots) {
    Mix_FreeChunk(*slot);
    *slot = nullptr;
  }
}

} // namespace
