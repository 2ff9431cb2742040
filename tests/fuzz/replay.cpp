// Replay files: whatever the bytes, the reader refuses them with one line or returns a replay
// that writes back to the same bytes and plays to the same end twice. Each input is tried as it
// is and with a matching check sum added, so that the frames behind the header get played.
#include "fuzz.h"

#include "ai/playback.h"

namespace {

constexpr uint32_t playedFrameLimit = 20000; // longer inputs are read, not played

void tryReplay(const std::string& bytes) {
  Replay replay;
  std::string error;
  if (!readReplayBytes(bytes, replay, &error)) {
    FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos);
    return;
  }
  FUZZ_CHECK(replayBytes(replay) == bytes);
  if (replay.result.frames > playedFrameLimit) return;
  ReplayResult first, second;
  if (!resimulate(replay, first, &error)) return; // another network's game
  FUZZ_CHECK(resimulate(replay, second, &error));
  FUZZ_CHECK(first.boardHash == second.boardHash && first.score == second.score &&
             first.frames == replay.result.frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  tryReplay(bytes);
  uint64_t sum = replayCheckSum(bytes);
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<char>(sum >> (8 * i)));
  tryReplay(bytes);
  return 0;
}
