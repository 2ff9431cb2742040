#include "ai/state.h"
#include "play.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<SoundEffect, int>> soundsPlayed;
void recordSound(SoundEffect effect, int channel) {
  soundsPlayed.push_back({effect, channel});
}

// Locks a standing five-bar into column 9, rows 15 to 19, of the player's board.
void lockBarInColumnNine(int player, const std::vector<std::string>& rows) {
  playerState(player).board = boardFromPicture(rows);
  placePiece(player, 1, 1, {7, 15});
  lockPiece(player);
}

TEST(LineClear, FullRowsGoAndTheRowsAboveCloseUp) {
  startGame({iPiece, tPiece});
  p1Board = boardFromPicture({"2.........", "g.gg.g.g.g", "gggggg.ggg", "gggggg.ggg"});
  placePiece(1, 1, 1, {5, 16}); // standing bar in column 6, rows 16 to 19
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board), bottomRows({"2.....1...", "g.gg.g1g.g"}));
  EXPECT_EQ(score, 200);

  startGame({longBar});
  lockBarInColumnNine(1, {"ggggggggg.", "g.g.g.g.g.", "ggggggggg."});
  EXPECT_EQ(boardPicture(p1Board), bottomRows({".........1", ".........1", "g.g.g.g.g1"}));
  startGame({longBar});
  lockBarInColumnNine(1, std::vector<std::string>(5, "ggggggggg."));
  EXPECT_EQ(boardPicture(p1Board), bottomRows({}));
  EXPECT_EQ(score, 500);
}

TEST(LineClear, TopOutIsTestedBeforeTheRowsItCompletesAreCleared) {
  startGame({oPiece});
  for (int x = 2; x < boardWidth; ++x) p1Board[x][0] = p1Board[x][1] = garbageGrey;
  placePiece(1, 1, 0, {0, 0}); // closes rows 0 and 1 right where the next piece appears
  lockPiece(1);
  EXPECT_TRUE(p1GameOver);
  EXPECT_EQ(score, 200);
  EXPECT_EQ(boardPicture(p1Board), bottomRows({}));

  startGame({iPiece}); // blocks off the board are dropped, the rest is written
  placePiece(1, 1, 0, {-1, 10});
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[11], "111.......");
  EXPECT_FALSE(p1GameOver);
}

TEST(LineClear, ParticlesSoundsAndTrainingRewardsFollowTheMode) {
  startGame({longBar}, 1);
  soundHook = recordSound;
  lockBarInColumnNine(1, {"ggggggggg."});
  ASSERT_EQ(lineClearParticles.size(), 10u);
  const LineClearParticle& fourth = lineClearParticles[3];
  EXPECT_EQ(std::vector<double>({fourth.x, fourth.y, fourth.targetX, fourth.targetY, fourth.size}),
            std::vector<double>({550 + 40 * 3, 100 + 40 * 19, 300, 510, 40}));
  EXPECT_EQ(soundsPlayed, (std::vector<std::pair<SoundEffect, int>>{{SoundEffect::placeBlock, 1},
                                                                    {SoundEffect::clearLine, 1}}));
  startGame({longBar}, 4); // player 2 against the bot: squares fly to the right
  lockBarInColumnNine(2, {"ggggggggg."});
  EXPECT_EQ(lineClearParticles.at(0).targetX, 1290);

  // Training: no squares, no sound; rows and a top-out change the subject's fitness.
  startGame({longBar}, 3);
  soundHook = recordSound;
  soundsPlayed.clear();
  trainingFitness = trainingLinesCleared = 0;
  lockBarInColumnNine(1, {"ggggggggg.", "ggggggggg."});
  EXPECT_TRUE(lineClearParticles.empty() && soundsPlayed.empty());
  EXPECT_EQ(trainingLinesCleared, 2);
  lockPiece(1); // locked at the spawn point, the piece blocks the next one
  EXPECT_TRUE(p1GameOver);
  EXPECT_DOUBLE_EQ(trainingFitness, 2 * 20000.0 - 2000.0);
}

