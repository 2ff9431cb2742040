// brikka-lab distill: teaches a network in the game's file format to imitate a teacher (the
// heuristic or the expert). Round 1 learns from the teacher's own games; each later round adds
// positions from the network's games, labelled the same way, so it learns to recover from its own
// mistakes.
#include "lab/trainer.h"

#include <CLI/CLI.hpp>

#include "ai/ai.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

// Seeds of the games each kind of position comes from: far apart, and far from the small
// seeds play and agree start at, so a measured network never saw its test games.
constexpr uint32_t heuristicSeeds = 1000000000u;
constexpr uint32_t ownSeeds = 2000000000u;
constexpr uint32_t heldOutSeeds = 3000000000u;
constexpr uint32_t roundGameSeeds = 3500000000u;
constexpr uint32_t seedsPerRun = 100000u;
constexpr int64_t positionsPerGame = 2000;

double meanLines(Network& network, uint32_t firstSeed, int64_t games, int64_t maxPieces) {
  double lines = 0.0;
  for (int64_t k = 0; k < games; ++k)
    lines += static_cast<double>(
        playGame(firstSeed + static_cast<uint32_t>(k), &network, maxPieces).lines);
  return games > 0 ? lines / static_cast<double>(games) : 0.0;
}

} // namespace

void distill(const DistillOptions& options,
             const std::function<void(const DistillRound&, Network&)>& onRound) {
  const uint32_t offset = options.seed * seedsPerRun;
  std::mt19937_64 random(options.seed);
  std::vector<int> sizes = {static_cast<int>(networkInputCount(pieceCatalogue.size()))};
  for (int32_t h = 0; h < options.hiddenLayers; ++h) sizes.push_back(options.neurons + 1);
  sizes.push_back(actionCount);
  Trainer trainer = makeTrainer(sizes, random);
  trainer.temperature = static_cast<float>(options.temperature);

  PositionSet heldOut, positions;
  heldOut.keepGaps = true;
  positions.keepGaps = options.temperature > 0.0;
  collectPositions(heldOut, heldOutSeeds + offset, options.heldOut, positionsPerGame, nullptr);

  // The learning rate falls linearly over all the steps of all rounds.
  int64_t totalSteps = 0;
  for (int32_t round = 0; round < options.rounds; ++round) {
    int64_t size = options.positions + round * options.ownPositions;
    totalSteps += static_cast<int64_t>(size * options.epochs) / options.batch;
  }

  Network network;
  uint32_t nextOwnSeed = ownSeeds + offset;
  int64_t step = 0;
  for (int32_t round = 0; round < options.rounds; ++round) {
    int64_t wanted = round == 0 ? options.positions : options.ownPositions;
    Progress collecting{"positions collected", wanted};
    size_t before = positions.size();
    if (round == 0) {
      collectPositions(positions, heuristicSeeds + offset, wanted, positionsPerGame, nullptr,
                       &collecting);
    } else {
      // Continue the seeds, so no game is played twice across rounds.
      while (static_cast<int64_t>(positions.size() - before) < wanted) {
        int64_t left = wanted - static_cast<int64_t>(positions.size() - before);
        collectPositions(positions, nextOwnSeed++, std::min(left, positionsPerGame),
                         positionsPerGame, &network);
        reportProgress(collecting, static_cast<int64_t>(positions.size() - before));
      }
    }

    std::vector<uint32_t> order(positions.size());
    std::iota(order.begin(), order.end(), 0u);
    // A batch never holds more positions than there are.
    const int32_t batch = static_cast<int32_t>(std::min<size_t>(options.batch, order.size()));
    int64_t steps = static_cast<int64_t>(positions.size() * options.epochs) / batch;
    Progress training{"positions trained", steps * batch};
    double lossSum = 0.0;
    int64_t lossCount = 0;
    size_t cursor = order.size();
    for (int64_t s = 0; s < steps; ++s, ++step) {
      if (cursor + batch > order.size()) {
        std::shuffle(order.begin(), order.end(), random);
        cursor = 0;
      }
      double loss = batchLoss(trainer, positions, &order[cursor], batch, true);
      cursor += batch;
      float progress =
          static_cast<float>(step) / static_cast<float>(std::max<int64_t>(totalSteps, 1));
      adamStep(trainer, static_cast<float>(options.learningRate) * (1.0f - 0.9f * progress));
      if (s >= steps - steps / 10 - 1) {
        lossSum += loss;
        lossCount += 1;
      }
      reportProgress(training, (s + 1) * batch);
    }

    network = trainerNetwork(trainer);
    DistillRound result;
    result.positions = static_cast<int64_t>(positions.size());
    result.loss = lossCount > 0 ? lossSum / lossCount : 0.0;
    result.agreement = agreement(network, heldOut);
    result.gap = meanGap(network, heldOut);
    result.meanLines = meanLines(network, roundGameSeeds + offset + round * 1000, options.games,
                                 options.maxPieces);
    onRound(result, network);
  }
}

