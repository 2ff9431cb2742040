// A host on 127.0.0.1 facing peers that are not a friendly game: random datagrams, malformed and
// oversized messages, a silent peer, a second player, a flood. It never stops answering, never
// takes long over a frame's poll, and says what happened.
#include "ai/playback.h"
#include "net/net.h"
#include "online.h"

#include <enet/enet.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <random>

namespace {

const uint16_t port = static_cast<uint16_t>(42000 + getpid() % 8000);
double longestPoll = 0.0; // ms of the slowest pollOnline so far

struct Peer {
  ENetHost* host = nullptr;
  ENetPeer* peer = nullptr;
  bool connected = false;
  bool disconnected = false;
  uint32_t reason = 0;    // the data of the disconnect
  Foul foul = Foul::none; // what the game's foul message said, if one came
  bool started = false;   // a start message came
};

// Polls the game's side and the peer's side for up to ms, or until done says so.
template <typename Done> void serve(Peer* peer, double ms, Done done) {
  double end = netClock() + ms;
  while (netClock() < end && !done()) {
    double before = netClock();
    pollOnline();
    longestPoll = std::max(longestPoll, netClock() - before);
    ENetEvent event;
    while (peer && peer->host && enet_host_service(peer->host, &event, 1) > 0) {
      if (event.type == ENET_EVENT_TYPE_CONNECT) peer->connected = true;
      if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
        peer->disconnected = true;
        peer->reason = event.data;
      }
      if (event.type == ENET_EVENT_TYPE_RECEIVE) {
        Message m;
        std::string problem;
        int32_t types = static_cast<int32_t>(pieceCatalogue.size());
        if (decodeMessage(event.packet->data, event.packet->dataLength, types, m, problem)) {
          if (m.type == MessageType::foul) peer->foul = m.foul;
          if (m.type == MessageType::start) peer->started = true;
        }
        enet_packet_destroy(event.packet);
      }
    }
    if (!peer) usleep(1000);
  }
}

Peer connectPeer() {
  Peer p;
  p.host = enet_host_create(nullptr, 1, 2, 0, 0);
  ENetAddress address{};
  enet_address_set_host_ip(&address, "127.0.0.1");
  address.port = port;
  p.peer = enet_host_connect(p.host, &address, 2, 0);
  serve(&p, 3000, [&] { return p.connected; });
  return p;
}

