#include "play.h"

#include <gtest/gtest.h>

namespace {

int damageSounds = 0;
void countDamageSound(SoundEffect effect, int channel) {
  damageSounds += effect == SoundEffect::takeDamage && channel == 1;
}

// Player 1 clears `rows` rows with a standing five-bar in column 9.
void clearRows(int rows) {
  p1Board = boardFromPicture(std::vector<std::string>(rows, "ggggggggg."));
  placePiece(1, 1, 1, {7, 15});
  lockPiece(1);
}

// A lock that clears nothing: an O in the top row at column x.
void lockWithoutClear(int player, int32_t x) {
  placePiece(player, 2, 0, {x, 0});
  lockPiece(player);
}

std::vector<int32_t> rowsOf(const std::vector<DamageRecord>& records) {
  std::vector<int32_t> rows;
  for (const DamageRecord& record : records) rows.push_back(record.rows);
  return rows;
}

TEST(Garbage, ClearsAreSentInFullAndCancelWaitingRows) {
  startGame({longBar, oPiece}, 2);
  p1IncomingDamage = {{3, 4, 200.0}};
  clearRows(2);
  EXPECT_EQ(rowsOf(p1IncomingDamage), std::vector<int32_t>{1});
  ASSERT_EQ(rowsOf(p2IncomingDamage), std::vector<int32_t>{2});
  EXPECT_TRUE(p2IncomingDamage[0].hole >= 0 && p2IncomingDamage[0].hole < 10);
  EXPECT_DOUBLE_EQ(p2IncomingDamage[0].timer, 500.0);

  // Four rows against one and two waiting: both go, the spare row is lost, four are sent.
  startGame({longBar, oPiece}, 2);
  p1IncomingDamage = {{1, 0, 50.0}, {2, 0, -5.0}};
  clearRows(4);
  EXPECT_TRUE(p1IncomingDamage.empty());
  EXPECT_EQ(rowsOf(p2IncomingDamage), std::vector<int32_t>{4});
  EXPECT_EQ(boardPicture(p1Board), bottomRows({".........1"})); // nothing rose in this lock

  startGame({longBar, oPiece}, 1); // alone nobody receives anything
  clearRows(4);
  EXPECT_TRUE(p1IncomingDamage.empty() && p2IncomingDamage.empty());
}

TEST(Garbage, WaitingRowsRiseOnlyOnceTheirTimeIsUpAndPushTheTopOut) {
  startGame({longBar, oPiece}, 2);
  clearRows(2);
  p2IncomingDamage[0].hole = 6;
  lockWithoutClear(2, 0); // sent just now: it waits
  p2IncomingDamage[0].timer = 0.0;
  lockWithoutClear(2, 8); // exactly zero is not yet over
  std::vector<std::string> waiting = bottomRows({});
  waiting[0] = waiting[1] = "22......22";
  EXPECT_EQ(boardPicture(p2Board), waiting);
  p2IncomingDamage[0].timer = -0.5;
  lockWithoutClear(2, 0); // the rows rise and push both pieces out at the top
  EXPECT_EQ(boardPicture(p2Board), bottomRows({"rrrrrr.rrr", "rrrrrr.rrr"}));
  EXPECT_TRUE(p2IncomingDamage.empty());
  EXPECT_DOUBLE_EQ(p2DamageFlash, 80.0);

  p1Board = boardFromPicture({"1.........", ".1........", "..1.......", "...1......"});
  for (int y = 0; y < 4; ++y) p1Board[y][y] = 3; // and a diagonal at the top
  addGarbageRows(1, 3, 5);                       // player 1's garbage is blue here
  std::vector<std::string> raised =
      bottomRows({"1.........", ".1........", "..1.......", "...1......", "bbbbb.bbbb",
                  "bbbbb.bbbb", "bbbbb.bbbb"});
  raised[0] = "...3......";
  EXPECT_EQ(boardPicture(p1Board), raised);
}

TEST(Garbage, DueRecordsRiseInOrderAndLaterOnesWait) {
  startGame({longBar, oPiece}, 4);
  soundHook = countDamageSound;
  p1IncomingDamage = {{1, 2, -1.0}, {3, 0, 40.0}, {2, 7, -0.1}};
  lockWithoutClear(1, 0);
  EXPECT_EQ(boardPicture(p1Board), bottomRows({"gg.ggggggg", "ggggggg.gg", "ggggggg.gg"}));
  EXPECT_EQ(rowsOf(p1IncomingDamage), std::vector<int32_t>{3});
  EXPECT_DOUBLE_EQ(p1DamageFlash, 160.0);
  EXPECT_EQ(damageSounds, 1);
}

} // namespace
