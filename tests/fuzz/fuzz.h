// Shared by the loaders' fuzz programs: each input becomes a file that the real loader reads in
// a private working folder (in memory when /dev/shm exists, so the synced writes cost nothing),
// and what was loaded is then used the way the game uses it. A broken promise traps, so the
// fuzzer reports it like a crash.
#pragma once

#include "ai/ai.h"
#include "app/state.h"
#include "game/game.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Traps when a promise of a loader does not hold.
#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) __builtin_trap();                                                            \
  } while (0)

// Makes a fresh folder with an empty Storage/ the working folder; once per process.
inline void enterFuzzFolder() {
  static bool entered = false;
  if (entered) return;
  entered = true;
  std::string folder = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
  folder += "/brikka-fuzz-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) std::abort();
  std::string storage = folder + "/Storage";
  if (mkdir(storage.c_str(), 0755) != 0) std::abort();
  static std::string made = folder;
  std::atexit([] { std::filesystem::remove_all(made); });
}

inline void writeInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The shipped pieces, loaded once; later inputs play with them.
inline void loadShippedPieces() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  std::string error;
  if (!loadPieceFiles(&error, BRIKKA_SOURCE_DIR "/Storage")) std::abort();
  rebuildCatalogue();
}

// A few frames of a bot game on both boards, each player in turn.
inline void playBotFrames(int frames) {
  botStepInterval = 0;
  botStepwise = false;
  for (int k = 0; k < frames; ++k) {
    botTurn(1);
    botTurn(2);
    if (p1GameOver) resetBoards(1), p1GameOver = false;
    if (p2GameOver) resetBoards(2), p2GameOver = false;
  }
}