void say(Peer& p, const std::string& bytes) {
  enet_peer_send(p.peer, 0,
                 enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
  enet_host_flush(p.host);
}

std::string hello() {
  Message m;
  m.type = MessageType::hello;
  m.gameVersion = gameVersion;
  return encodeMessage(m);
}

void loadPieces() {
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  std::string error;
  ASSERT_TRUE(loadPieceFiles(&error, std::string(BRIKKA_SOURCE_DIR) + "/Storage")) << error;
  resetBoards(0);
}

// Hosts, and lets peer join and greet: the host deals, and the game runs.
void startGameWith(Peer& peer) {
  loadPieces();
  if (!hostOnline(port)) return;
  peer = connectPeer();
  say(peer, hello());
  serve(&peer, 2000, [] { return onlinePhase == OnlinePhase::playing; });
}

// Another game: both ask, and the host deals again.
void rematch(Peer& guest) {
  Message ask;
  ask.type = MessageType::rematch;
  guest.foul = Foul::none;
  guest.started = false;
  say(guest, encodeMessage(ask));
  serve(&guest, 300, [] { return remoteRematch; });
  requestRematch();
  serve(&guest, 2000, [&] { return guest.started; });
}

// A peer still greeting is kept until `due` brings its deadline forward, then dropped; the host
// waits for the next.
template <typename Due> void expectDroppedOnceDue(Peer& peer, Due due) {
  serve(&peer, 300, [] { return false; });
  EXPECT_EQ(onlinePhase, OnlinePhase::greeting);
  due();
  serve(&peer, 2000, [&] { return peer.disconnected; });
  EXPECT_TRUE(peer.disconnected);
  EXPECT_EQ(onlinePhase, OnlinePhase::hosting);
  enet_host_destroy(peer.host);
}

TEST(HostilePeers, StrayAndBrokenClientsLeaveTheHostListening) {
  loadPieces();
  ASSERT_TRUE(hostOnline(port)) << onlineStatus;
  longestPoll = 0.0;

  // Random datagrams: ENet throws them away; nobody counts as connected.
  int raw = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to = loopback(port);
  std::mt19937 random(7);
  for (int i = 0; i < 300; ++i) {
    std::string junk(1 + random() % 1200, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    sendto(raw, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  close(raw);
  serve(nullptr, 200, [] { return false; });
  EXPECT_EQ(onlinePhase, OnlinePhase::hosting);

  // A malformed message ends that connection with a reason; the host waits for the next.
  Peer broken = connectPeer();
  ASSERT_TRUE(broken.connected);
  say(broken, std::string(1, static_cast<char>(protocolVersion)) + "\x03\xff\xff");
  serve(&broken, 2000, [&] { return broken.disconnected; });
  EXPECT_EQ(broken.reason, static_cast<uint32_t>(CloseReason::badMessage));
  EXPECT_EQ(onlinePhase, OnlinePhase::hosting);
  enet_host_destroy(broken.host);

  // A message beyond what ENet takes is never delivered, and blocks what the peer says after it
  // until the silence limit (5 s, brought forward here) drops the peer.
  Peer huge = connectPeer();
  ASSERT_TRUE(huge.connected);
  say(huge, std::string(200000, '\x01'));
  say(huge, hello());
  expectDroppedOnceDue(huge, [] { lastHeard = netClock() - 6000.0; });

  // Connected and silent: dropped once its time to say hello is up (brought forward here).
  Peer silent = connectPeer();
  ASSERT_TRUE(silent.connected);
  expectDroppedOnceDue(silent, [] { greetingDeadline = netClock(); });
  EXPECT_NE(onlineStatus.find("said nothing"), std::string::npos);

  EXPECT_LT(longestPoll, 100.0) << "a poll held up the frame";
  closeOnline(CloseReason::none);
}

TEST(HostilePeers, ASecondPlayerIsToldBusyAndAFloodEndsTheGame) {
  Peer first;
  startGameWith(first);
  ASSERT_EQ(onlinePhase, OnlinePhase::playing);

  Peer second = connectPeer();
  serve(&second, 2000, [&] { return second.disconnected; });
  EXPECT_EQ(second.reason, static_cast<uint32_t>(CloseReason::busy));
  EXPECT_EQ(onlinePhase, OnlinePhase::playing);
  enet_host_destroy(second.host);

  Message ping;
  ping.type = MessageType::ping;
  for (int i = 0; i < 6000; ++i) {
    std::string bytes = encodeMessage(ping);
    enet_peer_send(first.peer, 0, enet_packet_create(bytes.data(), bytes.size(), 0));
  }
  enet_host_flush(first.host);
  serve(&first, 3000, [&] { return first.disconnected; });
  EXPECT_EQ(first.reason, static_cast<uint32_t>(CloseReason::flood));
  EXPECT_EQ(onlinePhase, OnlinePhase::closed);
  // The side thrown out loses, and this side says why.
  EXPECT_EQ(onlineResult, OnlineResult::host);
  EXPECT_EQ(onlineStatus, "Opponent sent too many messages");
  EXPECT_TRUE(matchOver);
  enet_host_destroy(first.host);
  restoreOwnPieces();
}

TEST(HostilePeers, AnOpponentWhoLeavesMidGameGivesTheWin) {
  Peer opponent;
  startGameWith(opponent);
  ASSERT_EQ(onlinePhase, OnlinePhase::playing);
  enet_peer_disconnect(opponent.peer, static_cast<uint32_t>(CloseReason::left));
  serve(&opponent, 2000, [] { return onlinePhase == OnlinePhase::closed; });
  EXPECT_EQ(outcomeText(), "You win");
  EXPECT_EQ(onlineStatus, "Opponent left");
  EXPECT_TRUE(matchOver);
  enet_host_destroy(opponent.host);
  restoreOwnPieces();
}

// An online game's replay: this side's frames and the opponent's messages as they came play the
// same game again, both boards to the last cell.
TEST(HostilePeers, AnOnlineReplayPlaysBothBoardsAgain) {
  Peer guest;
  nextGameSeed = 12345; // the same pieces every run
  startGameWith(guest);
  nextGameSeed = 0;
  ASSERT_EQ(onlinePhase, OnlinePhase::playing);
  countdownEnd = 0.0;
  Replay recording = beginReplay(0, 0.0, 0.0, 0);
  recording.onlineSeed = onlineSeed;
  recording.onlineHost = true;
  frameDelta = 1.6;
  // The host drops every twentieth frame; the guest places a piece every thirtieth.
  for (int frame = 0; frame < 2000 && !localEnded; ++frame) {
    p1HardDrop = frame % 20 == 19;
    addReplayFrame(recording, currentFrame());
    ++framesRecorded;
    stepLocalPlay();
    if (frame % 30 == 29) {
      Message lock = restingLock();
      lock.acked = localLocks;
      lock.clock = static_cast<uint32_t>(onlineClock);
      say(guest, encodeMessage(lock));
      serve(&guest, 500, [&] { return remoteLocks == lock.lockIndex; });
    }
  }
  ASSERT_TRUE(localEnded);
  say(guest, encodeMessage(endOfGame(remoteClock, remoteLocks, remoteChain)));
  serve(&guest, 2000, [] { return onlineResult != OnlineResult::undecided; });
  // The guest stopped at its last lock, before the host topped out: the first to end loses.
  EXPECT_EQ(onlineResult, OnlineResult::host);
  recording.result = currentResult(framesRecorded);
  recording.events = gameEvents;
  EXPECT_GT(remoteLocks, 3u);
  closeOnline(CloseReason::none);
  enet_host_destroy(guest.host);
  restoreOwnPieces();

  Replay back;
  std::string error;
  ASSERT_TRUE(readReplayBytes(replayBytes(recording), back, &error)) << error;
  EXPECT_EQ(back.events.size(), recording.events.size());
  ReplayResult again;
  ASSERT_TRUE(resimulateOnline(back, again, &error)) << error;
  EXPECT_EQ(again.boardHash, recording.result.boardHash);
  EXPECT_EQ(again.pieces, recording.result.pieces);
  EXPECT_EQ(again.frames, recording.result.frames);
}

// The guest sends bad, and the host finds it out: the game ends with no win to the guest, and
// the guest is told which rule its game broke. Each case is a rematch of the one before.
TEST(HostilePeers, EveryClaimIsCheckedAndABrokenRuleWinsNothing) {
  Peer guest;
  startGameWith(guest);
  ASSERT_EQ(onlinePhase, OnlinePhase::playing);
  struct Case {
    const char* what;
    void (*spoil)(Message&);
    Foul expected;
  };
  const std::vector<Case> cases = {
      {"a piece that was not dealt", [](Message& m) { m.field.pieceId = m.field.pieceId % 7 + 1; },
       Foul::undealtPiece},
      {"a placement in the air", [](Message& m) { m.field.position = spawnPosition; },
       Foul::floats},
      {"a placement inside the floor", [](Message& m) { ++m.field.position.y; }, Foul::doesNotFit},
      {"a lock claiming garbage", [](Message& m) { m.risen = 8; }, Foul::garbageClaimed},
      {"a forged checksum", [](Message& m) { m.checksum ^= 1; }, Foul::boardDiffers},
      {"a lock from a later number", [](Message& m) { m.lockIndex += 1; }, Foul::outOfOrder},
  };
  int32_t games = 0;
  for (const Case& c : cases) {
    Message lock = restingLock();
    c.spoil(lock);
    say(guest, encodeMessage(lock));
    serve(&guest, 2000, [&] { return guest.foul != Foul::none; });
    EXPECT_EQ(onlineResult, OnlineResult::brokeRulesGuest) << c.what;
    EXPECT_EQ(foulFound, c.expected) << c.what;
    EXPECT_EQ(guest.foul, c.expected) << c.what;
    EXPECT_EQ(outcomeText(), "Opponent's game broke the rules") << c.what;
    EXPECT_TRUE(p1IncomingDamage.empty()) << c.what;
    ++games;
    rematch(guest);
    ASSERT_EQ(onlinePhase, OnlinePhase::playing) << c.what;
  }
  // Broken games are nobody's win in the match score.
  EXPECT_EQ(matchWins + matchLosses, 0);
  EXPECT_EQ(onlineGameNumber, games + 1);

  // An honest lock is played on the copy, then an early End with no top-out: the guest stopped
  // at its clock, the host plays on, and the first to end loses.
  Message lock = restingLock();
  lock.clock = 400;
  say(guest, encodeMessage(lock));
  say(guest, encodeMessage(endOfGame(400, 1, chainChecksum(0, lock.checksum))));
  serve(&guest, 2000, [] { return remoteEnded; });
  EXPECT_EQ(remoteLocks, 1u);
  EXPECT_EQ(onlinePhase, OnlinePhase::playing);
  onlineClock = 5000.0;
  endLocalGame(true);
  EXPECT_EQ(onlineResult, OnlineResult::host);
  EXPECT_EQ(outcomeText(), "You win");

  // Random bytes in a game are malformed, not another version: the guest is thrown out, loses,
  // and the host says why.
  rematch(guest);
  say(guest, std::string("\x01\x07\x00\x00garbage", 11));
  serve(&guest, 2000, [&] { return guest.disconnected; });
  EXPECT_EQ(guest.reason, static_cast<uint32_t>(CloseReason::badMessage));
  EXPECT_EQ(onlineResult, OnlineResult::host);
  EXPECT_EQ(onlineReason, "Opponent sent malformed data");
  enet_host_destroy(guest.host);
  restoreOwnPieces();
}

} // namespace
