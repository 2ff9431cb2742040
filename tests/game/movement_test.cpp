#include "play.h"

#include <gtest/gtest.h>

namespace {

// Runs frames until player 1's board changes; returns how many it took, or -1.
int framesUntilLock(int limit) {
  Board before = p1Board;
  for (int frame = 1; frame <= limit; ++frame) {
    stepPlayer(1);
    if (p1Board != before) return frame;
  }
  return -1;
}

TEST(Movement, CollisionSeesWallsFloorStackAndOnlyCellsOfOne) {
  Piece diagonal; // its 2 and 3 are empty cells: blocks top-left and bottom-right only
  diagonal.grids.fill({{1, 3}, {2, 1}});
  startGame({tPiece, diagonal});
  p1Board = boardFromPicture({"#.........", "##........"});
  struct Case {
    int32_t id, player;
    Point at;
    int32_t dx, dy;
    bool fits;
  };
  for (const Case& c : {Case{1, 1, {3, 0}, 0, 0, true}, Case{1, 1, {-1, 0}, 0, 0, false},
                        Case{1, 1, {7, 0}, 1, 0, false}, Case{1, 1, {3, 18}, 0, 1, false},
                        Case{1, 1, {0, 17}, 0, 0, false}, Case{1, 2, {0, 17}, 0, 0, true},
                        Case{2, 1, {1, 18}, 0, 0, true}, Case{2, 1, {0, 18}, 0, 0, false}})
    EXPECT_EQ(pieceFits(c.player, pieceGrid(c.id, 0), c.dx, c.dy, &c.at), c.fits)
        << c.id << " at " << c.at.x << "," << c.at.y;
}

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
           Case{{{4, 8}}, 0, {3, 5}, false, true, 1, {2, 5}},                 // left before right
           Case{{}, 1, {-1, 5}, true, false, 0, {0, 5}},                      // off the wall: right
           Case{{{3, 8}, {4, 8}, {5, 8}}, 0, {3, 5}, false, true, 1, {3, 4}}, // then up
           Case{{{3, 3}, {4, 3}, {5, 3}}, 0, {3, 0}, false, true, 0, {3, 0}}, // not above row 0
           Case{{}, 0, {3, 5}, true, false, 3, {3, 5}},                       // 0 turns to 3
       }) {
    startGame({iPiece});
    for (Point block : c.blocks) p1Board[block.x][block.y] = 9;
    placePiece(1, 1, c.rotation, c.start);
    p1RotateCw = c.cw;
    p1RotateCcw = c.ccw;
    stepPlayer(1);
    EXPECT_EQ(p1Rotation, c.rotationAfter) << c.start.x << "," << c.start.y;
    EXPECT_EQ(p1Position.x, c.after.x) << c.start.x << "," << c.start.y;
    EXPECT_EQ(p1Position.y, c.after.y) << c.start.x << "," << c.start.y;
  }
}

TEST(Movement, GravitySoftDropAndTheLockDelay) {
  startGame({oPiece});
  frameDelta = 10.0;
  for (int i = 0; i < 10; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.y, 0); // the timer is exactly 0: not yet
  stepPlayer(1);
  EXPECT_EQ(p1Position.y, 1);
  frameDelta = 3.0; // soft drop: a row each time the timer fell a fiftieth of the interval
  p1SoftDrop = true;
  for (int i = 0; i < 4; ++i) stepPlayer(1);
  EXPECT_EQ(p1Position.y, 5);

  // Resting on the floor, the piece locks once the timer is below zero; soft drop halves it.
  for (bool softDrop : {false, true}) {
    startGame({oPiece});
    frameDelta = 10.0;
    placePiece(1, 1, 0, {3, 18});
    p1SoftDrop = softDrop;
    EXPECT_EQ(framesUntilLock(30), softDrop ? 6 : 11);
  }
}

TEST(Movement, GhostShowsTheLandingAndAHardDropEndsTheFrame) {
  startGame({tPiece});
  p1Board = boardFromPicture({"...g......", "gggggg.ggg"});
  placePiece(1, 1, 0, {3, 0});
  stepPlayer(1);
  std::vector<std::pair<int32_t, int32_t>> ghost;
  for (Point cell : p1GhostCells) ghost.push_back({cell.x, cell.y});
  EXPECT_EQ(ghost, (std::vector<std::pair<int32_t, int32_t>>{{3, 17}, {4, 16}, {4, 17}, {5, 17}}));
  p1HardDrop = p1MoveRight = p1RotateCcw = true; // neither piece moves or turns after the lock
  stepPlayer(1);
  EXPECT_EQ(boardPicture(p1Board),
            bottomRows({"....1.....", "...111....", "...g......", "gggggg.ggg"}));
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_EQ(p1Rotation, 0);
}

TEST(Movement, HoldOncePerPieceKeepingTheRotation) {
  startGame({tPiece, oPiece, iPiece});
  const int32_t first = p1PieceId;
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggg....."));
  placePiece(1, first, 2, {6, 6});
  p1LockTimer = 4.0;
  p1Hold = true;
  stepPlayer(1);
  // An empty slot takes the next piece, at the spawn even where it overlaps, in the same turn.
  EXPECT_EQ(p1HeldPiece, first);
  EXPECT_EQ(p1PieceId, pieceQueue[1]);
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
  EXPECT_EQ(p1Rotation, 2);
  EXPECT_DOUBLE_EQ(p1LockTimer, 100.0);
  EXPECT_FALSE(p1GameOver);
  stepPlayer(1); // the key is still down: nothing until the piece has locked
  EXPECT_EQ(p1PieceId, pieceQueue[1]);

  resetBoards(1);
  p1Hold = false;
  p1HardDrop = true;
  stepPlayer(1);
  p1HardDrop = false;
  p1Hold = true;
  p1Rotation = 1;
  stepPlayer(1); // a full slot swaps without taking from the sequence
  EXPECT_EQ(p1PieceId, first);
  EXPECT_EQ(p1HeldPiece, pieceQueue[2]);
  EXPECT_EQ(p1Rotation, 1);
  EXPECT_EQ(p1PieceCount, 2);
}

} // namespace
