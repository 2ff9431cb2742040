#include "play.h"

#include <gtest/gtest.h>

namespace {

using Waiting = std::vector<std::vector<int32_t>>;

// The rows of the records waiting for player 1 and for player 2.
Waiting waiting() {
  Waiting rows(2);
  for (const DamageRecord& record : p1IncomingDamage) rows[0].push_back(record.rows);
  for (const DamageRecord& record : p2IncomingDamage) rows[1].push_back(record.rows);
  return rows;
}

TEST(Garbage, ClearsAreSentInFullAndCancelWaitingRowsOnlyBetweenVersusPlayers) {
  startGame({longBar, oPiece}, 2);
  p1IncomingDamage = {{3, 4, 200.0}};
  lockBar(1, {"ggggggggg.", "ggggggggg."});
  ASSERT_EQ(waiting(), Waiting({{1}, {2}}));
  const DamageRecord sent = p2IncomingDamage[0];
  EXPECT_GE(sent.hole, 0);
  EXPECT_LT(sent.hole, 10);
  EXPECT_EQ(sent.timer, 500.0);
  // Four rows against one and three waiting: both go, and four are sent.
  p1IncomingDamage = {{1, 0, 50.0}, {3, 0, -5.0}};
  lockBar(1, std::vector<std::string>(4, "ggggggggg."));
  EXPECT_EQ(waiting(), Waiting({{}, {2, 4}}));
  EXPECT_EQ(boardPicture(p1Board), bottomRows({".........1"})); // nothing rose in this lock

  // Solo, training and the menu demos send nothing: no one would ever take it.
  for (int32_t mode : {1, 3, 0}) {
    startGame({longBar, oPiece}, mode);
    lockBar(1, std::vector<std::string>(4, "ggggggggg."));
    lockBar(2, std::vector<std::string>(2, "ggggggggg."));
    EXPECT_EQ(waiting(), Waiting({{}, {}})) << mode;
  }
}

TEST(Garbage, WaitingRowsRiseOnlyWhenDueOneRecordAfterAnotherAndPushTheTopOut) {
  startGame({longBar, oPiece}, 2);
  lockBar(1, {"ggggggggg.", "ggggggggg."});
  std::vector<std::string> bar(5, ".........1"); // what a lock that clears nothing leaves
  for (double timer : {500.0, 0.0}) {            // sent just now, then exactly zero: it waits
    ASSERT_EQ(waiting(), Waiting({{}, {2}}));
    p2IncomingDamage[0].timer = timer;
    lockBar(2, {});
    EXPECT_EQ(boardPicture(p2Board), bottomRows(bar));
  }
  p2IncomingDamage = {{2, 6, -0.5}, {3, 0, 40.0}, {1, 2, -0.1}}; // two due around one waiting
  soundsPlayed.clear();
  lockBar(2, {}); // one after the other: the first ends higher
  bar.insert(bar.end(), {"rrrrrr.rrr", "rrrrrr.rrr", "rr.rrrrrrr"});
  EXPECT_EQ(boardPicture(p2Board), bottomRows(bar));
  EXPECT_EQ(waiting(), Waiting({{}, {3}}));
  EXPECT_EQ(p2LastLock.risen, 2);     // records
  EXPECT_EQ(p2LastLock.risenRows, 3); // their rows
  EXPECT_DOUBLE_EQ(p2DamageFlash, 160.0);
  EXPECT_EQ(soundsPlayed, Sounds({{SoundEffect::placeBlock, 1}, {SoundEffect::takeDamage, 1}}));

  p1Board = Board{};
  for (int y = 0; y < 4; ++y) p1Board[y][y] = 3; // a diagonal at the top
  addGarbageRows(1, 3, 5);                       // player 1's garbage is blue in this mode
  EXPECT_EQ(boardPicture(p1Board)[0], "...3......");
  gameMode = versusBotMode; // and grey against the bot
  addGarbageRows(1, 1, 0);
  EXPECT_EQ(boardPicture(p1Board),
            bottomRows({"bbbbb.bbbb", "bbbbb.bbbb", "bbbbb.bbbb", ".ggggggggg"}));
}

} // namespace
