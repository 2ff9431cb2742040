#include "reference.h"

#include "ai/ai.h"
#include "pictures.h"

#include <cstdlib>

double referenceEvaluation(const Board& board, const PieceGrid& grid, int32_t pieceId, Point at,
                           const std::vector<double>& weights) {
  Board scratch = board;
  double score = 0.0;
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j) {
      if (grid[i][j] != 1) continue;
      unsigned x = at.x + i, y = at.y + j;
      if (x >= 10 || y >= 20) return -1000.0;
      scratch[x][y] = pieceId;
      score += at.y + static_cast<int32_t>(j);
    }
  int tops[10], bumpiness = 0, full = 0;
  for (int x = 0; x < 10; ++x) {
    int holes = 0;
    tops[x] = 20;
    for (int y = 0; y < 20; ++y) {
      if (scratch[x][y] != 0) {
        tops[x] = std::min(tops[x], y);
        if (holes > 0) score -= 2 * weights[3];
      } else if (tops[x] < 20) {
        score -= weights[0];
        holes += 1;
      }
    }
  }
  for (int x = 1; x < 10; ++x) {
    int d = std::abs(tops[x] - tops[x - 1]);
    if (2 * d >= 3) score -= weights[1];
    bumpiness += 2 * d;
  }
  score -= bumpiness * weights[2];
  for (int x = 0; x < 10; ++x)
    for (int y = 19, empty = 0; y >= 0; --y) {
      if (scratch[x][y] == 0)
        empty += 1;
      else
        score -= empty * weights[3];
    }
  for (int y = 19; y >= 0; --y) {
    bool complete = true;
    for (int x = 0; x < 10; ++x) complete = complete && scratch[x][y] != 0;
    full += complete;
  }
  return score + 100.0 * full + 500.0;
}

static bool collides(const Board& board, const PieceGrid& grid, int32_t x, int32_t y) {
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j)
      if (grid[i][j] != 0 && (y + j >= 20 || board[x + i][y + j] != 0)) return true;
  return false;
}

ReferenceChoice referenceSearch(const Board& board, const Piece& piece, int32_t pieceId,
                                const std::vector<double>& weights) {
  ReferenceChoice best = {0, 0, -1000.0};
  for (int32_t r = 0; r < 4; ++r) {
    const PieceGrid& grid = piece.grids[r];
    for (int32_t x = -1; x <= 9; ++x) {
      bool inside = true;
      for (int32_t i = 0; i < static_cast<int32_t>(grid.size()); ++i)
        for (int32_t cell : grid[i]) inside = inside && (cell == 0 || (x + i >= 0 && x + i <= 9));
      // The floor stops every block: the fall goes on to row 20 if need be.
      int32_t y = 0;
      while (inside && y <= 20 && !collides(board, grid, x, y)) ++y;
      if (!inside || y > 20) continue;
      double score = referenceEvaluation(board, grid, pieceId, {x, y - 1}, weights);
      if (score > best.score) best = {x, r, score};
    }
  }
  return best;
}

void referenceFeedForward(Network& network) {
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (Neuron& neuron : network.layers[l]) {
      double sum = 0.0;
      for (const Connection& c : neuron.connections)
        sum += c.weight * network.layers[l - 1][c.from].value;
      sum += neuron.bias;
      neuron.value = l + 1 < network.layers.size() && sum <= 0.0 ? sum * 0.1 : sum;
    }
}

std::vector<Piece> sevenPieces() {
  return {pieceFromPicture({"....", "####", "....", "...."}),
          pieceFromPicture({"##", "##"}),
          pieceFromPicture({".#.", "###", "..."}),
          pieceFromPicture({".##", "##.", "..."}),
          pieceFromPicture({"##.", ".##", "..."}),
          pieceFromPicture({"#..", "###", "..."}),
          pieceFromPicture({"..#", "###", "..."})};
}

Network steeringNetwork(int32_t inputCount, int32_t action) {
  Network network = createNetwork(inputCount, actionCount, 0.0, 0, 0);
  for (Neuron& output : network.layers[1])
    for (Connection& c : output.connections) c.weight = 0.0;
  network.layers[1][action].bias = 1.0;
  return network;
}

std::vector<double> allWeights(const Network& network) {
  std::vector<double> weights;
  for (const auto& layer : network.layers)
    for (const Neuron& neuron : layer)
      for (const Connection& c : neuron.connections) weights.push_back(c.weight);
  return weights;
}
