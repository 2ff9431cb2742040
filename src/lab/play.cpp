// brikka-lab play: the bot benchmark. Seeded solo games, and a summary of lines a game.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include "ai/ai.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

struct PlayOptions {
  DataOptions data;
  int64_t games = 100;
  uint32_t seed = 1;
  int64_t maxPieces = 1000000;
  std::string networkFile; // empty = the heuristic
  std::string csvFile;     // one row a game, when named
} options;

// The value below which a share of the sorted values lie (nearest rank).
int64_t percentile(const std::vector<int64_t>& sorted, double share) {
  size_t rank = static_cast<size_t>(std::ceil(share * sorted.size()));
  return sorted[rank > 0 ? rank - 1 : 0];
}

void runPlay() {
  loadLabData(options.data);
  Network network;
  if (!options.networkFile.empty()) network = loadLabNetwork(options.networkFile);
  std::ofstream csv;
  if (!options.csvFile.empty()) {
    csv.open(options.csvFile);
    if (!csv) throw LabError{options.csvFile + ": cannot be written"};
    csv << "seed,lines,pieces\n";
  }

  Progress progress{"games", options.games};
  std::vector<int64_t> lines;
  int64_t pieces = 0;
  for (int64_t k = 0; k < options.games; ++k) {
    GameResult game = playGame(options.seed + static_cast<uint32_t>(k),
                               options.networkFile.empty() ? nullptr : &network, options.maxPieces);
    lines.push_back(game.lines);
    pieces += game.pieces;
    if (csv) csv << game.seed << ',' << game.lines << ',' << game.pieces << '\n';
    reportProgress(progress, k + 1);
  }
  if (csv && !csv.flush()) throw LabError{options.csvFile + ": cannot be written"};

  double seconds = secondsSince(progress.start);
  double mean = 0.0;
  for (int64_t value : lines) mean += static_cast<double>(value);
  mean /= static_cast<double>(lines.size());
  std::sort(lines.begin(), lines.end());
  size_t middle = lines.size() / 2;
  double median = lines.size() % 2 == 1 ? static_cast<double>(lines[middle])
                                        : (lines[middle - 1] + lines[middle]) / 2.0;
  std::printf("mean %.1f median %.1f p10 %lld p90 %lld max %lld games %lld pieces/s %.0f\n", mean,
              median, static_cast<long long>(percentile(lines, 0.1)),
              static_cast<long long>(percentile(lines, 0.9)), static_cast<long long>(lines.back()),
              static_cast<long long>(lines.size()), seconds > 0.0 ? pieces / seconds : 0.0);
}

} // namespace

void addPlayCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand("play", "play seeded solo games and summarise the lines");
  addDataOptions(*command, options.data);
  addEvaluationOption(*command, options.data, "--evaluation");
  command->add_option("--games", options.games, "games to play")
      ->check(wholeBetween(1, 1000000000));
  command->add_option("--seed", options.seed, "seed of the first game; the next add one")
      ->check(wholeBetween(0, largestSeed));
  command->add_option("--max-pieces", options.maxPieces, "a game ends after this many pieces")
      ->check(wholeBetween(1, 1000000000000));
  command->add_option("--network", options.networkFile, "play this network instead of the search")
      ->check(CLI::ExistingFile);
  command->add_option("--csv", options.csvFile, "write seed, lines and pieces of every game");
  command->callback(runPlay);
}
