#include "play.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(Movement, SidewaysKeysCancelAndTurnsTryInPlaceLeftRightThenUp) {
  // The bar lies in row y + 1; standing, it fills column x + 1 from row y to y + 3.
  using Case = std::tuple<std::vector<Point>, std::vector<int32_t>, std::vector<bool*>,
                          std::vector<int32_t>>; // blocks, then rotation, x, y before and after
  for (const auto& [blocks, before, keys, after] : std::vector<Case>{
           {{}, {0, 6, 5}, {&p1MoveLeft}, {0, 5, 5}},
           {{}, {0, 6, 5}, {&p1MoveLeft, &p1MoveRight}, {0, 6, 5}}, // no step left either
           {{}, {0, 6, 5}, {&p1MoveRight}, {0, 6, 5}},              // the wall stops it
           {{{2, 6}}, {0, 3, 5}, {&p1MoveLeft}, {0, 3, 5}},         // and so does a block
           {{}, {0, 3, 5}, {&p1RotateCw, &p1RotateCcw}, {1, 3, 5}}, // both turns: CCW
           {{}, {0, 3, 5}, {&p1RotateCw}, {3, 3, 5}},
           {{{4, 8}}, {0, 3, 5}, {&p1RotateCcw}, {1, 2, 5}},                 // left first
           {{}, {1, -1, 5}, {&p1RotateCw}, {0, 0, 5}},                       // then right
           {{{3, 8}, {4, 8}, {5, 8}}, {0, 3, 5}, {&p1RotateCcw}, {1, 3, 4}}, // then up
           {{{3, 3}, {4, 3}, {5, 3}}, {0, 3, 0}, {&p1RotateCcw}, {0, 3, 0}}, // not above 0
       }) {
    startGame({iPiece});
    for (Point block : blocks) p1Board[block.x][block.y] = 9;
    placePiece(1, 1, before[0], {before[1], before[2]});
    for (bool* key : keys) *key = true;
    stepPlayer(1);
    EXPECT_EQ(pose(), after);
  }
}

TEST(Movement, PiecesFallARowPerIntervalAndLockAfterTheDelayOrAtOnceWhereTheGhostShows) {
  startGame({oPiece});
  frameDelta = 10.0;
  placePiece(1, 1, 0, {3, 5});
  std::vector<int32_t> rows;
  for (int frame = 0; frame < 12; ++frame, rows.push_back(p1Position.y)) stepPlayer(1);
  EXPECT_EQ(rows, std::vector<int32_t>({5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6})); // 100 to below 0
  for (bool softDrop : {false, true}) {
    startGame({oPiece});
    lockPiece(1); // the next piece's delay is the same
    p1Board = Board{};
    frameDelta = 10.0;
    placePiece(1, 1, 0, {3, 18});
    p1SoftDrop = softDrop;
    int frames = 0;
    while (p1Board[3][19] == 0 && ++frames < 30) stepPlayer(1);
    EXPECT_EQ(frames, softDrop ? 6 : 11); // 100 down to exactly 0 is not yet below zero
  }
  startGame({tPiece});
  p1Board = boardFromPicture({"...g......", "gggggg.ggg"});
  p1Rotation = 0;
  stepPlayer(1);
  const auto landed = bottomRows({"....1.....", "...111....", "...g......", "gggggg.ggg"});
  Board ghost = p1Board;
  for (Point cell : p1GhostCells) ghost[cell.x][cell.y] = 1;
  EXPECT_EQ(boardPicture(ghost), landed);
  p1HardDrop = p1MoveRight = p1RotateCcw = true; // the lock ends the frame: no move, no turn
  stepPlayer(1);
  EXPECT_EQ(boardPicture(p1Board), landed);
  EXPECT_EQ(pose(), std::vector<int32_t>({0, 3, 0}));
}

TEST(Movement, HoldOncePerPieceKeepingTheRotation) {
  startGame({tPiece, oPiece, iPiece});
  const int32_t first = p1PieceId, second = pieceQueue[1], third = pieceQueue[2];
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggg....."));
  placePiece(1, first, 2, {6, 6});
  p1Hold = true;
  stepPlayer(1); // an empty slot takes the next piece, at the spawn even where it overlaps
  stepPlayer(1); // the key is still down: nothing more until the piece has locked
  EXPECT_EQ(std::vector<int32_t>(
                {p1HeldPiece, p1PieceId, p1Rotation, p1Position.x, p1Position.y, p1GameOver}),
            std::vector<int32_t>({first, second, 2, 3, 0, false}));

  resetBoards(1);
  p1HardDrop = true;
  stepPlayer(1);
  p1HardDrop = false;
  p1Rotation = 1;
  stepPlayer(1); // a full slot swaps without taking from the sequence
  EXPECT_EQ(std::vector<int32_t>({p1PieceId, p1HeldPiece, p1Rotation, p1PieceCount}),
            std::vector<int32_t>({first, third, 1, 2}));
}

} // namespace

namespace {

TEST(Movement, HandlingMovesSeveralColumnsUntilBlockedAndSoftDropsByItsFactor) {
  startGame({oPiece});
  p1Board[1][6] = 9;
  placePiece(1, 1, 0, {6, 5});
  p1MoveLeft = true;
  p1MoveCells = boardWidth; // to the wall, which here is a block in column 1
  stepPlayer(1);
  EXPECT_EQ(p1Position.x, 2);
  p1MoveLeft = false;
  // Instant: the floor in one frame, and the piece still waits for its lock delay.
  p1SoftDrop = true;
  p1SoftDropFactor = instantSoftDrop;
  stepPlayer(1);
  EXPECT_EQ(p1Position.y, 18);
  EXPECT_EQ(p1Board[2][19], 0);
  // Twenty times gravity: a row each 5 units of the 100-unit interval, two in an 11-unit frame.
  placePiece(1, 1, 0, {6, 0});
  p1GravityTimer = gravityInterval;
  p1SoftDropFactor = 20;
  frameDelta = 11.0;
  stepPlayer(1);
  EXPECT_EQ(p1Position.y, 2);
}

} // namespace
