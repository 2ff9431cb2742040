#include "reference.h"

#include "pictures.h"

#include <cstdlib>

double referenceEvaluation(const Board& board, const PieceGrid& grid, int32_t pieceId, Point at,
                           const std::vector<double>& weights) {
  Board scratch = board;
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j) {
      if (grid[i][j] != 1) continue;
      unsigned x = static_cast<unsigned>(at.x + static_cast<int32_t>(i));
      unsigned y = static_cast<unsigned>(at.y + static_cast<int32_t>(j));
      if (x >= 10 || y >= scratch[0].size()) return -1000.0;
      scratch[x][y] = pieceId;
    }
  double score = 0.0;
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j)
      if (grid[i][j] == 1) score += at.y + static_cast<int32_t>(j);
  for (int x = 0; x < 10; ++x) {
    bool seen = false;
    int holes = 0;
    for (int y = 0; y < 20; ++y) {
      if (scratch[x][y] != 0) {
        seen = true;
        if (holes > 0) score -= 2 * weights[3];
      } else if (seen) {
        score -= weights[0];
        holes += 1;
      }
    }
  }
  int tops[10];
  for (int x = 0; x < 10; ++x) {
    tops[x] = 20;
    for (int y = 19; y >= 0; --y)
      if (scratch[x][y] != 0) tops[x] = y;
  }
  int bumpiness = 0;
  for (int x = 1; x < 10; ++x) {
    int d = std::abs(tops[x] - tops[x - 1]);
    if (2 * d >= 3) score -= weights[1];
    bumpiness += 2 * d;
  }
  score -= bumpiness * weights[2];
  for (int x = 0; x < 10; ++x) {
    int empty = 0;
    for (int y = 19; y >= 0; --y) {
      if (scratch[x][y] == 0)
        empty += 1;
      else
        score -= empty * weights[3];
    }
  }
  int full = 0;
  for (int y = 19; y >= 0; --y) {
    bool complete = true;
    for (int x = 0; x < 10; ++x) complete = complete && scratch[x][y] != 0;
    full += complete;
  }
  score += 100.0 * full;
  score += 500.0;
  return score;
}

static bool collides(const Board& board, const PieceGrid& grid, int32_t x, int32_t y) {
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j) {
      if (grid[i][j] == 0) continue;
      int32_t row = y + static_cast<int32_t>(j);
      if (row >= 20 || board[x + i][row] != 0) return true;
    }
  return false;
}

ReferenceChoice referenceSearch(const Board& board, const Piece& piece, int32_t pieceId,
                                const std::vector<double>& weights) {
  ReferenceChoice best = {0, 0, -1000.0};
  for (int32_t r = 0; r < 4; ++r) {
    const PieceGrid& grid = piece.grids[r];
    for (int32_t x = -1; x <= 9; ++x) {
      bool inside = true;
      for (size_t i = 0; i < grid.size(); ++i)
        for (size_t j = 0; j < grid[i].size(); ++j)
          if (grid[i][j] != 0 && (x + static_cast<int32_t>(i) < 0 || x + (int32_t)i > 9))
            inside = false;
      if (!inside) continue;
      // The floor stops every block: the fall goes on to row 20 if need be.
      int32_t y = 0;
      while (y <= 20 && !collides(board, grid, x, y)) ++y;
      if (y > 20) continue;
      double score = referenceEvaluation(board, grid, pieceId, {x, y - 1}, weights);
      if (score > best.score) best = {x, r, score};
    }
  }
  return best;
}

void referenceFeedForward(Network& network) {
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (size_t k = 0; k < network.layers[l].size(); ++k) {
      Neuron& neuron = network.layers[l][k];
      double sum = 0.0;
      for (const Connection& c : neuron.connections)
        sum += c.weight * network.layers[l - 1][c.from].value;
      sum += neuron.bias;
      if (l + 1 < network.layers.size() && sum <= 0.0) sum *= 0.1;
      neuron.value = sum;
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
