// The network file: a network that loads predicts, and saves and loads back with the same shape.
#include "fuzz.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterFuzzFolder();
  writeInput("Storage/BestNeuralNet.txt", data, size);
  if (!loadNetwork("Storage/BestNeuralNet.txt")) {
    FUZZ_CHECK(botNetwork.layers.empty());
    return 0;
  }
  FUZZ_CHECK(botNetwork.layers.size() >= 2);
  std::vector<int32_t> input(botNetwork.layers[0].size());
  for (size_t i = 0; i < input.size(); ++i) input[i] = (data[i % size] >> (i % 8)) & 1;
  int32_t action = predict(botNetwork, input);
  FUZZ_CHECK(action >= 0 && action < static_cast<int32_t>(botNetwork.layers.back().size()));
  std::vector<size_t> shape;
  for (const std::vector<Neuron>& layer : botNetwork.layers) shape.push_back(layer.size());
  Network saved = botNetwork;
  FUZZ_CHECK(saveNetwork(saved, "Storage/again.txt"));
  FUZZ_CHECK(loadNetwork("Storage/again.txt"));
  std::vector<size_t> reloaded;
  for (const std::vector<Neuron>& layer : botNetwork.layers) reloaded.push_back(layer.size());
  FUZZ_CHECK(reloaded == shape);
  return 0;
}
