#include "play.h"

#include <gtest/gtest.h>

namespace {

TEST(SetUp, BothPlayersStartWithTheSameTurnedPieceAndAnEmptyHold) {
  startGame({tPiece, oPiece, iPiece, longBar}, 2);
  // Leave a game behind in every respect set-up must forget.
  p1Board[0][19] = p2Board[5][5] = 1;
  score = 700;
  p1HeldPiece = 2;
  p2HoldUsed = true;
  p1GameOver = matchOver = true;
  p2Losses = 2;
  lineClearParticles.push_back({});
  p1IncomingDamage.push_back({2, 3, 10.0});
  p2DamageFlash = 80.0;
  gravityInterval = 40.0;
  takeNextPiece(1);

  setUpGame();
  EXPECT_EQ(boardPicture(p1Board), boardPicture(Board{}));
  EXPECT_EQ(boardPicture(p2Board), boardPicture(Board{}));
  EXPECT_EQ(pieceQueue.size(), 8u);
  EXPECT_EQ(p1PieceId, pieceQueue[0]);
  EXPECT_EQ(p2PieceId, pieceQueue[0]);
  EXPECT_EQ(p1Rotation, 3);
  EXPECT_EQ(p2Rotation, 3);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p2Position.y, 0);
  EXPECT_EQ(score, 0);
  EXPECT_FALSE(p1GameOver || matchOver);
  EXPECT_EQ(p2Losses, 0);
  EXPECT_TRUE(lineClearParticles.empty());
  EXPECT_TRUE(p1IncomingDamage.empty());
  EXPECT_DOUBLE_EQ(p2DamageFlash, 0.0);
  EXPECT_DOUBLE_EQ(gravityInterval, 100.0);
  EXPECT_EQ(p1HeldPiece, 0);

  // Hold works at once: player 2's hold takes the second piece of the sequence.
  int32_t first = p2PieceId;
  p2Hold = true;
  stepPlayer(2);
  EXPECT_EQ(p2HeldPiece, first);
  EXPECT_EQ(p2PieceId, pieceQueue[1]);
  EXPECT_EQ(p2Rotation, 3);
}

TEST(SetUp, MenuBackdropHasThirtyPiecesFromTheCatalogue) {
  startGame({tPiece, oPiece, iPiece});
  ASSERT_EQ(menuPieces.size(), 30u);
  for (size_t i = 0; i < menuPieces.size(); ++i) {
    const MenuPiece& piece = menuPieces[i];
    EXPECT_TRUE(piece.pieceIndex >= 0 && piece.pieceIndex < 3);
    EXPECT_TRUE(piece.rotation >= 0 && piece.rotation < 4);
    EXPECT_DOUBLE_EQ(piece.blockWidth, 20 + 0.5 * i);
    EXPECT_DOUBLE_EQ(piece.blockHeight, piece.blockWidth);
    EXPECT_TRUE(piece.x >= 0 && piece.x < 1500);
    EXPECT_TRUE(piece.y >= 0 && piece.y < 1000);
  }
}

TEST(SetUp, ResetBoardsEmptiesOnlyTheBoardNamed) {
  startGame({tPiece});
  const Board full = boardFromPicture(std::vector<std::string>(20, "g.r.b.1.2."));
  for (int which : {0, 1, 2}) {
    p1Board = p2Board = full;
    resetBoards(which);
    EXPECT_EQ(p1Board == Board{}, which != 2) << which;
    EXPECT_EQ(p2Board == Board{}, which != 1) << which;
    EXPECT_EQ(p1Board == full, which == 2) << which;
    EXPECT_EQ(p2Board == full, which == 1) << which;
  }
}

} // namespace
