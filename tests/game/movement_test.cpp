#include "play.h"

#include <gtest/gtest.h>

namespace {

// Runs frames until the board of player 1 changes, returning how many it took (or -1).
int framesUntilLock(int limit) {
  Board before = p1Board;
  for (int frame = 1; frame <= limit; ++frame) {
    stepPlayer(1);
    if (p1Board != before) return frame;
  }
  return -1;
}

TEST(Collision, BlocksWallsFloorAndStackButNotEmptyCells) {
  // A grid whose 2 and 3 are empty cells: blocks only top-left and bottom-right.
  Piece diagonalPiece;
  diagonalPiece.grids.fill({{1, 3}, {2, 1}});
  startGame({tPiece, diagonalPiece});
  p1Board = boardFromPicture({"#.........", "##........"});
  const PieceGrid& t = pieceGrid(1, 0);
  EXPECT_TRUE(pieceFits(1, t, 0, 0, &spawnPosition));
  Point corner{-1, 0};
  EXPECT_FALSE(pieceFits(1, t, 0, 0, &corner));
  Point rightEdge{7, 0};
  EXPECT_TRUE(pieceFits(1, t, 0, 0, &rightEdge));
  EXPECT_FALSE(pieceFits(1, t, 1, 0, &rightEdge));
  Point floor{3, 18};
  EXPECT_TRUE(pieceFits(1, t, 0, 0, &floor));
  EXPECT_FALSE(pieceFits(1, t, 0, 1, &floor));
  Point onStack{0, 17};
  EXPECT_FALSE(pieceFits(1, t, 0, 0, &onStack)); // row 18 of the T overlaps column 0's block
  // Player 2's board is empty, so the same place fits there.
  EXPECT_TRUE(pieceFits(2, t, 0, 0, &onStack));
  // Digits other than 1 are empty cells: only the two blocks of this grid can collide.
  const PieceGrid& diagonal = pieceGrid(2, 0);
  Point overStack{1, 18}; // its 3 lies on the block at column 1, row 19
  EXPECT_TRUE(pieceFits(1, diagonal, 0, 0, &overStack));
  Point onBlock{0, 18};
  EXPECT_FALSE(pieceFits(1, diagonal, 0, 0, &onBlock));
}

TEST(Movement, LeftAndRightCancelAndMovesStopAtWalls) {
  startGame({tPiece});
  placePiece(1, 1, 0, {3, 5});
  p1MoveLeft = p1MoveRight = true;
  stepPlayer(1);
  EXPECT_EQ(p1Position.x, 3);
  p1MoveRight = false;
  for (int i = 0; i < 6; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.x, 0); // three moves, then the wall
  p1MoveLeft = false;
  p1MoveRight = true;
  for (int i = 0; i < 10; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.x, 7);
}

TEST(Movement, RotationTriesInPlaceThenLeftThenRightThenUp) {
  startGame({iPiece});
  // Lying bar in row y + 1; standing, it fills column x + 1 from row y to y + 3.
  placePiece(1, 1, 0, {3, 5});
  p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 1);
  EXPECT_EQ(p1Position.x, 3);

  // In place blocked, left and right both free: left wins.
  startGame({iPiece});
  p1Board[4][8] = 9;
  placePiece(1, 1, 0, {3, 5});
  p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 1);
  EXPECT_EQ(p1Position.x, 2);
  EXPECT_EQ(p1Position.y, 5);

  // Standing against the left wall, turning flat overlaps the wall: the right try applies.
  startGame({iPiece});
  placePiece(1, 1, 1, {-1, 5});
  p1RotateCw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 0);
  EXPECT_EQ(p1Position.x, 0);

  // In place, left and right blocked below: the piece turns one row up.
  startGame({iPiece});
  for (int x : {3, 4, 5}) p1Board[x][8] = 9;
  placePiece(1, 1, 0, {3, 5});
  p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 1);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 4);

  // The same at the top row: the upward try would leave the board, so nothing turns.
  startGame({iPiece});
  for (int x : {3, 4, 5}) p1Board[x][3] = 9;
  placePiece(1, 1, 0, {3, 0});
  p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 0);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
}

TEST(Movement, BothRotateKeysTurnCounterClockwiseAndIndicesWrap) {
  startGame({tPiece});
  placePiece(1, 1, 3, {3, 5});
  p1RotateCw = p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 0);
  p1RotateCcw = false;
  stepPlayer(1);
  EXPECT_EQ(p1Rotation, 3);
}

