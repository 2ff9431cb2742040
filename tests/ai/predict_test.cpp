// The fast forward pass against the plain one: same action, same values to the last bit.
#include "players.h"

#include <cstring>
#include <random>

// Each neuron's weighted sum in connection order, plus its bias, leaky below zero when hidden.
static std::vector<double> plainOutputs(const Network& network, const std::vector<int32_t>& in) {
  std::vector<double> values(in.begin(), in.end());
  for (size_t l = 1; l < network.layers.size(); ++l) {
    std::vector<double> next;
    for (const Neuron& neuron : network.layers[l]) {
      double sum = 0.0;
      for (size_t j = 0; j < values.size(); ++j) sum += neuron.connections[j].weight * values[j];
      sum += neuron.bias;
      next.push_back(l + 1 < network.layers.size() && sum <= 0.0 ? sum * 0.1 : sum);
    }
    values = next;
  }
  return values;
}

TEST(Predict, MatchesThePlainPassBitForBitOnRandomNetworks) {
  std::mt19937_64 draw(20);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(draw);
  };
  for (int trial = 0; trial < 60; ++trial) {
    int32_t inputs = 1 + static_cast<int32_t>(draw() % 420), outputs = 1 + draw() % 50;
    Network network = createNetwork(inputs, outputs, 0.5, draw() % 5, draw() % 140);
    // Weights of every magnitude, not the two-decimal grid createNetwork draws: roundings show.
    for (int pass = 0; pass < 2; ++pass) {
      if (pass == 1)
        mutate(network); // the packed weights follow a mutation
      else {
        for (auto& layer : network.layers)
          for (Neuron& neuron : layer) {
            neuron.bias = uniform(-1, 1);
            for (Connection& c : neuron.connections) c.weight = uniform(-2, 2) * uniform(0, 1);
          }
        feedForward(network); // weights changed by hand: the pass that packs them again
      }
      double density = uniform(0, 0.5);
      for (int shown = 0; shown < 5; ++shown) {
        std::vector<int32_t> input(static_cast<size_t>(inputs));
        for (int32_t& value : input) value = uniform(0, 1) < density;
        std::vector<double> expected = plainOutputs(network, input);
        int32_t best = 0; // the first of the greatest positive outputs, or 0
        for (size_t k = 0; k < expected.size(); ++k)
          if (expected[k] > std::max(0.0, expected[static_cast<size_t>(best)])) best = k;
        ASSERT_EQ(predict(network, input), best) << trial;
        for (size_t k = 0; k < expected.size(); ++k) {
          double value = network.layers.back()[k].value;
          ASSERT_EQ(std::memcmp(&value, &expected[k], sizeof value), 0) << trial << " " << k;
        }
      }
    }
  }
}
