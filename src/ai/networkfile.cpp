// The network file: layer sizes on line 1, then one line of weights per non-input neuron.
#include "ai/ai.h"
#include "game/game.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

bool saveNetwork(const Network& network, const std::string& path, std::string* error) {
  std::string text;
  for (const std::vector<Neuron>& layer : network.layers)
    text += std::to_string(layer.size()) + ",";
  text += '\n';
  // Each weight as printf's "%f" writes it (to_chars promises the same digits, faster).
  char number[512]; // room for the longest finite double in fixed notation
  for (size_t l = 1; l < network.layers.size(); ++l) {
    for (const Neuron& neuron : network.layers[l]) {
      for (const Connection& connection : neuron.connections) {
        auto written = std::to_chars(number, number + sizeof number, connection.weight,
                                     std::chars_format::fixed, 6);
        text.append(number, written.ptr);
        text += ',';
      }
      text += '\n';
    }
  }
  // An interrupted save never leaves a half-written network where the trained one was.
  return writeFileAtomically(path, text, error);
}

// Layers far larger than any screen setting would only exhaust memory.
constexpr long maxLayerSize = 100000;

// The numbers before each comma of a line; text after the last comma is ignored. Returns an
// empty string or what is wrong.
template <typename Convert>
static std::string splitNumbers(const std::string& line, Convert convert) {
  const char* text = line.c_str();
  for (const char* comma = std::strchr(text, ','); comma != nullptr;
       comma = std::strchr(text, ',')) {
    char* end = nullptr;
    errno = 0;
    std::string problem = convert(text, &end);
    if (!problem.empty()) return problem;
    if (end == text || end > comma || errno == ERANGE) return "a value does not convert";
    text = comma + 1;
  }
  return "";
}

static std::string readNetwork(std::ifstream& file, Network& network) {
  std::string line;
  if (!std::getline(file, line)) return "the file is empty";
  std::vector<long> sizes;
  std::string problem = splitNumbers(line, [&](const char* text, char** end) -> std::string {
    long size = std::strtol(text, end, 10);
    if (*end != text && size < 1) return "a layer size is below 1";
    if (size > maxLayerSize) return "a layer size is too large";
    sizes.push_back(size);
    return "";
  });
  if (!problem.empty()) return "line 1: " + problem;
  if (sizes.size() < 2) return "line 1 names fewer than two layers";

  network.layers.assign(sizes.size(), {});
  network.layers[0].resize(static_cast<size_t>(sizes[0]));
  for (size_t i = 0; i < network.layers[0].size(); ++i)
    network.layers[0][i].index = static_cast<int32_t>(i);
  int lineNumber = 1;
  for (size_t l = 1; l < sizes.size(); ++l) {
    std::vector<Neuron>& layer = network.layers[l];
    layer.resize(static_cast<size_t>(sizes[l]));
    for (Neuron& neuron : layer) {
      lineNumber += 1;
      // A missing line gives a neuron without connections.
      if (!std::getline(file, line)) line.clear();
      neuron.connections.reserve(static_cast<size_t>(sizes[l - 1]));
      problem = splitNumbers(line, [&](const char* text, char** end) -> std::string {
        double weight = std::strtod(text, end);
        if (*end != text && !std::isfinite(weight)) return "a weight is not finite";
        if (neuron.connections.size() >= static_cast<size_t>(sizes[l - 1]))
          return "more weights than the previous layer has neurons";
        neuron.connections.push_back({static_cast<int32_t>(neuron.connections.size()), weight});
        return "";
      });
      if (!problem.empty()) return "line " + std::to_string(lineNumber) + ": " + problem;
    }
  }
  return "";
}

bool loadNetwork(const std::string& path) {
  botNetwork.layers.clear();
  std::ifstream file(path);
  std::string problem = "cannot be opened";
  Network loaded;
  if (file) problem = readNetwork(file, loaded);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s; the Neural Network level plays with the search instead\n",
                 path.c_str(), problem.c_str());
    return false;
  }
  botNetwork.layers = std::move(loaded.layers);
  feedForward(botNetwork);
  return true;
}