TEST(Movement, GravityDropsOneRowPerIntervalAndSoftDropIsFaster) {
  startGame({tPiece});
  placePiece(1, 1, 0, {3, 0});
  frameDelta = 10.0;
  for (int i = 0; i < 10; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.y, 0); // timer at exactly 0: not yet
  stepPlayer(1);
  EXPECT_EQ(p1Position.y, 1);
  // With soft drop a row falls once the timer is a fiftieth of the interval down.
  frameDelta = 3.0;
  p1SoftDrop = true;
  for (int i = 0; i < 4; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.y, 5);
}

TEST(Locking, RestingPieceLocksAfterTheDelayAndTwiceAsFastWithSoftDrop) {
  startGame({oPiece});
  frameDelta = 10.0;
  placePiece(1, 1, 0, {3, 18});
  EXPECT_EQ(framesUntilLock(30), 11); // 100 down to 0 is not yet below zero
  EXPECT_EQ(p1Board[3][19], 1);

  startGame({oPiece});
  frameDelta = 10.0;
  placePiece(1, 1, 0, {3, 18});
  p1SoftDrop = true;
  EXPECT_EQ(framesUntilLock(30), 6);
}

TEST(Locking, HardDropLocksAtTheGhostAndEndsTheStep) {
  startGame({tPiece});
  p1Board = boardFromPicture({"...g......", "gggggg.ggg"});
  placePiece(1, 1, 0, {3, 0});
  stepPlayer(1);
  std::vector<Point> expectedGhost = {{3, 17}, {4, 16}, {4, 17}, {5, 17}};
  EXPECT_EQ(p1GhostCells.size(), expectedGhost.size());
  for (size_t i = 0; i < expectedGhost.size() && i < p1GhostCells.size(); ++i) {
    EXPECT_EQ(p1GhostCells[i].x, expectedGhost[i].x);
    EXPECT_EQ(p1GhostCells[i].y, expectedGhost[i].y);
  }
  // Moving right in the frame of the drop moves neither the locked piece nor the new one.
  p1HardDrop = p1MoveRight = p1RotateCcw = true;
  stepPlayer(1);
  EXPECT_EQ(boardPicture(p1Board)[16], "....1.....");
  EXPECT_EQ(boardPicture(p1Board)[17], "...111....");
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_EQ(p1Rotation, 0);
}

TEST(Hold, EmptySlotTakesTheNextPieceAndOneHoldPerPiece) {
  startGame({tPiece, oPiece, iPiece});
  int32_t first = p1PieceId;
  int32_t second = pieceQueue[1];
  placePiece(1, first, 2, {5, 6});
  p1Hold = true;
  stepPlayer(1);
  EXPECT_EQ(p1HeldPiece, first);
  EXPECT_EQ(p1PieceId, second);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_EQ(p1Rotation, 2); // hold keeps the rotation index
  // The key stays down: nothing more until the piece has locked.
  stepPlayer(1);
  EXPECT_EQ(p1HeldPiece, first);
  EXPECT_EQ(p1PieceId, second);

  p1Hold = false;
  p1HardDrop = true;
  stepPlayer(1);
  p1HardDrop = false;
  int32_t third = p1PieceId;
  EXPECT_EQ(third, pieceQueue[2]);
  p1Rotation = 1;
  p1Hold = true;
  stepPlayer(1);
  // A full slot swaps: the held piece comes back in the falling piece's rotation.
  EXPECT_EQ(p1PieceId, first);
  EXPECT_EQ(p1HeldPiece, third);
  EXPECT_EQ(p1Rotation, 1);
  EXPECT_EQ(p1PieceCount, 2); // a swap takes nothing from the sequence
}

TEST(Hold, ResetsTimersAndDoesNotTestTheSpawn) {
  startGame({tPiece, oPiece});
  p1Board = boardFromPicture(std::vector<std::string>(20, "gggggggg.."));
  placePiece(1, 2, 0, {8, 5});
  p1GravityTimer = 3.0;
  p1LockTimer = 4.0;
  p1Hold = true;
  stepPlayer(1);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_DOUBLE_EQ(p1GravityTimer, gravityInterval);
  EXPECT_DOUBLE_EQ(p1LockTimer, p1LockDelay);
  EXPECT_FALSE(p1GameOver);
}

} // namespace
