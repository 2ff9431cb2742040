// Positions for agreement and distillation: taken from games, labelled with the best actions.
#include "lab/lab.h"

#include "ai/ai.h"

#include <algorithm>

uint64_t labelPosition(float* gaps) {
  std::array<double, actionCount> scores;
  double best = scoreActions(scores);
  uint64_t mask = 0;
  for (int32_t action = 0; action < actionCount; ++action) {
    if (scores[action] == best) mask |= uint64_t{1} << action;
    if (gaps)
      gaps[action] = static_cast<float>(std::min<double>(best - scores[action], unreachableGap));
  }
  return mask;
}

void addPosition(PositionSet& set, const std::vector<int32_t>& input, uint64_t bestActions,
                 const float* gaps) {
  for (size_t i = 0; i < input.size(); ++i)
    if (input[i] != 0) set.active.push_back(static_cast<uint16_t>(i));
  set.start.push_back(static_cast<uint32_t>(set.active.size()));
  set.bestActions.push_back(bestActions);
  if (set.keepGaps) {
    if (gaps)
      set.gaps.insert(set.gaps.end(), gaps, gaps + actionCount);
    else
      for (int32_t action = 0; action < actionCount; ++action)
        set.gaps.push_back(bestActions >> action & 1 ? 0.0f : unreachableGap);
  }
}

void positionInput(const PositionSet& set, size_t k, std::vector<int32_t>& input) {
  input.assign(networkInputCount(pieceCatalogue.size()), 0);
  for (uint32_t i = set.start[k]; i < set.start[k + 1]; ++i) input[set.active[i]] = 1;
}

void collectPositions(PositionSet& set, uint32_t firstSeed, int64_t count, int64_t perGame,
                      Network* network, Progress* progress) {
  std::vector<int32_t> input;
  int64_t added = 0;
  std::array<float, actionCount> gaps;
  auto record = [&] {
    fillNetworkInput(p1Board, p1PieceId, input);
    uint64_t best = labelPosition(gaps.data());
    addPosition(set, input, best, gaps.data());
    added += 1;
  };
  // record counts the positions, so each game adds to added.
  uint32_t seed = firstSeed;
  while (added < count) {
    playGame(seed++, network, std::min(perGame, count - added), record);
    if (progress) reportProgress(*progress, static_cast<int64_t>(set.size()));
  }
}

double agreement(Network& network, const PositionSet& set) {
  if (set.size() == 0) return 0.0;
  std::vector<int32_t> input;
  size_t agreed = 0;
  for (size_t k = 0; k < set.size(); ++k) {
    positionInput(set, k, input);
    if (set.bestActions[k] >> predict(network, input) & 1) agreed += 1;
  }
  return static_cast<double>(agreed) / static_cast<double>(set.size());
}

double meanGap(Network& network, const PositionSet& set) {
  if (set.gaps.size() != set.size() * actionCount || set.size() == 0) return 0.0;
  std::vector<int32_t> input;
  double sum = 0.0;
  for (size_t k = 0; k < set.size(); ++k) {
    positionInput(set, k, input);
    sum += set.gaps[k * actionCount + static_cast<size_t>(predict(network, input))];
  }
  return sum / static_cast<double>(set.size());
}
