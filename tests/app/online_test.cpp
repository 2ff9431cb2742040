// An online game played through the frame update, as the guest against messages handed in as if
// they had arrived: it leaves a history row and a replay that plays both boards again.
#include "game/replay.h"
#include "net/net.h"
#include "online.h"
#include "scenario.h"

namespace {

const Piece square = pieceFromPicture({"##", "##"});

// The message arrives as if over the network.
void hear(const Message& message) {
  std::string bytes = encodeMessage(message);
  CloseReason reason;
  ASSERT_TRUE(receiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), reason));
}

} // namespace

TEST_F(Scenario, AnOnlineGameLeavesAHistoryRowAndAReplayOfBothBoards) {
  start({square, pieceFromPicture({"####"})});
  onlineIsHost = false;
  onlinePhase = OnlinePhase::greeting;
  opponentGreeted = true;
  opponentAddress = "127.0.0.1:40440";
  hear(startOfGame(7));
  ASSERT_EQ(gameMode, onlineVersusMode);
  countdownEnd = 0.0;
  // The host places one piece; this side drops pieces until it tops out.
  Message lock = restingLock();
  hear(lock);
  for (int k = 0; k < 3000 && !localEnded; ++k) {
    p1HardDrop = k % 10 == 9;
    frame(5, 5);
  }
  ASSERT_TRUE(localEnded);
  // The host stopped at its only lock, before this side topped out: this side wins.
  hear(endOfGame(0, 1, chainChecksum(0, lock.checksum)));
  frame(5, 5);
  EXPECT_EQ(outcomeText(), "You win");
  ReplayResult played = currentResult(0);

  std::string history = readFile(historyPath);
  EXPECT_NE(history.find(",online,"), std::string::npos) << history;
  EXPECT_NE(history.find(",win,"), std::string::npos) << history;
  EXPECT_NE(history.find(",127.0.0.1:40440,"), std::string::npos) << history;
  std::vector<std::string> names = storedReplays();
  ASSERT_EQ(names.size(), 1u);
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplayFile(std::string(replaysFolder) + "/" + names[0], replay, &error)) << error;
  restoreOwnPieces();
  gameMode = menuMode;
  ReplayResult again;
  ASSERT_TRUE(resimulateOnline(replay, again, &error)) << error;
  EXPECT_EQ(again.boardHash, played.boardHash);
  EXPECT_EQ(again.pieces, played.pieces);
  EXPECT_GT(again.pieces, 3);
  onlinePhase = OnlinePhase::idle;
  gameMode = menuMode;
}
