// Writes the network a new player starts with, taught to imitate the heuristic bot so that the
// "Neural Network" level plays better than chance from the start. The bot plays a few thousand
// pieces; at each one the network sees the board encoding and learns which of the 44
// placements score well (gradient descent on a softmax over the outputs). Fixed seeds: every
// build writes the same file.
//   makeNetwork <output file>
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

struct Example {
  std::vector<int32_t> input; // the board encoding the bot saw
  std::vector<double> target; // how much each of the 44 placements is worth learning
};

// Every placement as a network's choice would be carried out, scored by the evaluation; the
// better a placement scores, the larger its share of the target.
static std::vector<double> targetOf(double temperature) {
  int32_t rotation = p1Rotation;
  Point position = p1Position;
  std::vector<double> scores(actionCount);
  for (int32_t action = 0; action < actionCount; ++action) {
    moveToAction(action);
    scores[action] = evaluatePlacement(1, p1PieceId, p1Rotation, p1Position);
    p1Rotation = rotation;
    p1Position = position;
  }
  double best = *std::max_element(scores.begin(), scores.end()), total = 0.0;
  for (double& score : scores) total += score = std::exp((score - best) / temperature);
  for (double& score : scores) score /= total;
  return scores;
}

// The heuristic bot's games, with its placements carried out the way a network's are.
static std::vector<Example> botGames(int32_t placements) {
  seedRandom(20261206);
  setUpGame();
  std::vector<Example> examples;
  for (int32_t k = 0; k < placements; ++k) {
    PlacementChoice best = searchBestPlacement(1);
    int32_t action = (best.x + 1) + 11 * best.rotation;
    examples.push_back({buildNetworkInput(p1Board, p1PieceId), targetOf(4.0)});
    moveToAction(action);
    lockPiece(1);
    if (p1GameOver) resetBoards(1);
    p1GameOver = false;
  }
  return examples;
}

// One step of gradient descent towards the target of the example just fed forward. Biases are
// not stored in the network file, so only weights learn.
static void teach(Network& network, const std::vector<double>& target, double rate) {
  std::vector<std::vector<Neuron>>& layers = network.layers;
  size_t last = layers.size() - 1;
  std::vector<std::vector<double>> delta(layers.size());
  double top = -1e300, total = 0.0;
  for (const Neuron& n : layers[last]) top = std::max(top, n.value);
  for (const Neuron& n : layers[last]) total += std::exp(n.value - top);
  for (size_t k = 0; k < layers[last].size(); ++k)
    delta[last].push_back(std::exp(layers[last][k].value - top) / total - target[k]);
  for (size_t l = last - 1; l >= 1; --l) {
    for (size_t j = 0; j < layers[l].size(); ++j) {
      double sum = 0.0;
      for (size_t k = 0; k < layers[l + 1].size(); ++k)
        sum += delta[l + 1][k] * layers[l + 1][k].connections[j].weight;
      delta[l].push_back(sum * (layers[l][j].value > 0.0 ? 1.0 : 0.1));
    }
  }
  for (size_t l = 1; l <= last; ++l)
    for (size_t k = 0; k < layers[l].size(); ++k) {
      double step = rate * delta[l][k];
      for (Connection& c : layers[l][k].connections) {
        double source = layers[l - 1][c.from].value;
        if (source != 0.0) c.weight -= step * source;
      }
    }
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: makeNetwork <output file>\n");
    return 2;
  }
  // The shipped pieces and weights, found from this source file's place in the repository.
  fs::path storage = fs::path(__FILE__).parent_path().parent_path() / "Storage";
  std::string error;
  if (!loadPieceFile((storage / "4BlockPieces.txt").string(), true, &error) ||
      loadedPieces.size() != 7) {
    std::fprintf(stderr, "makeNetwork: %s/4BlockPieces.txt: %s\n", storage.c_str(),
                 error.empty() ? "expected the seven four-block pieces" : error.c_str());
    return 1;
  }
  rebuildCatalogue();
  loadFitnessParams((storage / "BestFitnessParams.txt").string());

  std::vector<Example> examples = botGames(6000);
  seedRandom(7);
  Network network = createNetwork(407, actionCount, 0.0, 2, 32);
  for (std::vector<Neuron>& layer : network.layers)
    for (Neuron& neuron : layer)
      for (Connection& c : neuron.connections) c.weight *= 0.05; // small start, steady descent
  int32_t matched = 0;
  for (int epoch = 0; epoch < 12; ++epoch) {
    matched = 0;
    for (size_t k = 0; k < examples.size(); ++k) {
      const Example& example = examples[randomDraw() % examples.size()];
      int32_t choice = predict(network, example.input);
      matched +=
          example.target[choice] == *std::max_element(example.target.begin(), example.target.end());
      teach(network, example.target, 0.02);
    }
  }
  if (!saveNetwork(network, argv[1])) {
    std::fprintf(stderr, "makeNetwork: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("makeNetwork: picks a best placement on %d of %zu boards in its last pass\n", matched,
              examples.size());
  return 0;
}
