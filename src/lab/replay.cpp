// brikka-lab replay: re-simulates a replay headless at full speed and prints where it ends;
// --check also holds that against the result the file stores.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include "ai/ai.h"
#include "ai/playback.h"
#include "game/game.h"
#include "net/net.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

struct ReplayOptions {
  std::string file;
  bool check = false;
  std::string dataFolder; // where the bot's network is found, for network games
} options;

std::string resultLine(const ReplayResult& r) {
  char text[200];
  std::snprintf(text, sizeof text, "score %d lines %d pieces %d frames %u board %016" PRIx64,
                r.score, r.lines, r.pieces, r.frames, r.boardHash);
  return text;
}

// One line per field the re-simulation did not reproduce: "game time: stored 30.72 s, played
// 30.74 s".
std::string differences(const ReplayResult& stored, const ReplayResult& played) {
  std::string lines;
  auto count = [&lines](const char* field, int64_t a, int64_t b) {
    if (a != b)
      lines += std::string("  ") + field + ": stored " + std::to_string(a) + ", played " +
               std::to_string(b) + "\n";
  };
  count("score", stored.score, played.score);
  count("lines", stored.lines, played.lines);
  count("pieces", stored.pieces, played.pieces);
  count("garbage sent", stored.garbageSent, played.garbageSent);
  count("frames", stored.frames, played.frames);
  if (stored.clock != played.clock) {
    char text[160];
    std::snprintf(text, sizeof text, "  game time: stored %.17g, played %.17g (hundredths)\n",
                  stored.clock, played.clock);
    lines += text;
  }
  if (stored.boardHash != played.boardHash) {
    char text[96];
    std::snprintf(text, sizeof text, "  board: stored %016" PRIx64 ", played %016" PRIx64 "\n",
                  stored.boardHash, played.boardHash);
    lines += text;
  }
  return lines;
}

void runReplay() {
  Replay replay;
  std::string error;
  if (!readReplayFile(options.file, replay, &error)) throw LabError{error};
  if (replay.botUsesNetwork && replay.mode == versusBotMode) {
    std::string path = findDataFolder(options.dataFolder) + "/" + bestNetworkPath;
    std::string problem = readNetworkFile(path, botNetwork);
    if (!problem.empty()) throw LabError{path + ": " + problem};
  }
  auto start = std::chrono::steady_clock::now();
  ReplayResult result;
  bool ok = replay.mode == onlineVersusMode ? resimulateOnline(replay, result, &error)
                                            : resimulate(replay, result, &error);
  if (!ok) throw LabError{options.file + ": " + error};
  double seconds = secondsSince(start);
  std::printf("%s\n", resultLine(result).c_str());
  double played = result.clock / 100.0;
  std::fprintf(stderr, "%.1f s of play re-simulated in %.3f s: %.0f times real time\n", played,
               seconds, seconds > 0.0 ? played / seconds : 0.0);
  if (!options.check) return;
  // Everything the file stores must come out again, to the last bit of the game time.
  std::string differing = differences(replay.result, result);
  if (!differing.empty()) {
    std::fprintf(stderr, "brikka-lab: %s: differs from the stored %s\n%s", options.file.c_str(),
                 resultLine(replay.result).c_str(), differing.c_str());
    std::fflush(stdout);
    std::exit(1);
  }
}

} // namespace

void addReplayCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand("replay", "re-simulate a replay headless");
  command->add_option("file", options.file, "the replay file")->required();
  command->add_flag("--check", options.check,
                    "compare with the result the file stores; exit 1 on any difference");
  command->add_option("--data", options.dataFolder,
                      "folder holding Storage/ with the bot's network (network games only)");
  command->callback(runReplay);
}
