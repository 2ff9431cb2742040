// The feed-forward network: creation, forward pass, prediction, mutation, copy, input encoding.
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>

static double randomWeight() {
  return (randomDraw() % 401 - 200) / 100.0;
}

Network createNetwork(int32_t inputCount, int32_t outputCount, double learningRate,
                      int32_t hiddenLayers, int32_t neuronsPerHiddenLayer) {
  Network network;
  network.learningRate = learningRate;
  std::vector<size_t> sizes = {static_cast<size_t>(std::max(inputCount, 0))};
  for (int32_t h = 0; h < hiddenLayers; ++h)
    sizes.push_back(1 + static_cast<size_t>(std::max(neuronsPerHiddenLayer, 0)));
  sizes.push_back(static_cast<size_t>(std::max(outputCount, 0)));
  network.layers.resize(sizes.size());
  for (size_t l = 0; l < sizes.size(); ++l) network.layers[l].resize(sizes[l]);
  for (size_t i = 0; i < sizes[0]; ++i) network.layers[0][i].index = static_cast<int32_t>(i);
  // One draw per weight: layer by layer, neuron by neuron, source by source.
  for (size_t l = 1; l < sizes.size(); ++l) {
    for (Neuron& neuron : network.layers[l]) {
      neuron.connections.reserve(sizes[l - 1]);
      for (size_t m = 0; m < sizes[l - 1]; ++m)
        neuron.connections.push_back({static_cast<int32_t>(m), randomWeight()});
    }
  }
  feedForward(network);
  return network;
}

// Scratch for the forward pass: kept between calls so a pass allocates nothing once warm.
static std::vector<double> sourceValues;
static std::vector<int32_t> nonZeroSources;

// The weighted sum of one neuron from its connection `from` on, in connection order.
static double continueSum(const Neuron& neuron, size_t from, bool sparse, double sum) {
  const Connection* weights = neuron.connections.data();
  size_t length = std::min(neuron.connections.size(), sourceValues.size());
  const double* values = sourceValues.data();
  if (!sparse) {
    for (size_t j = from; j < length; ++j) sum += weights[j].weight * values[j];
    return sum;
  }
  for (int32_t j : nonZeroSources) {
    size_t source = static_cast<size_t>(j);
    if (source >= length) break;
    if (source >= from) sum += weights[source].weight * values[source];
  }
  return sum;
}

// Eight running sums kept in registers: the eight neurons' additions are independent, so they
// overlap in the processor, while each neuron still adds its terms in connection order and
// gets exactly the sum it would get alone.
struct EightSums {
  const Connection *w0, *w1, *w2, *w3, *w4, *w5, *w6, *w7;
  double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0;
  void add(size_t j, double v) {
    s0 += w0[j].weight * v;
    s1 += w1[j].weight * v;
    s2 += w2[j].weight * v;
    s3 += w3[j].weight * v;
    s4 += w4[j].weight * v;
    s5 += w5[j].weight * v;
    s6 += w6[j].weight * v;
    s7 += w7[j].weight * v;
  }
};

// Weighted sums of eight neurons. With `sparse`, sources whose value is zero are skipped:
// their terms are zero, and adding zero leaves a sum unchanged.
static void eightWeightedSums(const Neuron* neurons, bool sparse, double* out) {
  size_t common = sourceValues.size();
  for (int b = 0; b < 8; ++b) common = std::min(common, neurons[b].connections.size());
  EightSums sums = {neurons[0].connections.data(), neurons[1].connections.data(),
                    neurons[2].connections.data(), neurons[3].connections.data(),
                    neurons[4].connections.data(), neurons[5].connections.data(),
                    neurons[6].connections.data(), neurons[7].connections.data()};
  const double* values = sourceValues.data();
  if (sparse) {
    for (int32_t j : nonZeroSources) {
      if (static_cast<size_t>(j) >= common) break;
      sums.add(static_cast<size_t>(j), values[j]);
    }
  } else {
    for (size_t j = 0; j < common; ++j) sums.add(j, values[j]);
  }
  const double partial[8] = {sums.s0, sums.s1, sums.s2, sums.s3,
                             sums.s4, sums.s5, sums.s6, sums.s7};
  // Neurons with more connections than the shortest of the eight finish on their own.
  for (int b = 0; b < 8; ++b) out[b] = continueSum(neurons[b], common, sparse, partial[b]);
}

