#include "ai/state.h"
#include "play.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<SoundEffect, int>> soundsPlayed;
void recordSound(SoundEffect effect, int channel) {
  soundsPlayed.push_back({effect, channel});
}

// A full board picture from its bottom rows.
std::vector<std::string> picture(std::vector<std::string> rows) {
  rows.insert(rows.begin(), boardHeight - rows.size(), "..........");
  return rows;
}

TEST(LineClear, AdjacentRowsClearAndTheRowsAboveFallByTwo) {
  startGame({iPiece, tPiece});
  p1Board = boardFromPicture({"2.........", "g.gg.g.g.g", "gggggg.ggg", "gggggg.ggg"});
  placePiece(1, 1, 1, {5, 16}); // standing bar in column 6, rows 16 to 19
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board), picture({"2.....1...", "g.gg.g1g.g"}));
  EXPECT_EQ(score, 200);
}

TEST(LineClear, SeparatedRowsClearInOneLockAndFiveRowsScoreFiveHundred) {
  startGame({longBar});
  p1Board = boardFromPicture({"ggggggggg.", "g.g.g.g.g.", "ggggggggg."});
  placePiece(1, 1, 1, {7, 15}); // standing five-bar in column 9, rows 15 to 19
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board), picture({".........1", ".........1", "g.g.g.g.g1"}));
  EXPECT_EQ(score, 200);

  startGame({longBar});
  p1Board = boardFromPicture(std::vector<std::string>(5, "ggggggggg."));
  placePiece(1, 1, 1, {7, 15});
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board), picture({}));
  EXPECT_EQ(score, 500);
}

TEST(LineClear, TopOutIsTestedBeforeTheRowsItCompletesAreCleared) {
  startGame({oPiece});
  p1Board = boardFromPicture(std::vector<std::string>(20, ".........."));
  for (int x = 2; x < boardWidth; ++x) p1Board[x][0] = p1Board[x][1] = garbageGrey;
  placePiece(1, 1, 0, {0, 0}); // closes rows 0 and 1 right where the next piece appears
  lockPiece(1);
  EXPECT_TRUE(p1GameOver);
  EXPECT_EQ(score, 200);
  EXPECT_EQ(boardPicture(p1Board), picture({}));
}

TEST(Locking, BlocksOffTheBoardAreDroppedAndTheNextPieceSpawns) {
  startGame({iPiece});
  placePiece(1, 1, 0, {-1, 10}); // lying bar with its first block left of the board
  p1HoldUsed = true;
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[11], "111.......");
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_EQ(p1Rotation, 0);
  EXPECT_FALSE(p1HoldUsed);
  EXPECT_FALSE(p1GameOver);
}

TEST(Locking, ParticlesSoundsAndTrainingRewardsFollowTheMode) {
  startGame({longBar}, 1);
  soundHook = recordSound;
  soundsPlayed.clear();
  p1Board = boardFromPicture({"ggggggggg."});
  placePiece(1, 1, 1, {7, 15});
  lockPiece(1);
  ASSERT_EQ(lineClearParticles.size(), 10u);
  EXPECT_DOUBLE_EQ(lineClearParticles[3].x, 550 + 40 * 3);
  EXPECT_DOUBLE_EQ(lineClearParticles[3].y, 100 + 40 * 19);
  EXPECT_DOUBLE_EQ(lineClearParticles[3].targetX, 300);
  EXPECT_DOUBLE_EQ(lineClearParticles[3].targetY, 510);
  for (const LineClearParticle& particle : lineClearParticles) {
    EXPECT_DOUBLE_EQ(particle.size, 40);
    EXPECT_GE(particle.acceleration, 0.2);
    EXPECT_LE(particle.acceleration, 1.1 + 1e-9);
  }
  std::vector<std::pair<SoundEffect, int>> expected = {{SoundEffect::placeBlock, 1},
                                                       {SoundEffect::clearLine, 1}};
  EXPECT_EQ(soundsPlayed, expected);

  // Player 2 against the bot: its squares fly to the right of the window.
  startGame({longBar}, 4);
  p2Board = boardFromPicture({"ggggggggg."});
  placePiece(2, 1, 1, {7, 15});
  lockPiece(2);
  ASSERT_EQ(lineClearParticles.size(), 10u);
  EXPECT_DOUBLE_EQ(lineClearParticles[0].x, 185);
  EXPECT_DOUBLE_EQ(lineClearParticles[0].y, 170 + 33 * 19);
  EXPECT_DOUBLE_EQ(lineClearParticles[0].targetX, 1290);

  // Training: no squares, no sound, and the subject is rewarded per row.
  startGame({longBar}, 3);
  soundHook = recordSound;
  soundsPlayed.clear();
  trainingFitness = 0.0;
  trainingLinesCleared = 0;
  p1Board = boardFromPicture({"ggggggggg.", "ggggggggg."});
  placePiece(1, 1, 1, {7, 15});
  lockPiece(1);
  EXPECT_TRUE(lineClearParticles.empty());
  EXPECT_TRUE(soundsPlayed.empty());
  EXPECT_EQ(trainingLinesCleared, 2);
  EXPECT_DOUBLE_EQ(trainingFitness, 40000.0);
  EXPECT_EQ(score, 200);
  soundHook = nullptr;
}

