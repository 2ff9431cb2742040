// Messages survive the trip as written, and whatever a peer could send instead is refused with
// a reason before the game sees it.
#include "net/net.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t pieceTypes = 7;

Message lockMessage() {
  Message m;
  m.type = MessageType::lock;
  m.lockIndex = 12;
  m.field.pieceId = 7;
  m.field.rotation = 2;
  m.field.position = {-1, 17};
  m.fromHold = true;
  m.acked = 9;
  m.risen = 2;
  m.hole = 9;
  m.clock = 61234;
  m.checksum = 0xdeadbeef;
  return m;
}

bool decodes(const std::string& bytes, Message& m, std::string& problem, int32_t types = 7,
             bool* versionMismatch = nullptr) {
  return decodeMessage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), types, m,
                       problem, versionMismatch);
}

TEST(Messages, EveryFieldComesBackAsSent) {
  Message out;
  std::string problem;
  const std::string bytes = encodeMessage(lockMessage());
  ASSERT_TRUE(decodes(bytes, out, problem)) << problem;
  EXPECT_EQ(encodeMessage(out), bytes); // nothing lost or changed on the way
  // And the encoder writes what it was given, negative numbers too.
  EXPECT_EQ(out.field.position.x, -1);
  EXPECT_EQ(out.fromHold, true);
  EXPECT_EQ(out.acked, 9u);
  EXPECT_EQ(out.clock, 61234u);
  // A placement is all a lock carries: a few dozen bytes, not a board.
  EXPECT_LT(bytes.size(), 32u);
}

TEST(Messages, AnythingMalformedIsRefusedWithAReason) {
  const std::string good = encodeMessage(lockMessage());
  auto refused = [](std::string bytes, int32_t types = pieceTypes) {
    Message m;
    std::string problem;
    bool ok = decodes(bytes, m, problem, types);
    return !ok && !problem.empty();
  };
  EXPECT_TRUE(refused(good.substr(0, good.size() - 1)));    // cut short
  EXPECT_TRUE(refused(good + "x"));                         // longer than it says
  EXPECT_TRUE(refused(good, 0));                            // a lock outside a game
  EXPECT_TRUE(refused(std::string(maxMessageSize + 1, 1))); // oversized
  EXPECT_TRUE(refused(""));

  std::string other = good;
  other[1] = 99; // no such type
  EXPECT_TRUE(refused(other));
  // A piece this game does not have, a fifth rotation, a piece far below the board, a hole off
  // the board.
  const std::vector<void (*)(Message&)> damages = {
      [](Message& m) { m.field.pieceId = 8; }, [](Message& m) { m.field.rotation = 4; },
      [](Message& m) { m.field.position.y = 100; }, [](Message& m) { m.hole = 10; }};
  Message m;
  for (size_t k = 0; k < damages.size(); ++k) {
    m = lockMessage();
    damages[k](m);
    EXPECT_TRUE(refused(encodeMessage(m))) << k;
  }

  // Another protocol version is told apart, so the player learns why.
  std::string newer = good;
  newer[0] = static_cast<char>(protocolVersion + 1);
  bool versionMismatch = false;
  std::string problem;
  EXPECT_FALSE(decodes(newer, m, problem, pieceTypes, &versionMismatch));
  EXPECT_TRUE(versionMismatch);
  // A foul names a rule that exists.
  Message foul;
  foul.type = MessageType::foul;
  foul.foul = Foul::floats;
  EXPECT_FALSE(refused(encodeMessage(foul)));
  std::string unknown = encodeMessage(foul);
  unknown.back() = static_cast<char>(static_cast<int>(Foul::last) + 1);
  EXPECT_TRUE(refused(unknown));
}

TEST(Messages, AddressesSplitIntoHostAndPort) {
  std::string host;
  uint16_t port = 0;
  EXPECT_TRUE(splitAddress("example.org", host, port));
  EXPECT_EQ(port, defaultOnlinePort);
  EXPECT_TRUE(splitAddress("127.0.0.1:5000", host, port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 5000);
  EXPECT_FALSE(splitAddress("127.0.0.1:70000", host, port));
  EXPECT_FALSE(splitAddress("127.0.0.1:", host, port));
  EXPECT_FALSE(splitAddress(":5000", host, port));
}

} // namespace