void feedForward(Network& network) {
  std::vector<std::vector<Neuron>>& layers = network.layers;
  for (size_t l = 1; l < layers.size(); ++l) {
    const std::vector<Neuron>& sources = layers[l - 1];
    sourceValues.resize(sources.size());
    for (size_t j = 0; j < sources.size(); ++j) sourceValues[j] = sources[j].value;
    // The input layer is mostly zeros (a 0/1 board encoding); hidden values rarely are.
    bool sparse = l == 1;
    if (sparse) {
      nonZeroSources.clear();
      for (size_t j = 0; j < sources.size(); ++j)
        if (sourceValues[j] != 0.0) nonZeroSources.push_back(static_cast<int32_t>(j));
    }
    bool isOutput = l + 1 == layers.size();
    std::vector<Neuron>& neurons = layers[l];
    for (size_t k = 0; k < neurons.size(); k += 8) {
      int count = static_cast<int>(std::min<size_t>(8, neurons.size() - k));
      double sums[8];
      if (count == 8)
        eightWeightedSums(&neurons[k], sparse, sums);
      else
        for (int b = 0; b < count; ++b) sums[b] = continueSum(neurons[k + b], 0, sparse, 0.0);
      for (int b = 0; b < count; ++b) {
        Neuron& neuron = neurons[k + b];
        double sum = sums[b] + neuron.bias;
        if (!isOutput && sum <= 0.0) sum = sum * 0.1;
        neuron.value = sum;
        neuron.layer = static_cast<int32_t>(l);
        neuron.index = static_cast<int32_t>(k + b);
      }
    }
  }
}

int32_t predict(Network& network, const std::vector<int32_t>& input) {
  if (network.layers.size() < 2) return 0;
  std::vector<Neuron>& inputs = network.layers[0];
  // Only the inputs the network has are written; further values of the vector are dropped.
  size_t written = std::min(input.size(), inputs.size());
  for (size_t i = 0; i < written; ++i) inputs[i].value = input[i];
  feedForward(network);
  const std::vector<Neuron>& outputs = network.layers.back();
  double bestValue = 0.0;
  int32_t best = 0;
  for (size_t k = 0; k < outputs.size(); ++k) {
    if (outputs[k].value > bestValue) {
      bestValue = outputs[k].value;
      best = static_cast<int32_t>(k);
    }
  }
  return best;
}

template <typename Draw> static void mutateWith(Network& network, Draw draw) {
  for (size_t l = 1; l < network.layers.size(); ++l) {
    for (Neuron& neuron : network.layers[l]) {
      for (Connection& connection : neuron.connections) {
        int32_t r1 = draw();
        int32_t r2 = draw();
        connection.weight += (r2 % 5) * ((r1 % 3) - 1) * network.learningRate;
      }
      int32_t r3 = draw();
      neuron.bias += ((r3 % 3) - 1) * network.learningRate;
    }
  }
}

void mutate(Network& network) {
  mutateWith(network, randomDraw);
}

void mutate(Network& network, RandomStream& stream) {
  mutateWith(network, [&stream] { return streamDraw(stream); });
}

void copyNetworkFrom(Network& destination, const Network& source) {
  // Connections name their source by index in the previous layer, so copying the layers
  // rebuilds every link inside the destination; assignment reuses its storage.
  destination.layers = source.layers;
  for (std::vector<Neuron>& layer : destination.layers)
    for (Neuron& neuron : layer) neuron.value = 0.0;
  feedForward(destination);
}

void fillNetworkInput(const Board& board, int32_t pieceId, std::vector<int32_t>& input) {
  const int32_t cells = boardWidth * boardHeight;
  const int32_t pieceCount = static_cast<int32_t>(pieceCatalogue.size());
  input.assign(static_cast<size_t>(2 * cells + pieceCount), 0);
  for (int32_t x = 0; x < boardWidth; ++x) {
    int32_t y = 0;
    while (y < boardHeight && board[x][y] == 0) ++y;
    if (y == boardHeight) continue;
    input[x * boardHeight + y] = 1;
    for (++y; y < boardHeight; ++y)
      if (board[x][y] == 0) input[cells + x * boardHeight + y] = 1;
  }
  // Ids start at 1: flag 0 is never set and the last piece sets none.
  if (pieceId >= 0 && pieceId < pieceCount) input[2 * cells + pieceId] = 1;
}

std::vector<int32_t> buildNetworkInput(const Board& board, int32_t pieceId) {
  std::vector<int32_t> input;
  fillNetworkInput(board, pieceId, input);
  return input;
}
