// What every program's main shares: nothing that escapes ends it with an abort.
#include "game/game.h"

#include <cstdio>
#include <exception>

int runGuarded(const char* program, const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& error) {
    // A backstop only: each fault the program knows of has its own check and message.
    std::fprintf(stderr, "%s: stopped by an unexpected error: %s\n", program, error.what());
  } catch (...) {
    std::fprintf(stderr, "%s: stopped by an unexpected error\n", program);
  }
  return 2;
}
