// The network file: layer sizes on line 1, then one line of weights per non-input neuron.
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

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

// The largest network the training screen makes has about 400,000 weights; these bounds leave
// ample room and stop a few bytes of line 1 from asking for gigabytes.
constexpr int64_t maxNetworkNeurons = 100000;
constexpr int64_t maxNetworkWeights = 10000000;

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

// Line 1: the layer sizes, checked against the bounds before anything is allocated.
static std::string readLayerSizes(const std::string& line, std::vector<int64_t>& sizes) {
  int64_t neurons = 0;
  std::string problem = splitNumbers(line, [&](const char* text, char** end) -> std::string {
    long size = std::strtol(text, end, 10);
    if (*end == text) return "";
    if (size < 1) return "a layer size is below 1";
    neurons += std::min<int64_t>(size, maxNetworkNeurons + 1);
    if (neurons > maxNetworkNeurons)
      return "more than " + std::to_string(maxNetworkNeurons) + " neurons";
    sizes.push_back(size);
    return "";
  });
  if (!problem.empty()) return problem;
  if (sizes.size() < 2) return "fewer than two layers";
  int64_t weights = 0;
  for (size_t l = 1; l < sizes.size(); ++l) {
    weights += sizes[l - 1] * sizes[l]; // each factor is at most maxNetworkNeurons
    if (weights > maxNetworkWeights)
      return "more than " + std::to_string(maxNetworkWeights) + " weights";
  }
  return "";
}

static std::string readNetwork(std::istringstream& file, Network& network) {
  std::string line;
  if (!std::getline(file, line)) return "the file is empty";
  std::vector<int64_t> sizes;
  std::string problem = readLayerSizes(line, sizes);
  if (!problem.empty()) return "line 1: " + problem;

  network.layers.assign(1, std::vector<Neuron>(static_cast<size_t>(sizes[0])));
  for (size_t i = 0; i < network.layers[0].size(); ++i)
    network.layers[0][i].index = static_cast<int32_t>(i);
  int lineNumber = 1;
  for (size_t l = 1; l < sizes.size(); ++l) {
    std::vector<Neuron> layer(static_cast<size_t>(sizes[l]));
    for (Neuron& neuron : layer) {
      lineNumber += 1;
      // Every neuron has its line, even one without weights: a missing line means the file
      // was cut short.
      if (!std::getline(file, line))
        return "ends at line " + std::to_string(lineNumber - 1) + ", before its last neuron";
      size_t commas = static_cast<size_t>(std::count(line.begin(), line.end(), ','));
      neuron.connections.reserve(std::min(commas, static_cast<size_t>(sizes[l - 1])));
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
    network.layers.push_back(std::move(layer));
  }
  // The writer ends every line with a line feed, and every weight with a comma; a last line
  // without them was cut.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (file.eof() || (!line.empty() && line.back() != ','))
    return "line " + std::to_string(lineNumber) + " is cut short";
  return "";
}

std::string readNetworkFile(const std::string& path, Network& network) {
  std::string text, problem;
  if (!readFileLimited(path, networkFileLimit, &text, &problem))
    return problem.substr(path.size() + 2);
  std::istringstream file(text);
  Network loaded;
  problem = readNetwork(file, loaded);
  if (problem.empty()) {
    network.layers = std::move(loaded.layers);
    feedForward(network);
  }
  return problem;
}

bool loadNetwork(const std::string& path) {
  botNetwork.layers.clear();
  std::string problem = readNetworkFile(path, botNetwork);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s; the Neural Network level plays with the search instead\n",
                 path.c_str(), problem.c_str());
    return false;
  }
  return true;
}
