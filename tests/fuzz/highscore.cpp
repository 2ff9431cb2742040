// The high score file: whatever it holds, the score read is written and read back unchanged.
#include "app/settings.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  writeInput(highscorePath, data, size);
  highscore = 0;
  readHighscore();
  int32_t read = highscore;
  FUZZ_CHECK(writeHighscore());
  highscore = -1;
  readHighscore();
  FUZZ_CHECK(highscore == read);
  return 0;
}
