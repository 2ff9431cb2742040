#include "ai/playback.h"
#include "players.h"

constexpr int32_t bar = 1, tee = 3;

// Player 2 in a versus game, its piece at the spawn in rotation 0, a bot that acts every frame
// and plays the given network's action (or searches when it is empty).
static void startVersus(int32_t pieceId, const Board& board, bool stepwise, Network network) {
  resetGameState();
  useCatalogue(sevenPieces());
  fitnessParams = {{2.5, 1.25, 0.25, 0.5}};
  setUpGame();
  gameMode = versusBotMode;
  frameDelta = 1.0;
  botStepInterval = botMoveTimer = 0.0;
  botStepwise = stepwise;
  botUsesNetwork = !network.layers.empty();
  botNetwork = network;
  p2Board = board;
  p2PieceId = pieceId;
  p2Rotation = 0; // at the spawn
}

static std::vector<std::string> bottomRows() {
  std::vector<std::string> rows = boardPicture(p2Board);
  return {rows[18], rows[19]};
}

TEST(BotTurn, StepwiseMovesOneStepPerActionAndDropsWhenBlocked) {
  startVersus(tee, Board{}, true, steeringNetwork(407, actionOf(6, 2))); // rotation 2, x 6
  const std::pair<int32_t, int32_t> steps[] = {{3, 4}, {2, 5}, {2, 6}};  // rotation, x
  for (auto [rotation, x] : steps) {
    botTurn(2);
    EXPECT_EQ(std::make_pair(p2Rotation, p2Position.x), std::make_pair(rotation, x));
    EXPECT_EQ(p2PieceCount, 0);
  }
  botTurn(2); // drop and lock
  EXPECT_EQ(p2PieceCount, 1);
  EXPECT_EQ(bottomRows(), (std::vector<std::string>{"......333.", ".......3.."}));
  // Asked for column 0 beyond a wall, either way of playing drops where the piece is.
  for (bool stepwise : {true, false}) {
    startVersus(tee, boardFromPicture(std::vector<std::string>(20, "..g...g...")), stepwise,
                steeringNetwork(407, actionOf(0, 0)));
    botTurn(2);
    EXPECT_EQ(bottomRows(), (std::vector<std::string>{"..g.3.g...", "..g333g..."})) << stepwise;
  }
}

TEST(BotTurn, ImmediateSearchFillsTheWellAndUnusableNetworksFallBackToIt) {
  Network tooManyOutputs = createNetwork(407, 50, 0.0, 0, 0);
  tooManyOutputs.layers[1][44].bias = 1000.0; // the first beyond: would ask for rotation 4
  feedForward(tooManyOutputs);
  const Network networks[] = {Network{}, Network{}, tooManyOutputs};
  for (int level = 0; level < 3; ++level) { // the search level, then the network level
    startVersus(bar, boardFromPicture(std::vector<std::string>(4, ".ggggggggg")), false,
                networks[level]);
    botUsesNetwork = level > 0;
    botTurn(2);
    EXPECT_EQ(boardPicture(p2Board), boardPicture(Board{})) << level;
    EXPECT_EQ(p2PieceCount, 1);
  }
}

TEST(BotTurn, WaitsForItsTimerAndTinyIntervalsAddNoPause) {
  startVersus(tee, Board{}, true,
              steeringNetwork(407, actionOf(3, 0))); // already there: drop at once
  botMoveTimer = 1.0;
  botStepInterval = 0.005;
  for (int32_t pieces :
       {0, 1, 2}) { // a timer run down to exactly 0 still waits, then a piece a frame
    botTurn(2);
    EXPECT_EQ(p2PieceCount, pieces);
  }
  EXPECT_EQ(botMoveTimer, 0.005);
  botStepInterval = 30.0; // adds a random pause below one more interval
  botTurn(2);
  EXPECT_GE(botMoveTimer, 30.0);
  EXPECT_LT(botMoveTimer, 60.0);
  botStepwise = false; // only the stepwise bot pauses at random
  botMoveTimer = 0.0;
  botTurn(2);
  EXPECT_EQ(botMoveTimer, 30.0);
}

TEST(BotTurn, VersusBotFramesPlayTheBotUntilTheMatchIsOver) {
  startVersus(tee, Board{}, false, steeringNetwork(407, actionOf(3, 0)));
  advanceBotPlay(); // the bot drops its piece at once; the clock runs
  EXPECT_EQ(p2PieceCount, 1);
  EXPECT_EQ(gameClock, 1.0);
  matchOver = true; // a finished match stands still
  advanceBotPlay();
  EXPECT_EQ(p2PieceCount, 1);
  EXPECT_EQ(gameClock, 1.0);
}

// A game the bot played with a network replays only with that same network.
TEST(BotReplay, AnotherNetworkIsRefused) {
  Network played;
  played.layers = {{Neuron{}}};
  startVersus(tee, Board{}, false, played);
  Replay replay = beginReplay(0, 1.0, 1.0, 0);
  botNetwork.layers[0][0].bias = 1.0;
  std::string error;
  EXPECT_FALSE(startReplay(replay, &error));
  EXPECT_EQ(error, "the bot of this replay played with another network");
}
