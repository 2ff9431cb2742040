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

// Weighted sums of Count neurons at once. Each neuron still adds its terms in connection
// order, so the sums are exactly those of one neuron at a time; working on several neurons
// together only lets the additions overlap. With `sparse`, sources whose value is zero are
// skipped: their terms are zero, and adding zero leaves a sum unchanged.
template <int Count> static void weightedSums(Neuron* neurons, bool sparse, double* out) {
  const Connection* weights[Count];
  size_t lengths[Count];
  size_t common = sourceValues.size();
  double sums[Count];
  for (int b = 0; b < Count; ++b) {
    weights[b] = neurons[b].connections.data();
    lengths[b] = std::min(neurons[b].connections.size(), sourceValues.size());
    common = std::min(common, lengths[b]);
    sums[b] = 0.0;
  }
  const double* values = sourceValues.data();
  if (sparse) {
    const int32_t* active = nonZeroSources.data();
    size_t activeCount = nonZeroSources.size();
    size_t k = 0;
    for (; k < activeCount && static_cast<size_t>(active[k]) < common; ++k) {
      size_t j = static_cast<size_t>(active[k]);
      double v = values[j];
      for (int b = 0; b < Count; ++b) sums[b] += weights[b][j].weight * v;
    }
    for (int b = 0; b < Count; ++b)
      for (size_t t = k; t < activeCount && static_cast<size_t>(active[t]) < lengths[b]; ++t)
        sums[b] += weights[b][active[t]].weight * values[active[t]];
  } else {
    for (size_t j = 0; j < common; ++j) {
      double v = values[j];
      for (int b = 0; b < Count; ++b) sums[b] += weights[b][j].weight * v;
    }
    for (int b = 0; b < Count; ++b)
      for (size_t j = common; j < lengths[b]; ++j) sums[b] += weights[b][j].weight * values[j];
  }
  for (int b = 0; b < Count; ++b) out[b] = sums[b];
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
        weightedSums<8>(&neurons[k], sparse, sums);
      else
        for (int b = 0; b < count; ++b) weightedSums<1>(&neurons[k + b], sparse, sums + b);
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

void mutate(Network& network) {
  for (size_t l = 1; l < network.layers.size(); ++l) {
    for (Neuron& neuron : network.layers[l]) {
      for (Connection& connection : neuron.connections) {
        int32_t r1 = randomDraw();
        int32_t r2 = randomDraw();
        connection.weight += (r2 % 5) * ((r1 % 3) - 1) * network.learningRate;
      }
      int32_t r3 = randomDraw();
      neuron.bias += ((r3 % 3) - 1) * network.learningRate;
    }
  }
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
