// Plain, cell-by-cell transcriptions of the evaluation, the move search and the forward pass.
// The game's own versions work on bit columns and skip zero terms; tests check that both give
// the same placements and the same numbers.
#pragma once

#include "ai/state.h"
#include "game/state.h"

#include <vector>

double referenceEvaluation(const Board& board, const PieceGrid& grid, int32_t pieceId, Point at,
                           const std::vector<double>& weights);
struct ReferenceChoice {
  int32_t x, rotation;
  double score;
};
ReferenceChoice referenceSearch(const Board& board, const Piece& piece, int32_t pieceId,
                                const std::vector<double>& weights);
void referenceFeedForward(Network& network);
// The seven four-block pieces on square grids, in a fixed order (ids 1 to 7).
std::vector<Piece> sevenPieces();
// A network without hidden layers that answers `action` whatever it is shown.
Network steeringNetwork(int32_t inputCount, int32_t action);
// Every weight of the network, layer by layer, neuron by neuron.
std::vector<double> allWeights(const Network& network);
