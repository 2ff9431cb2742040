// The shell and drawing suites run without a screen or a sound card: SDL gets its off-screen
// video and silent audio drivers unless the caller chose others. Set before any test starts.
#include <cstdlib>

// SDL's drivers keep allocations until exit, so leak checks stay on for the core suites only.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

namespace {
const bool headless = [] {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();
} // namespace
