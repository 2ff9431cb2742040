// The sensitivity file: start-up ends with two finite values in the sliders' range, which the
// writer stores whole and the reader gets back.
#include "app/settings.h"
#include "fuzz.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  writeInput(sensitivityPath, data, size);
  readSensitivities();
  for (double value : {p1Sensitivity, p2Sensitivity})
    FUZZ_CHECK(std::isfinite(value) && value >= minSensitivity && value <= maxSensitivity);
  FUZZ_CHECK(writeSensitivities());
  double first = p1Sensitivity, second = p2Sensitivity;
  readSensitivities();
  // Six decimals round by at most half a millionth, and the doubles on each side of that add
  // their own last bit.
  const double rounding = 5e-7 * (1.0 + 1e-9);
  FUZZ_CHECK(std::fabs(p1Sensitivity - first) <= rounding &&
             std::fabs(p2Sensitivity - second) <= rounding);
  return 0;
}