TEST(Locking, TopOutPlaysTheGameOverSoundAndCostsATrainingSubject) {
  startGame({oPiece}, 1);
  soundHook = recordSound;
  soundsPlayed.clear();
  p1Board[4][1] = garbageGrey;
  placePiece(1, 1, 0, {0, 18});
  lockPiece(1);
  EXPECT_TRUE(p1GameOver);
  EXPECT_EQ(soundsPlayed.back(), std::make_pair(SoundEffect::gameOver, 0));

  startGame({oPiece}, 3);
  trainingFitness = 0.0;
  p1Board[4][1] = garbageGrey;
  placePiece(1, 1, 0, {0, 18});
  lockPiece(1);
  EXPECT_TRUE(p1GameOver);
  EXPECT_DOUBLE_EQ(trainingFitness, -2000.0);
  soundHook = nullptr;
}

TEST(PieceQueue, BothPlayersGetTheSameSequenceAndTheQueueKeepsOnlyWhatIsNeeded) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  std::vector<int32_t> firstPlayerPieces = {p1PieceId};
  for (int i = 0; i < 10; ++i) {
    takeNextPiece(1);
    firstPlayerPieces.push_back(p1PieceId);
  }
  EXPECT_EQ(pieceQueue.size(), 18u);
  for (int i = 1; i <= 3; ++i) {
    takeNextPiece(2);
    EXPECT_EQ(p2PieceId, firstPlayerPieces[i]);
  }
  EXPECT_EQ(pieceQueue.size(), 8u + 7u);
  EXPECT_EQ(queueBase, 3);
  std::vector<int32_t> secondPlayerPieces(16, 0);
  for (int i = 4; i <= 15; ++i) {
    takeNextPiece(2);
    secondPlayerPieces[i] = p2PieceId;
  }
  for (int i = 4; i <= 10; ++i) EXPECT_EQ(secondPlayerPieces[i], firstPlayerPieces[i]);
  EXPECT_EQ(pieceQueue.size(), 8u + 5u);
  for (int i = 11; i <= 15; ++i) {
    takeNextPiece(1);
    EXPECT_EQ(p1PieceId, secondPlayerPieces[i]);
  }
  EXPECT_EQ(pieceQueue.size(), 8u);
  EXPECT_EQ(p1PieceId, p2PieceId);

  // Alone, player 1 only ever appends.
  startGame({tPiece, oPiece}, 1);
  for (int i = 0; i < 40; ++i) lockPiece(1);
  EXPECT_EQ(pieceQueue.size(), 48u);
  EXPECT_EQ(queueBase, 0);
}

// Finds a seed whose first draws, taken modulo pieces and plus one, are the given candidates.
uint32_t seedDrawing(const std::vector<int32_t>& candidates, int32_t pieces) {
  for (uint32_t seed = 1;; ++seed) {
    seedRandom(seed);
    bool match = true;
    for (int32_t candidate : candidates) match = match && randomDraw() % pieces + 1 == candidate;
    if (match) return seed;
  }
}

TEST(PieceQueue, RecentPiecesAreDrawnAgainWithAShrinkingWindow) {
  startGame({tPiece, oPiece, iPiece, longBar, tPiece});
  pieceQueue = {3, 1, 4, 1, 5}; // the window is 1, 4, 1, 5
  struct Case {
    std::vector<int32_t> draws;
    int32_t result;
  };
  // 1 forgets the later 1 (window 1, 4, 5), the next 1 the other one (4, 5), then 2 is new.
  // A third 1 is no longer in the window; 5, 4, 5 empties 5 and 4 and then takes 5.
  for (const Case& c : {Case{{1, 1, 2}, 2}, Case{{1, 1, 1}, 1}, Case{{3}, 3}, Case{{5, 4, 5}, 5},
                        Case{{1, 4, 1, 5, 4}, 4}}) {
    uint32_t seed = seedDrawing(c.draws, 5);
    seedRandom(seed);
    EXPECT_EQ(nextPieceId(), c.result);
    // Exactly as many draws were used as the window asked for.
    int32_t following = randomDraw();
    seedRandom(seed);
    for (size_t i = 0; i < c.draws.size(); ++i) randomDraw();
    EXPECT_EQ(randomDraw(), following);
  }

  startGame({oPiece});
  for (int i = 0; i < 20; ++i) EXPECT_EQ(nextPieceId(), 1);
  for (int32_t id : pieceQueue) EXPECT_EQ(id, 1);
}

} // namespace
