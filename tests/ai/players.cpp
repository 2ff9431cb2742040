#include "players.h"

std::vector<Piece> sevenPieces() {
  std::vector<Piece> pieces;
  for (std::vector<std::string> rows : {std::vector<std::string>{"....", "####", "....", "...."},
                                        {"##", "##"},
                                        {".#.", "###", "..."},
                                        {".##", "##.", "..."},
                                        {"##.", ".##", "..."},
                                        {"#..", "###", "..."},
                                        {"..#", "###", "..."}})
    pieces.push_back(pieceFromPicture(rows));
  return pieces;
}

Network steeringNetwork(int32_t inputCount, int32_t action) {
  Network network = createNetwork(inputCount, actionCount, 0.0, 0, 0);
  for (Neuron& output : network.layers[1])
    for (Connection& c : output.connections) c.weight = 0.0;
  network.layers[1][action].bias = 1.0;
  feedForward(network);
  return network;
}

std::vector<double> allWeights(const Network& network) {
  std::vector<double> weights;
  for (const auto& layer : network.layers)
    for (const Neuron& neuron : layer)
      for (const Connection& c : neuron.connections) weights.push_back(c.weight);
  return weights;
}
