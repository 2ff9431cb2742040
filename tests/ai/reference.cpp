#include "reference.h"

#include <cstdlib>

double referenceEvaluation(const Board& board, const PieceGrid& grid, int32_t pieceId, Point at,
                           const std::vector<double>& w) {
  Board b = board;
  double score = 0.0;
  for (size_t i = 0; i < grid.size(); ++i)
    for (size_t j = 0; j < grid[i].size(); ++j) {
      unsigned x = at.x + i, y = at.y + j;
      if (grid[i][j] != 1) continue;
      if (x >= 10 || y >= 20) return -1000.0;
      b[x][y] = pieceId;
      score += y;
    }
  int tops[10], bumpiness = 0, full = 0;
  for (int x = 0; x < 10; ++x) {
    tops[x] = 20;
    for (int y = 0, holes = 0; y < 20; ++y)
      if (b[x][y] != 0) {
        tops[x] = std::min(tops[x], y);
        if (holes > 0) score -= 2 * w[3];
      } else if (tops[x] < 20) {
        score -= w[0], ++holes;
      }
  }
  for (int x = 1, d; x < 10; ++x) {
    if (2 * (d = std::abs(tops[x] - tops[x - 1])) >= 3) score -= w[1];
    bumpiness += 2 * d;
  }
  score -= bumpiness * w[2];
  for (int x = 0; x < 10; ++x)
    for (int y = 19, empty = 0; y >= 0; --y)
      if (b[x][y] == 0)
        ++empty;
      else
        score -= empty * w[3];
  for (int y = 19; y >= 0; --y)
    full += std::all_of(b.begin(), b.end(), [y](const auto& column) { return column[y] != 0; });
  return score + 100.0 * full + 500.0;
}

PlacementChoice referenceSearch(const Board& board, const Piece& piece, int32_t pieceId,
                                const std::vector<double>& w) {
  PlacementChoice best;
  for (int32_t r = 0; r < 4; ++r)
    for (int32_t x = -1; x <= 9; ++x) {
      const PieceGrid& g = piece.grids[r];
      // A block beyond a wall collides at once: resting at y = -1 it scores -1000 and loses.
      auto hits = [&](int32_t y) {
        for (int32_t i = 0; i < static_cast<int32_t>(g.size()); ++i)
          for (int32_t j = 0; j < static_cast<int32_t>(g[i].size()); ++j)
            if (g[i][j] != 0 && (x + i < 0 || x + i > 9 || y + j >= 20 || board[x + i][y + j] != 0))
              return true;
        return false;
      };
      int32_t y = 0;
      while (y <= 20 && !hits(y)) ++y; // the floor stops any block
      if (y > 20) continue;
      double score = referenceEvaluation(board, g, pieceId, {x, y - 1}, w);
      if (score > best.score) best = {x, r, score};
    }
  return best;
}

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
  return network;
}

std::vector<double> allWeights(const Network& network) {
  std::vector<double> weights;
  for (const auto& layer : network.layers)
    for (const Neuron& neuron : layer)
      for (const Connection& c : neuron.connections) weights.push_back(c.weight);
  return weights;
}