TEST(PieceQueue, BothPlayersGetOneSequenceAndTheQueueKeepsWhatIsNeeded) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  std::vector<int32_t> sequence = {p1PieceId};
  for (int i = 1; i <= 10; ++i, sequence.push_back(p1PieceId)) takeNextPiece(1);
  EXPECT_EQ(pieceQueue.size(), 18u);
  for (int i = 1; i <= 3; ++i) {
    takeNextPiece(2);
    EXPECT_EQ(p2PieceId, sequence[i]);
  }
  EXPECT_EQ(pieceQueue.size(), 8u + 7u);
  for (int i = 4; i <= 15; ++i) takeNextPiece(2); // player 2 now five ahead
  EXPECT_EQ(pieceQueue.size(), 8u + 5u);
  EXPECT_EQ(pieceQueue[0], sequence[10]);

  startGame({tPiece, oPiece}, 1); // alone, player 1 only ever appends
  for (int i = 0; i < 40; ++i) lockPiece(1);
  EXPECT_EQ(pieceQueue.size() + queueBase, 48u);
  EXPECT_EQ(queueBase, 0);
}

TEST(PieceQueue, RecentPiecesAreDrawnAgainWithAShrinkingWindow) {
  startGame({tPiece, oPiece, iPiece, longBar, tPiece});
  // The window of 3, 1, 4, 1, 5 is 1, 4, 1, 5. A 1 forgets the later 1, a second 1 the other;
  // a third 1 is then new. 5, 4, 5 empties 5 and 4 and then takes 5.
  for (const auto& [draws, result] : std::vector<std::pair<std::vector<int32_t>, int32_t>>{
           {{1, 1, 2}, 2}, {{1, 1, 1}, 1}, {{3}, 3}, {{5, 4, 5}, 5}, {{1, 4, 1, 5, 4}, 4}}) {
    uint32_t seed = 0;
    bool match = false;
    while (!match) { // a seed whose first draws give these candidates
      seedRandom(++seed);
      match = true;
      for (int32_t candidate : draws) match = match && randomDraw() % 5 + 1 == candidate;
    }
    pieceQueue = {3, 1, 4, 1, 5};
    seedRandom(seed);
    EXPECT_EQ(nextPieceId(), result);
    int32_t following = randomDraw(); // exactly the draws above were used
    seedRandom(seed);
    for (size_t i = 0; i < draws.size(); ++i) randomDraw();
    EXPECT_EQ(randomDraw(), following);
  }
  startGame({oPiece});
  for (int i = 0; i < 20; ++i) EXPECT_EQ(nextPieceId(), 1);
}

TEST(SetUp, BothPlayersStartWithTheSameTurnedPieceAndAnEmptyHold) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  p1Board[0][19] = p2Board[5][5] = score = p1HeldPiece = p2Losses = 2; // a game left behind
  p2HoldUsed = p1GameOver = matchOver = true;
  p1IncomingDamage.push_back({2, 3, 10.0});
  takeNextPiece(1);
  setUpGame();
  EXPECT_TRUE(p1Board == Board{} && p2Board == Board{} && p1IncomingDamage.empty());
  EXPECT_EQ(std::vector<int32_t>({p1PieceId, p2PieceId, p1Rotation, p2Rotation, p1Position.x, score,
                                  p2Losses, p1HeldPiece, int32_t(pieceQueue.size())}),
            std::vector<int32_t>({pieceQueue[0], pieceQueue[0], 3, 3, 3, 0, 0, 0, 8}));
  EXPECT_FALSE(p1GameOver || matchOver);
  EXPECT_EQ(menuPieces.size(), 30u);
  const int32_t first = p2PieceId; // hold works at once
  p2Hold = true;
  stepPlayer(2);
  EXPECT_EQ(p2HeldPiece, first);

  const Board full = boardFromPicture(std::vector<std::string>(20, "g.r.b.1.2."));
  for (int which : {0, 1, 2}) {
    p1Board = p2Board = full;
    resetBoards(which);
    EXPECT_EQ(p1Board, which == 2 ? full : Board{}) << which;
    EXPECT_EQ(p2Board, which == 1 ? full : Board{}) << which;
  }
}

} // namespace
