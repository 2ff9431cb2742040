// brikka-lab tune: the cross-entropy method over the four evaluation weights. Each iteration
// draws candidates around a mean, every candidate plays the same seeded games (candidates are
// spread over the ranks), and the mean and spread move to the best quarter of them.
#include "lab/lab.h"

#include "lab/state.h"
#include <CLI/CLI.hpp>

#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <random>

namespace {

struct TuneOptions {
  DataOptions data;
  int32_t iterations = 10;
  int32_t candidates = 16;
  int32_t games = 20;
  uint32_t seed = 1;
  int64_t maxPieces = 10000;
  std::string outFile;
  bool decreasingNoise = false; // the kept spread shrinks to nothing by the last round
} options;

constexpr double eliteShare = 0.25; // the best quarter of the candidates sets the next mean
constexpr double firstSpread = 0.5; // of each weight's size, for the first draw
constexpr double keptSpread = 0.05; // of each weight's size, added so the search never freezes

enum Stream : uint64_t { candidateStream = 1, gameStream };

// A standard normal draw from two uniform ones (Box and Muller).
double normalDraw(std::mt19937_64& generator) {
  double u = (static_cast<double>(generator() >> 11) + 1.0) / 9007199254740993.0; // (0, 1]
  double v = static_cast<double>(generator() >> 11) / 9007199254740992.0;         // [0, 1)
  return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * v);
}

// Every weight in the printf format given, one after the other.
std::string joined(const std::vector<double>& weights, const char* format) {
  std::string text;
  char number[64];
  for (double weight : weights) {
    std::snprintf(number, sizeof number, format, weight);
    text += number;
  }
  return text;
}

// The file format of Storage/BestFitnessParams.txt (one weight a line) or the expert's.
std::string weightsText(const std::vector<double>& weights) {
  return expertEvaluation ? expertWeightsText(weights) : joined(weights, "%.4f\n");
}

// " 1.0000 2.0000 ...", as the summary lines show weights.
std::string listed(const std::vector<double>& weights) {
  return joined(weights, " %.4f");
}

void runTune() {
  joinRanks();
  loadLabData(options.data);
  agreeAcrossRanks();
  const int32_t count = options.candidates;
  // The four weights are penalties, never below zero; the expert's carry their own signs.
  std::vector<double> mean = expertEvaluation ? expertWeights
                                              : std::vector<double>(fitnessParams[0].begin(),
                                                                    fitnessParams[0].begin() + 4);
  const int weightCount = static_cast<int>(mean.size());
  std::vector<double> spread(mean.size());
  for (int j = 0; j < weightCount; ++j) {
    spread[j] = firstSpread * std::max(std::abs(mean[j]), 1.0);
  }
  const int32_t eliteCount =
      std::max<int32_t>(1, static_cast<int32_t>(std::lround(eliteShare * count)));
  double eliteBest = 0.0, eliteMean = 0.0;

  for (int32_t iteration = 1; iteration <= options.iterations; ++iteration) {
    // Rank 0 draws, so the candidates cannot differ between machines' maths libraries.
    std::vector<double> candidates(static_cast<size_t>(count) * weightCount);
    if (rankIndex() == 0) {
      std::mt19937_64 generator(labSeed(options.seed, iteration, 0, candidateStream));
      for (int32_t c = 0; c < count; ++c)
        for (int j = 0; j < weightCount; ++j)
          candidates[c * weightCount + j] =
              expertEvaluation ? mean[j] + spread[j] * normalDraw(generator)
                               : std::max(0.0, mean[j] + spread[j] * normalDraw(generator));
    }
    broadcastFromFirst(candidates);

    std::vector<double> lines(count, 0.0);
    for (int32_t c = rankIndex(); c < count; c += rankCount()) {
      std::vector<double> weights(&candidates[c * weightCount],
                                  &candidates[c * weightCount] + weightCount);
      if (expertEvaluation)
        expertWeights = weights;
      else
        fitnessParams = {weights};
      for (int32_t game = 0; game < options.games; ++game)
        lines[c] += static_cast<double>(
            playGame(labSeed(options.seed, iteration, game, gameStream), nullptr, options.maxPieces)
                .lines);
    }
    sumOverRanks(lines);

    std::vector<int32_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int32_t a, int32_t b) { return lines[a] > lines[b]; });
    eliteBest = lines[order[0]] / options.games;
    eliteMean = 0.0;
    for (int32_t e = 0; e < eliteCount; ++e) eliteMean += lines[order[e]] / options.games;
    eliteMean /= eliteCount;
    for (int j = 0; j < weightCount; ++j) {
      double sum = 0.0, squares = 0.0;
      for (int32_t e = 0; e < eliteCount; ++e) sum += candidates[order[e] * weightCount + j];
      mean[j] = sum / eliteCount;
      for (int32_t e = 0; e < eliteCount; ++e) {
        double away = candidates[order[e] * weightCount + j] - mean[j];
        squares += away * away;
      }
      // Early rounds keep searching wide; with decreasing noise the last ones settle.
      double kept = options.decreasingNoise
                        ? keptSpread * (options.iterations - iteration) / options.iterations
                        : keptSpread;
      spread[j] = std::sqrt(squares / eliteCount) + kept * std::max(std::abs(mean[j]), 1.0);
    }

    if (rankIndex() != 0) continue;
    std::string error;
    if (!options.outFile.empty() &&
        !writeFileAtomically(options.outFile, weightsText(mean), &error))
      throw LabError{error};
    std::fprintf(stderr,
                 "iteration %d/%d: elite best %.2f, elite mean %.2f lines a game; mean weights%s\n",
                 iteration, options.iterations, eliteBest, eliteMean, listed(mean).c_str());
  }
  if (rankIndex() == 0)
    std::printf("weights%s elite best %.2f elite mean %.2f lines a game\n", listed(mean).c_str(),
                eliteBest, eliteMean);
}

} // namespace

void addTuneCommand(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("tune", "tune the evaluation weights (four, or the expert's) by the "
                                 "cross-entropy method, over MPI's ranks");
  addDataOptions(*command, options.data);
  addEvaluationOption(*command, options.data, "--evaluation");
  command->add_option("--iterations", options.iterations, "rounds of drawing and selecting")
      ->check(wholeBetween(1, 100000));
  command->add_option("--candidates", options.candidates, "weight sets drawn each round")
      ->check(wholeBetween(1, 100000));
  command->add_option("--games", options.games, "seeded games every candidate plays")
      ->check(wholeBetween(1, 1000000));
  command->add_option("--seed", options.seed, "the tuning's seed")
      ->check(wholeBetween(0, largestSeed));
  command->add_option("--max-pieces", options.maxPieces, "a game ends after this many pieces")
      ->check(wholeBetween(1, 1000000000000));
  command->add_option("--out", options.outFile,
                      "the mean weights, after every round, as Storage/BestFitnessParams.txt (or "
                      "ExpertWeights.txt)");
  command->add_flag("--decreasing-noise", options.decreasingNoise,
                    "the noise added to the spread falls to nothing over the rounds");
  command->callback(runTune);
}
