// brikka-lab agree: how often a network picks a placement as good as the best it could have.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace {

struct AgreeOptions {
  DataOptions data;
  std::string networkFile;
  int64_t positions = 20000;
  uint32_t seed = 1;
} options;

// Long heuristic games drift little; several shorter ones show more kinds of board.
constexpr int64_t positionsPerGame = 2000;

void runAgree() {
  loadLabData(options.data);
  Network network = loadLabNetwork(options.networkFile);
  PositionSet positions;
  Progress progress{"positions", options.positions};
  collectPositions(positions, options.seed, options.positions, positionsPerGame, nullptr,
                   &progress);
  std::printf("agreement %.4f\n", agreement(network, positions));
}

} // namespace

void addAgreeCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "agree", "share of the teacher's positions on which a network's choice scores the best");
  addDataOptions(*command, options.data);
  addEvaluationOption(*command, options.data, "--teacher");
  command->add_option("--network", options.networkFile, "the network to measure")
      ->required()
      ->check(CLI::ExistingFile);
  command->add_option("--positions", options.positions, "positions to measure on")
      ->check(wholeBetween(1, 100000000));
  command
      ->add_option("--seed", options.seed,
                   "seed of the first teacher's game the positions come from; the next add one")
      ->check(wholeBetween(0, largestSeed));
  command->callback(runAgree);
}
