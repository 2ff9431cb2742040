// The feed-forward network: creation, forward pass, prediction, mutation, copy, input encoding.
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cstring>

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

// Lays the weights out for predict: each block of packedBlock neurons holds, source by source,
// its neurons' weights side by side, so one pass down a block reads memory in order. A network
// with a neuron short of connections gets no packed layers and predict takes the plain pass.
static void packNetwork(Network& network) {
  const std::vector<std::vector<Neuron>>& layers = network.layers;
  network.packed.resize(layers.empty() ? 0 : layers.size() - 1);
  for (size_t l = 1; l < layers.size(); ++l) {
    PackedLayer& packed = network.packed[l - 1];
    packed.sources = layers[l - 1].size();
    packed.neurons = layers[l].size();
    size_t blocks = (packed.neurons + packedBlock - 1) / packedBlock;
    packed.weights.assign(blocks * packed.sources * packedBlock, 0.0);
    packed.biases.assign(blocks * packedBlock, 0.0);
    for (size_t k = 0; k < packed.neurons; ++k) {
      const Neuron& neuron = layers[l][k];
      if (neuron.connections.size() != packed.sources) {
        network.packed.clear();
        return;
      }
      double* column = &packed.weights[k / packedBlock * packed.sources * packedBlock];
      for (size_t j = 0; j < packed.sources; ++j)
        column[j * packedBlock + k % packedBlock] = neuron.connections[j].weight;
      packed.biases[k] = neuron.bias;
    }
  }
}

void feedForward(Network& network) {
  std::vector<std::vector<Neuron>>& layers = network.layers;
  for (size_t l = 1; l < layers.size(); ++l) {
    const std::vector<Neuron>& sources = layers[l - 1];
    bool isOutput = l + 1 == layers.size();
    for (size_t k = 0; k < layers[l].size(); ++k) {
      Neuron& neuron = layers[l][k];
      size_t length = std::min(neuron.connections.size(), sources.size());
      double sum = 0.0;
      for (size_t j = 0; j < length; ++j) sum += neuron.connections[j].weight * sources[j].value;
      sum = sum + neuron.bias;
      if (!isOutput && sum <= 0.0) sum = sum * 0.1;
      neuron.value = sum;
      neuron.layer = static_cast<int32_t>(l);
      neuron.index = static_cast<int32_t>(k);
    }
  }
  packNetwork(network);
}

static bool packedFits(const Network& network) {
  if (network.packed.size() + 1 != network.layers.size()) return false;
  for (size_t l = 1; l < network.layers.size(); ++l) {
    const PackedLayer& packed = network.packed[l - 1];
    if (packed.sources != network.layers[l - 1].size() ||
        packed.neurons != network.layers[l].size())
      return false;
  }
  return true;
}

// Sixteen running sums, one per neuron of a block, in four vectors of four that the compiler
// fits to the processor's registers. Each lane multiplies then adds, source by source in the
// order given, exactly as one neuron's plain sum does (the file is built without contracting a
// multiply and an add into one rounding).
typedef double FourSums __attribute__((vector_size(4 * sizeof(double))));
static_assert(packedBlock == 16, "a block is four vectors of four");

// The weighted sums of every neuron of a packed layer over the listed sources, in list order.
__attribute__((target_clones("avx512f", "avx2", "default"))) static void
packedSums(const PackedLayer& layer, const double* values, const int32_t* used, size_t usedCount,
           double* sums) {
  size_t blocks = layer.biases.size() / packedBlock;
  for (size_t b = 0; b < blocks; ++b) {
    const double* block = layer.weights.data() + b * layer.sources * packedBlock;
    FourSums s0 = {}, s1 = {}, s2 = {}, s3 = {};
    for (size_t u = 0; u < usedCount; ++u) {
      const double* w = block + static_cast<size_t>(used[u]) * packedBlock;
      double v = values[used[u]];
      FourSums w0, w1, w2, w3;
      std::memcpy(&w0, w, sizeof w0);
      std::memcpy(&w1, w + 4, sizeof w1);
      std::memcpy(&w2, w + 8, sizeof w2);
      std::memcpy(&w3, w + 12, sizeof w3);
      s0 += w0 * v;
      s1 += w1 * v;
      s2 += w2 * v;
      s3 += w3 * v;
    }
    std::memcpy(sums + b * packedBlock, &s0, sizeof s0);
    std::memcpy(sums + b * packedBlock + 4, &s1, sizeof s1);
    std::memcpy(sums + b * packedBlock + 8, &s2, sizeof s2);
    std::memcpy(sums + b * packedBlock + 12, &s3, sizeof s3);
  }
}

// Scratch for the packed pass: kept between calls so a pass allocates nothing once warm.
static std::vector<double> sourceValues, layerSums;
static std::vector<int32_t> usedSources, everySource;

// The forward pass over the packed layers; leaves every neuron's value as feedForward does.
static void packedForward(Network& network) {
  std::vector<std::vector<Neuron>>& layers = network.layers;
  const std::vector<Neuron>& inputs = layers[0];
  sourceValues.resize(inputs.size());
  usedSources.resize(inputs.size());
  size_t usedCount = 0;
  // The input layer is mostly zeros (a 0/1 board encoding): a zero's term is zero, and adding
  // zero leaves a sum as it was, so only the others are summed. Hidden values rarely are zero.
  // Every index is written and only the others counted: no branch to mispredict.
  for (size_t j = 0; j < inputs.size(); ++j) {
    sourceValues[j] = inputs[j].value;
    usedSources[usedCount] = static_cast<int32_t>(j);
    usedCount += sourceValues[j] != 0.0;
  }
  for (size_t l = 1; l < layers.size(); ++l) {
    const PackedLayer& packed = network.packed[l - 1];
    if (l > 1) {
      while (everySource.size() < packed.sources)
        everySource.push_back(static_cast<int32_t>(everySource.size()));
    }
    layerSums.resize(std::max(layerSums.size(), packed.biases.size()));
    packedSums(packed, sourceValues.data(), l == 1 ? usedSources.data() : everySource.data(),
               l == 1 ? usedCount : packed.sources, layerSums.data());
    bool isOutput = l + 1 == layers.size();
    sourceValues.resize(packed.neurons);
    double leak = isOutput ? 1.0 : 0.1;
    for (size_t k = 0; k < packed.neurons; ++k) {
      double sum = layerSums[k] + packed.biases[k];
      // Below zero a tenth of a sum is the greater, above zero the sum itself (times 1.0 on the
      // output layer: the sum again), so the larger of the two is the leaky value, taken
      // without a branch: hidden sums fall either side of zero at random.
      sum = std::max(sum, sum * leak);
      sourceValues[k] = sum;
      layers[l][k].value = sum;
    }
  }
}

int32_t predict(Network& network, const std::vector<int32_t>& input) {
  if (network.layers.size() < 2) return 0;
  std::vector<Neuron>& inputs = network.layers[0];
  // Only the inputs the network has are written; further values of the vector are dropped.
  size_t written = std::min(input.size(), inputs.size());
  for (size_t i = 0; i < written; ++i) inputs[i].value = input[i];
  // Layers reshaped since the last pack, or a neuron short of connections: the plain pass
  // (which packs again for the next call).
  if (packedFits(network))
    packedForward(network);
  else
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
  packNetwork(network);
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
  input.assign(networkInputCount(pieceCatalogue.size()), 0);
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
