// Helpers the artificial-player tests share.
#pragma once

#include "ai/ai.h"
#include "folders.h"
#include "game/game.h"
#include "pictures.h"

#include <algorithm>

std::vector<Piece> sevenPieces(); // the four-block pieces, ids 1 to 7
// A network without hidden layers that answers `action` whatever it is shown.
Network steeringNetwork(int32_t inputCount, int32_t action);
std::vector<double> allWeights(const Network& network); // layer, neuron, connection order
// What standard error said: one line, starting with the file's name.
inline void expectOneLineNaming(const std::string& message, const std::string& path) {
  EXPECT_EQ(message.find(path), 0u) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}
