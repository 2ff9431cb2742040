#include "play.h"

#include <gtest/gtest.h>

namespace {

TEST(Movement, SidewaysKeysCancelAndTurnsTryInPlaceLeftRightThenUp) {
  startGame({tPiece});
  placePiece(1, 1, 0, {3, 5});
  p1MoveLeft = p1MoveRight = true;
  stepPlayer(1);
  EXPECT_EQ(p1Position.x, 3);
  p1MoveRight = false;
  for (int i = 0; i < 6; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.x, 0); // three moves, then the wall

  // The bar lies in row y + 1; standing, it fills column x + 1 from row y to y + 3.
  struct Case {
    std::vector<Point> blocks;
    int32_t rotation;
    Point start;
    bool cw, ccw;
    int32_t rotationAfter;
    Point after;
  };
  for (const Case& c : {
           Case{{}, 0, {3, 5}, true, true, 1, {3, 5}},                        // both keys: CCW
           Case{{}, 0, {3, 5}, true, false, 3, {3, 5}},                       // 0 turns to 3
           Case{{{4, 8}}, 0, {3, 5}, false, true, 1, {2, 5}},                 // left before right
           Case{{}, 1, {-1, 5}, true, false, 0, {0, 5}},                      // off the wall
           Case{{{3, 8}, {4, 8}, {5, 8}}, 0, {3, 5}, false, true, 1, {3, 4}}, // then up
           Case{{{3, 3}, {4, 3}, {5, 3}}, 0, {3, 0}, false, true, 0, {3, 0}}, // not above row 0
       }) {
    startGame({iPiece});
    for (Point block : c.blocks) p1Board[block.x][block.y] = 9;
    placePiece(1, 1, c.rotation, c.start);
    p1RotateCw = c.cw;
    p1RotateCcw = c.ccw;
    stepPlayer(1);
    EXPECT_EQ(std::vector<int32_t>({p1Rotation, p1Position.x, p1Position.y}),
              std::vector<int32_t>({c.rotationAfter, c.after.x, c.after.y}));
  }
}

TEST(Movement, RestingPieceLocksAfterTheDelayAndTwiceAsFastWithSoftDrop) {
  for (bool softDrop : {false, true}) {
    startGame({oPiece});
    frameDelta = 10.0;
    placePiece(1, 1, 0, {3, 18});
    p1SoftDrop = softDrop;
    int frames = 1;
    for (stepPlayer(1); p1Board[3][19] == 0 && frames < 30; ++frames) stepPlayer(1);
    EXPECT_EQ(frames, softDrop ? 6 : 11); // 100 down to exactly 0 is not yet below zero
  }
}

TEST(Movement, GhostShowsTheLandingAndAHardDropEndsTheFrame) {
  startGame({tPiece});
  p1Board = boardFromPicture({"...g......", "gggggg.ggg"});
  p1Rotation = 0;
  stepPlayer(1);
  std::vector<std::pair<int32_t, int32_t>> ghost;
  for (Point cell : p1GhostCells) ghost.push_back({cell.x, cell.y});
  EXPECT_EQ(ghost, (std::vector<std::pair<int32_t, int32_t>>{{3, 17}, {4, 16}, {4, 17}, {5, 17}}));
  p1HardDrop = p1MoveRight = p1RotateCcw = true; // neither piece moves or turns after the lock
  stepPlayer(1);
  EXPECT_EQ(boardPicture(p1Board),
            bottomRows({"....1.....", "...111....", "...g......", "gggggg.ggg"}));
  EXPECT_EQ(std::vector<int32_t>({p1Position.x, p1Position.y, p1Rotation}),
            std::vector<int32_t>({3, 0, 0}));
}

TEST(Movement, HoldOncePerPieceKeepingTheRotation) {
  startGame({tPiece, oPiece, iPiece});
  const int32_t first = p1PieceId;
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggg....."));
  placePiece(1, first, 2, {6, 6});
  p1Hold = true;
  stepPlayer(1);
  // An empty slot takes the next piece, at the spawn even where it overlaps.
  EXPECT_EQ(std::vector<int32_t>({p1HeldPiece, p1PieceId, p1Position.x, p1Position.y, p1Rotation}),
            std::vector<int32_t>({first, pieceQueue[1], 3, 0, 2}));
  stepPlayer(1); // the key is still down: nothing until the piece has locked
  EXPECT_EQ(p1PieceId, pieceQueue[1]);
  EXPECT_FALSE(p1GameOver);

  resetBoards(1);
  p1Hold = false;
  p1HardDrop = true;
  stepPlayer(1);
  p1HardDrop = false;
  p1Hold = true;
  p1Rotation = 1;
  stepPlayer(1); // a full slot swaps without taking from the sequence
  EXPECT_EQ(std::vector<int32_t>({p1PieceId, p1HeldPiece, p1Rotation, p1PieceCount}),
            std::vector<int32_t>({first, pieceQueue[2], 1, 2}));
}

} // namespace
