// An online game played through the frame update, as the guest against messages handed in as if
// they had arrived: it leaves a history row and a replay that plays both boards again.
#include "game/replay.h"
#include "net/net.h"
#include "online.h"
#include "scenario.h"

namespace {

const Piece square = pieceFromPicture({"##", "##"});

std::string said(const Message& message) {
  return encodeMessage(message);
}

void hear(const std::string& bytes) {
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
  hear(said(startOfGame(7)));
  ASSERT_EQ(gameMode, onlineVersusMode);
  countdownEnd = 0.0;
  // The host places one piece; this side drops pieces until it tops out.
  Message lock = restingLock();
  hear(said(lock));
  for (int k = 0; k < 3000 && !localEnded; ++k) {
    p1HardDrop = k % 10 == 9;
    frame(5, 5);
  }
  ASSERT_TRUE(localEnded);
  // The host stopped at its only lock, before this side topped out: this side wins.
  Message end;
  end.type = MessageType::end;
  end.piecesLocked = 1;
  end.chain = chainChecksum(0, lock.checksum);
  hear(said(end));
  frame(5, 5);
  EXPECT_EQ(outcomeText(), "You win");
  ReplayResult played = currentResult(0);

  std::string history = readFile(historyPath);
  EXPECT_NE(history.find(",online,"), std::string::npos) << history;
  EXPECT_NE(history.find(",win,"), std::string::npos) << history;
  EXPECT_NE(history.find(",127.0.0.1:40440,"), std::string::npos) << history;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(replaysFolder))
    names.push_back(entry.path().string());
  ASSERT_EQ(names.size(), 1u);
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplayFile(names[0], replay, &error)) << error;
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
