#include "play.h"

#include <gtest/gtest.h>

namespace {

TEST(SetUp, BothPlayersStartWithTheSameTurnedPieceAndAnEmptyHold) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  p1Board[0][19] = p2Board[5][5] = 1; // leave a game behind
  score = 700;
  p1HeldPiece = 2;
  p2HoldUsed = p1GameOver = matchOver = true;
  p2Losses = 2;
  p1IncomingDamage.push_back({2, 3, 10.0});
  gravityInterval = 40.0;
  takeNextPiece(1);

  setUpGame();
  EXPECT_TRUE(p1Board == Board{} && p2Board == Board{});
  EXPECT_EQ(pieceQueue.size(), 8u);
  EXPECT_EQ(std::vector<int32_t>({p1PieceId, p2PieceId, p1Rotation, p2Rotation, p1Position.x,
                                  p2Position.y, score, p2Losses, p1HeldPiece}),
            std::vector<int32_t>({pieceQueue[0], pieceQueue[0], 3, 3, 3, 0, 0, 0, 0}));
  EXPECT_FALSE(p1GameOver || matchOver);
  EXPECT_TRUE(p1IncomingDamage.empty());
  EXPECT_DOUBLE_EQ(gravityInterval, 100.0);
  ASSERT_EQ(menuPieces.size(), 30u);
  EXPECT_DOUBLE_EQ(menuPieces[29].blockWidth, 34.5);

  const int32_t first = p2PieceId; // hold works at once
  p2Hold = true;
  stepPlayer(2);
  EXPECT_EQ(p2HeldPiece, first);
  EXPECT_EQ(p2PieceId, pieceQueue[1]);
}

TEST(SetUp, ResetBoardsEmptiesOnlyTheBoardNamed) {
  const Board full = boardFromPicture(std::vector<std::string>(20, "g.r.b.1.2."));
  for (int which : {0, 1, 2}) {
    p1Board = p2Board = full;
    resetBoards(which);
    EXPECT_EQ(p1Board, which == 2 ? full : Board{}) << which;
    EXPECT_EQ(p2Board, which == 1 ? full : Board{}) << which;
  }
}

} // namespace