namespace {

struct DistillCommand {
  DataOptions data;
  DistillOptions distill;
  std::string out;
} command;

void runDistill() {
  loadLabData(command.data);
  auto start = std::chrono::steady_clock::now();
  int32_t round = 0;
  distill(command.distill, [&](const DistillRound& result, Network& network) {
    round += 1;
    // Every round's network is kept, so a long run stopped early still leaves one.
    if (!saveNetwork(network, command.out)) throw LabError{command.out + ": cannot be written"};
    std::printf(
        "round %d positions %lld loss %.4f agreement %.4f gap %.3f lines %.1f seconds %.0f\n",
        round, static_cast<long long>(result.positions), result.loss, result.agreement, result.gap,
        result.meanLines, secondsSince(start));
    std::fflush(stdout);
  });
}

} // namespace

void addDistillCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand(
      "distill",
      "teach a network in the game's file format to imitate the heuristic or the expert");
  addDataOptions(*sub, command.data);
  addEvaluationOption(*sub, command.data, "--teacher");
  DistillOptions& o = command.distill;
  sub->add_option("--out", command.out, "network file to write")->required();
  sub->add_option("--hidden-layers", o.hiddenLayers, "hidden layers")->check(wholeBetween(1, 5));
  sub->add_option("--neurons", o.neurons, "neurons per hidden layer (each layer gets one more)")
      ->check(wholeBetween(1, 256));
  sub->add_option("--seed", o.seed, "seed of the weights, the example order and the games")
      ->check(wholeBetween(0, 9999));
  sub->add_option("--positions", o.positions, "positions from the teacher's games")
      ->check(wholeBetween(1, maxDistillPositions));
  sub->add_option("--rounds", o.rounds, "rounds; each after the first adds the network's own")
      ->check(wholeBetween(1, 100));
  sub->add_option("--own-positions", o.ownPositions, "positions from the network's games a round")
      ->check(wholeBetween(0, maxDistillPositions));
  sub->add_option("--epochs", o.epochs, "passes over the positions so far, each round")
      ->check(realBetween(0.0, 1000.0, false));
  sub->add_option("--batch", o.batch, "positions per step")->check(wholeBetween(1, 65536));
  sub->add_option("--learning-rate", o.learningRate, "Adam's starting step")
      ->check(realBetween(0.0, 10.0, false));
  sub->add_option("--temperature", o.temperature,
                  "0: learn the best actions only; above 0, every action weighted by how far it "
                  "scores below the best (in the teacher's units)")
      ->check(realBetween(0.0, 1000.0, true));
  sub->add_option("--held-out", o.heldOut, "positions from unseen games to measure agreement on")
      ->check(wholeBetween(1, maxDistillPositions));
  sub->add_option("--games", o.games, "games the network plays after each round")
      ->check(wholeBetween(0, 1000000));
  sub->add_option("--max-pieces", o.maxPieces, "length limit of those games")
      ->check(wholeBetween(1, 1000000000000));
  sub->callback(runDistill);
}
