#include "ai/state.h"
#include "play.h"

#include <gtest/gtest.h>

namespace {

TEST(LineClear, FullRowsGoTheRowsAboveCloseUpAndTheTopOutComesFirst) {
  startGame({longBar});
  lockBar(1, {"2.........", "g.gg.g.g..", "ggggggggg.", "ggggggggg."}); // two adjacent rows
  EXPECT_EQ(boardPicture(p1Board), bottomRows({".........1", "2........1", "g.gg.g.g.1"}));
  EXPECT_EQ(score, 200);
  lockBar(1, {"ggggggggg.", "g.g.g.g.g.", "ggggggggg."}); // two rows apart
  EXPECT_EQ(boardPicture(p1Board), bottomRows({".........1", ".........1", "g.g.g.g.g1"}));
  lockBar(1, std::vector<std::string>(5, "ggggggggg.")); // five at once
  EXPECT_EQ(boardPicture(p1Board), bottomRows({}));
  // A row completed where the next piece appears still ends the game.
  for (int x : {0, 1, 2, 8, 9}) p1Board[x][2] = garbageGrey;
  placePiece(1, 1, 0, {3, 0});
  lockPiece(1);
  EXPECT_TRUE(p1GameOver);
  EXPECT_EQ(boardPicture(p1Board), bottomRows({}));
  EXPECT_EQ(score, 200 + 200 + 500 + 100);

  startGame({iPiece}); // blocks off the board are dropped, the rest is written
  placePiece(1, 1, 0, {-1, 10});
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[11], "111.......");
}

TEST(LineClear, SquaresFlyAndSoundsPlayInGamesButNotInTraining) {
  startGame({longBar}, 1);
  lockBar(1, {"ggggggggg."});
  ASSERT_EQ(lineClearParticles.size(), 10u);
  const LineClearParticle& fourth = lineClearParticles[3];
  EXPECT_EQ(std::vector<double>({fourth.x, fourth.y, fourth.targetX, fourth.targetY, fourth.size}),
            std::vector<double>({550 + 40 * 3, 100 + 40 * 19, 300, 510, 40}));
  EXPECT_EQ(soundsPlayed, Sounds({{SoundEffect::placeBlock, 1}, {SoundEffect::clearLine, 1}}));
  startGame({longBar}, 4); // player 2 against the bot: squares fly to the right
  lockBar(2, {"ggggggggg."});
  EXPECT_EQ(lineClearParticles.at(0).targetX, 1290);

  startGame({longBar}, 3); // training counts rows and the top-out, silently and without squares
  trainingFitness = trainingLinesCleared = 0;
  lockBar(1, {"ggggggggg.", "ggggggggg."});
  lockPiece(1); // locked at the spawn point, the piece blocks the next one
  EXPECT_TRUE(p1GameOver && lineClearParticles.empty() && soundsPlayed.empty());
  EXPECT_EQ(trainingLinesCleared, 2);
  EXPECT_DOUBLE_EQ(trainingFitness, 2 * 20000.0 - 2000.0);
}

TEST(PieceQueue, BothPlayersGetOneSequenceAndTheQueueKeepsWhatIsNeeded) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  std::vector<int32_t> sequence = {p1PieceId};
  for (int i = 1; i <= 10; ++i, sequence.push_back(p1PieceId)) takeNextPiece(1);
  for (int i = 1; i <= 15; ++i) { // player 2 catches up and gets five ahead
    takeNextPiece(2);
    EXPECT_TRUE(i > 10 || p2PieceId == sequence[i]) << i;
    EXPECT_EQ(pieceQueue.size(), 8u + std::abs(10 - i));
  }
  EXPECT_EQ(pieceQueue[0], sequence[10]);

  // Alone, player 1 deals the same sequence, and the queue keeps only its upcoming pieces.
  startGame({tPiece, oPiece, iPiece, longBar, tPiece, oPiece, iPiece}, 1);
  std::vector<int32_t> solo = {p1PieceId};
  for (int i = 0; i < 100000; ++i) {
    p1Board = Board{};
    lockPiece(1);
    if (solo.size() < 31) solo.push_back(p1PieceId);
  }
  EXPECT_TRUE(pieceQueue.size() == 8 && queueBase == 100000)
      << pieceQueue.size() << " " << queueBase;
  startGame({tPiece, oPiece, iPiece, longBar, tPiece, oPiece, iPiece}, 2);
  std::vector<int32_t> versus = {p1PieceId};
  for (int i = 0; i < 30; ++i) takeNextPiece(1), versus.push_back(p1PieceId);
  EXPECT_EQ(solo, versus);
}

