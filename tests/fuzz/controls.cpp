// The controls file: start-up always ends with 14 valid bindings that label the buttons and
// drive the action flags.
#include "app/input.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  if (screenButtons.empty()) buildMenus();
  writeInput(controlsPath, data, size);
  controls.clear();
  readControls(true);
  FUZZ_CHECK(controls.size() == controlCount);
  for (int32_t scancode : controls) FUZZ_CHECK(scancode >= 0 && scancode < scancodeLimit);
  for (int i = 0; i < controlCount; ++i)
    FUZZ_CHECK(screenButtons[3][i].valueText == keyDisplayName(controls[i]));
  uint8_t keys[scancodeLimit] = {};
  for (size_t i = 0; i < size; ++i) keys[data[i] % scancodeLimit] = 1;
  computeActionFlags(keys);
  std::vector<int32_t> before = controls;
  readControls(false); // the file was written anew if it was broken: it reads back the same
  FUZZ_CHECK(controls == before);
  return 0;
}
