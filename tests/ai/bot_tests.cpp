#include "ai/ai.h"
#include "game/game.h"
#include "pictures.h"
#include "reference.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t bar = 1, tee = 3;

// Player 2 in a versus game, its piece at the spawn in rotation 0, a bot that acts every frame.
void startVersus(int32_t pieceId, const Board& board) {
  useCatalogue(sevenPieces());
  fitnessParams = {{2.5, 1.25, 0.25, 0.5}};
  setUpGame();
  gameMode = 4;
  frameDelta = 1.0;
  botStepInterval = 0.0;
  botMoveTimer = 0.0;
  botUsesNetwork = false;
  p2Board = board;
  p2PieceId = pieceId;
  p2Rotation = 0;
  p2Position = spawnPosition;
}

std::vector<std::string> bottomRows(const Board& board) {
  std::vector<std::string> rows = boardPicture(board);
  return {rows[18], rows[19]};
}

TEST(BotTurn, StepwiseTurnsAndMovesOneStepPerAction) {
  startVersus(tee, Board{});
  botStepwise = true;
  botUsesNetwork = true;
  botNetwork = steeringNetwork(407, (6 + 1) + 11 * 2); // rotation 2, column 6
  int32_t count = p2PieceCount;
  botTurn(2); // turn one step down and one column right
  EXPECT_EQ(p2Rotation, 3);
  EXPECT_EQ(p2Position.x, 4);
  botTurn(2); // and again
  EXPECT_EQ(p2Rotation, 2);
  EXPECT_EQ(p2Position.x, 5);
  botTurn(2); // the last column
  EXPECT_EQ(p2Position.x, 6);
  EXPECT_EQ(p2PieceCount, count);
  botTurn(2); // drop and lock
  EXPECT_EQ(p2PieceCount, count + 1);
  EXPECT_EQ(bottomRows(p2Board), (std::vector<std::string>{"......333.", ".......3.."}));
}

TEST(BotTurn, BlockedSidewaysDropsWhereThePieceIs) {
  Board shaft = boardFromPicture(std::vector<std::string>(20, "..g...g..."));
  for (bool stepwise : {true, false}) {
    startVersus(tee, shaft);
    botStepwise = stepwise;
    botUsesNetwork = true;
    botNetwork = steeringNetwork(407, 0 + 1); // column 0, beyond the wall
    botTurn(2);
    EXPECT_EQ(bottomRows(p2Board), (std::vector<std::string>{"..g.3.g...", "..g333g..."}))
        << (stepwise ? "stepwise" : "at once");
  }
}

TEST(BotTurn, ImmediateSearchFillsTheWellAndUnusableNetworksFallBackToIt) {
  Board well = boardFromPicture({".ggggggggg", ".ggggggggg", ".ggggggggg", ".ggggggggg"});
  Network tooManyOutputs = createNetwork(407, 50, 0.0, 0, 0);
  tooManyOutputs.layers[1][47].bias = 1000.0; // would ask for rotation 4
  // The search level; a missing or malformed file's empty network; an answer beyond 43.
  std::pair<bool, Network> levels[] = {
      {false, Network{}}, {true, Network{}}, {true, tooManyOutputs}};
  for (auto& [networkLevel, network] : levels) {
    startVersus(bar, well);
    botStepwise = false;
    botUsesNetwork = networkLevel;
    botNetwork = network;
    botTurn(2);
    EXPECT_EQ(boardPicture(p2Board), boardPicture(Board{})) << network.layers.size();
    EXPECT_EQ(p2PieceCount, 1);
  }
}

TEST(BotTurn, WaitsForItsTimerAndTinyIntervalsAddNoPause) {
  startVersus(tee, Board{});
  botStepwise = true;
  botUsesNetwork = true;
  botNetwork = steeringNetwork(407, 3 + 1); // where the piece already is: drop at once
  botMoveTimer = 1.5;
  botStepInterval = 0.005;
  botTurn(2);
  EXPECT_EQ(p2PieceCount, 0); // 0.5 left on the timer
  botTurn(2);
  botTurn(2);
  EXPECT_EQ(p2PieceCount, 2);
  EXPECT_EQ(botMoveTimer, 0.005);
  botStepInterval = 30.0; // adds a random pause below one more interval
  botTurn(2);
  EXPECT_TRUE(botMoveTimer >= 30.0 && botMoveTimer < 60.0) << botMoveTimer;
}

} // namespace