// The pieces a seeded versus game deals, whichever player runs ahead: the sequence depends on the
// seed only, and both players get all of it in the same order.
TEST(PieceQueue, ASeededVersusGameDealsTheSameSequenceAsEver) {
  std::vector<int32_t> dealt[2];
  for (int lead : {1, 2}) {
    startGame({tPiece, oPiece, iPiece, longBar, tPiece, oPiece, iPiece}, 2);
    std::vector<int32_t> first, second;
    for (int i = 0; i < 30; ++i) { // the leader runs up to 25 pieces ahead, then waits
      takeNextPiece(lead);
      (lead == 1 ? first : second).push_back(lead == 1 ? p1PieceId : p2PieceId);
      if (i % 5 == 4)
        for (int k = 0; k < 4; ++k) {
          takeNextPiece(3 - lead);
          (lead == 1 ? second : first).push_back(lead == 1 ? p2PieceId : p1PieceId);
        }
    }
    while (second.size() < first.size()) takeNextPiece(2), second.push_back(p2PieceId);
    while (first.size() < second.size()) takeNextPiece(1), first.push_back(p1PieceId);
    EXPECT_EQ(first, second);
    dealt[lead - 1] = first;
  }
  EXPECT_EQ(dealt[0], dealt[1]);
  // Recorded from the game as it has always dealt them (this platform's rand()).
  EXPECT_EQ(std::vector<int32_t>(dealt[0].begin(), dealt[0].begin() + 20),
            std::vector<int32_t>({4, 2, 5, 5, 1, 6, 4, 1, 7, 3, 1, 5, 6, 7, 4, 2, 1, 4, 7, 6}));
}

TEST(PieceQueue, RecentPiecesAreDrawnAgainWithAShrinkingWindow) {
  startGame({tPiece, oPiece, iPiece, longBar, tPiece});
  // The window of 3, 1, 4, 1, 5 is 1, 4, 1, 5. A 1 forgets the later 1, a second 1 the other;
  // a third 1 is then new. 5, 4, 5 empties 5 and 4 and then takes 5.
  for (const auto& [draws, result] : std::vector<std::pair<std::vector<int32_t>, int32_t>>{
           {{1, 1, 2}, 2}, {{1, 1, 1}, 1}, {{3}, 3}, {{5, 4, 5}, 5}, {{1, 4, 1, 5, 4}, 4}}) {
    uint32_t seed = 0;
    for (bool match = false; !match;) { // a seed whose first draws give these candidates
      seedRandom(++seed);
      match = true;
      for (int32_t candidate : draws) match = match && randomDraw() % 5 + 1 == candidate;
    }
    const int32_t following = randomDraw();
    seedRandom(seed);
    pieceQueue = {3, 1, 4, 1, 5};
    EXPECT_EQ(nextPieceId(), result);
    EXPECT_EQ(randomDraw(), following); // exactly those draws were used
  }
  startGame({oPiece});
  for (int i = 0; i < 20; ++i) EXPECT_EQ(nextPieceId(), 1);
}

TEST(SetUp, BothPlayersStartWithTheSameTurnedPieceAndResetsTouchOnlyTheBoardNamed) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  p1Board[0][19] = p2Board[5][5] = score = p1HeldPiece = p2Losses = 2; // a game left behind
  p2HoldUsed = p1GameOver = matchOver = true;
  p1IncomingDamage.push_back({2, 3, 10.0});
  takeNextPiece(1);
  setUpGame();
  EXPECT_TRUE(p1Board == Board{} && p2Board == Board{} && p1IncomingDamage.empty());
  EXPECT_EQ(std::vector<int32_t>({p1PieceId, p2PieceId, p1Rotation, p2Rotation, p1Position.x, score,
                                  p2Losses, p1HeldPiece, p1GameOver + matchOver + p2HoldUsed,
                                  int32_t(pieceQueue.size()), int32_t(menuPieces.size())}),
            std::vector<int32_t>({pieceQueue[0], pieceQueue[0], 3, 3, 3, 0, 0, 0, 0, 8, 30}));

  const Board full = boardFromPicture(std::vector<std::string>(20, "g.r.b.1.2."));
  for (int which : {0, 1, 2}) {
    p1Board = p2Board = full;
    resetBoards(which);
    EXPECT_EQ(p1Board, which == 2 ? full : Board{}) << which;
    EXPECT_EQ(p2Board, which == 1 ? full : Board{}) << which;
  }
}

} // namespace
