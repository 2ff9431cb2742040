// The game-level protocol: each side plays its own board from the host's seed and keeps a copy
// of the opponent's, advanced only by the placements the opponent reports and checked at each
// one: the piece must be the one dealt, the placement must fit and rest, and the rows cleared,
// the garbage and the top-out are worked out here from the copy. Nothing here knows about
// sockets: bytes go out through sendBytes and come in through receiveBytes.
#include "ai/playback.h"
#include "ai/state.h"
#include "net/net.h"

#include <chrono>

namespace {

constexpr double moveInterval = 1000.0 / 30.0; // the falling piece at most 30 times a second
constexpr double pingInterval = 1000.0;
constexpr double msPerDelayUnit = 10.0; // frameDelta counts hundredths of a second
// Garbage rises at the first lock without a clear after its timer ran out; frames and rounding
// may put the opponent's count of it a little behind ours.
constexpr double riseSlackMs = 100.0;
constexpr double countdownMs = 3000.0;
constexpr double fastestGravity = 5.0; // gravityInterval never falls below this // "3", "2", "1"
                                       // before each game with a person in it
// How far the opponent's game clock may run ahead of this side's: its start came a little
// earlier, and a frame here can stall.
constexpr double clockLeadLimit = 30000.0;

void send(const Message& message, bool reliable = true) {
  sendBytes(encodeMessage(message), reliable);
}

FieldView localField() {
  FieldView field;
  field.board = p1Board;
  field.pieceId = p1PieceId;
  field.rotation = p1Rotation;
  field.position = p1Position;
  field.heldPiece = p1HeldPiece;
  field.pieceCount = p1PieceCount;
  return field;
}

bool samePiece(const FieldView& a, const FieldView& b) {
  return a.pieceId == b.pieceId && a.rotation == b.rotation && a.position.x == b.position.x &&
         a.position.y == b.position.y && a.heldPiece == b.heldPiece && a.pieceCount == b.pieceCount;
}

OnlineResult sideWins(bool host) {
  return host ? OnlineResult::host : OnlineResult::guest;
}

// Sets the result once, and the match score with it.
void settle(OnlineResult result, const std::string& reason) {
  if (onlineResult != OnlineResult::undecided) return;
  onlineResult = result;
  onlineReason = reason;
  ++gamesSettled;
  if (result == sideWins(onlineIsHost)) ++matchWins;
  if (result == sideWins(!onlineIsHost)) ++matchLosses;
  matchOver = true;
}

struct GameEnd {
  bool toppedOut;
  uint32_t clock;
  int32_t lines;
};

// Who won, from the two finished games, the same way on both sides. Both topped out: the
// earlier top-out on its own game clock loses (equal clocks: the guest, so that the rule never
// has to guess). One topped out and the other stopped (a bot's piece limit, or a side that
// quit): whoever ended first on its own clock loses, the top-out on equal clocks. Both stopped:
// more lines wins.
OnlineResult winner(const GameEnd& host, const GameEnd& guest) {
  if (host.toppedOut && guest.toppedOut) return sideWins(host.clock >= guest.clock);
  if (host.toppedOut != guest.toppedOut) {
    if (host.clock != guest.clock) return sideWins(host.clock > guest.clock);
    return sideWins(guest.toppedOut);
  }
  if (host.lines != guest.lines) return sideWins(host.lines > guest.lines);
  return OnlineResult::draw;
}

void decideResult() {
  if (onlineResult != OnlineResult::undecided || !localEnded) return;
  if (!remoteEnded && !remoteToppedOut) return;
  GameEnd local{localToppedOut, localEndClock, p1Lines};
  GameEnd remote{remoteToppedOut, remoteEndClock, p2Lines};
  settle(onlineIsHost ? winner(local, remote) : winner(remote, local), "");
}

// The opponent's game broke a rule: the game is over, with no win to it.
void opponentFouled(Foul foul) {
  if (onlineResult != OnlineResult::undecided) return;
  foulFound = foul;
  Message message;
  message.type = MessageType::foul;
  message.foul = foul;
  send(message);
  localEnded = true;
  onlinePhase = OnlinePhase::finished;
  settle(onlineIsHost ? OnlineResult::brokeRulesGuest : OnlineResult::brokeRulesHost,
         "Opponent's game broke the rules");
}

// The opponent's lock, played on the copy; Foul::none when it kept every rule.
Foul playRemoteLock(const Message& lock) {
  if (remoteToppedOut || remoteEnded) return Foul::afterTopOut;
  if (lock.lockIndex != remoteLocks + 1 || lock.acked < remoteAcked || lock.acked > localLocks ||
      lock.clock < remoteClock)
    return Foul::outOfOrder;
  // Both clocks run alike: one far ahead of this side's, while this side plays, is made up.
  if (!localEnded && lock.clock > onlineClock + clockLeadLimit) return Foul::outOfOrder;
  // The garbage of the locks the opponent had played was waiting over there when it locked.
  size_t known = 0;
  for (; known < pendingGarbage.size() && pendingGarbage[known].lockIndex <= lock.acked; ++known) {
    p2IncomingDamage.push_back(pendingGarbage[known].record);
    copyArrivals.push_back(lock.clock);
  }
  pendingGarbage.erase(pendingGarbage.begin(),
                       pendingGarbage.begin() + static_cast<std::ptrdiff_t>(known));

  if (lock.fromHold) {
    if (p2HoldUsed) return Foul::secondHold;
    if (p2HeldPiece == 0) {
      p2HeldPiece = p2PieceId;
      takeNextPiece(2);
    } else {
      std::swap(p2HeldPiece, p2PieceId);
    }
    p2HoldUsed = true;
  }
  if (lock.field.pieceId != p2PieceId) return Foul::undealtPiece;
  p2Rotation = lock.field.rotation;
  p2Position = lock.field.position;
  const PieceGrid& grid = currentGrid(2);
  // A piece that never had room (garbage rose into it, or the stack reached the top) locks
  // where it appeared, in the top row, over what is there; anywhere else, or while pieces can
  // still appear, it must fit.
  if (!pieceFits(2, grid, 0, 0) && (p2Position.y != 0 || pieceFits(2, grid, 0, 0, &spawnPosition)))
    return Foul::doesNotFit;
  if (pieceFits(2, grid, 0, 1)) return Foul::floats;

  size_t waiting = p2IncomingDamage.size();
  if (lock.risen > waiting) return Foul::garbageClaimed;
  // The records said to rise are the oldest: those whose timers ran out first.
  for (size_t i = 0; i < waiting; ++i) p2IncomingDamage[i].timer = i < lock.risen ? -1.0 : 1.0;
  lockPiece(2);
  int32_t cleared = p2LastLock.cleared;
  if (cleared > 0 && lock.risen > 0) return Foul::garbageClaimed;
  if (cleared == 0) {
    double due = damageDelay * msPerDelayUnit + riseSlackMs;
    for (size_t i = lock.risen; i < waiting; ++i)
      if (lock.clock > copyArrivals[i] + due) return Foul::garbageHeldBack;
  }
  size_t gone = waiting - p2IncomingDamage.size();
  copyArrivals.erase(copyArrivals.begin(),
                     copyArrivals.begin() + static_cast<std::ptrdiff_t>(gone));
  for (size_t i = 0; i < p2IncomingDamage.size(); ++i) p2IncomingDamage[i].timer = damageDelay;
  // The rows cleared went to this side, with the hole the opponent drew for them.
  if (cleared > 0 && !p1IncomingDamage.empty())
    p1IncomingDamage.back().hole = static_cast<int32_t>(lock.hole);
  if (p2GameOver) {
    remoteToppedOut = true;
    remoteEndClock = lock.clock;
  }
  remoteLocks = lock.lockIndex;
  remoteAcked = lock.acked;
  remoteClock = lock.clock;
  uint32_t checksum = boardChecksum(p2Board);
  remoteChain = chainChecksum(remoteChain, checksum);
  if (checksum != lock.checksum) {
    ++checksumMismatches;
    return Foul::boardDiffers;
  }
  return Foul::none;
}

void receiveLock(const Message& lock) {
  if (onlineResult != OnlineResult::undecided) return; // the game is over; nothing can change
  Foul foul = playRemoteLock(lock);
  if (foul != Foul::none) {
    opponentFouled(foul);
    return;
  }
  // The opponent topped out: this side stops where it stands.
  if (remoteToppedOut && !localEnded) endLocalGame(false);
  decideResult();
}

void receiveEnd(const Message& end) {
  if (onlineResult != OnlineResult::undecided) return;
  Foul foul = Foul::none;
  // A game ends at its last lock: a later clock would be time it never played. One that stops
  // because this side topped out counts as ending no earlier than that.
  bool reacting = localToppedOut && end.clock >= localEndClock;
  if (remoteEnded || end.clock < remoteClock || (end.clock != remoteClock && !reacting))
    foul = Foul::outOfOrder;
  if (end.toppedOut != remoteToppedOut || end.piecesLocked != remoteLocks) foul = Foul::falseEnd;
  // Every board the opponent had was chained on both sides: the chains agree when the copy is
  // what the other side played.
  if (end.chain != remoteChain) {
    ++checksumMismatches;
    foul = Foul::falseEnd;
  }
  if (foul != Foul::none) {
    opponentFouled(foul);
    return;
  }
  remoteEnded = true;
  if (!remoteToppedOut) remoteEndClock = end.clock;
  // The opponent topped out: this side stops where it stands. One that stopped otherwise leaves
  // this side to finish its own game.
  if (remoteToppedOut && !localEnded) endLocalGame(false);
  decideResult();
}

// The opponent says this side's game broke a rule. Both finding a foul at once means the two
// games disagree with no way to tell which is right: no result.
void receiveFoul(const Message& message) {
  bool bothFouled =
      onlineResult == OnlineResult::brokeRulesHost || onlineResult == OnlineResult::brokeRulesGuest;
  if (bothFouled && foulFound != Foul::none) {
    onlineResult = OnlineResult::noResult;
    onlineReason = "Both games broke the rules: no result";
    return;
  }
  if (onlineResult != OnlineResult::undecided) return;
  foulFound = message.foul;
  localEnded = true;
  onlinePhase = OnlinePhase::finished;
  settle(onlineIsHost ? OnlineResult::brokeRulesHost : OnlineResult::brokeRulesGuest,
         "The opponent found that your game broke the rules");
}

// Told by the core after every lock: this side's locks go to the opponent.
void localLockHeard(int player) {
  if (player != 1 || gameMode != onlineVersusMode || onlinePhase != OnlinePhase::playing ||
      localEnded)
    return;
  ++localLocks;
  localGarbageReceived += p1LastLock.risenRows;
  // Garbage this lock sent waits over there only once the opponent has played this lock.
  for (size_t i = copyArrivals.size(); i < p2IncomingDamage.size(); ++i)
    pendingGarbage.push_back({localLocks, p2IncomingDamage[i]});
  p2IncomingDamage.resize(copyArrivals.size());

  Message lock;
  lock.type = MessageType::lock;
  lock.lockIndex = localLocks;
  lock.field.pieceId = p1LastLock.pieceId;
  lock.field.rotation = p1LastLock.rotation;
  lock.field.position = p1LastLock.position;
  lock.fromHold = p1LastLock.fromHold;
  lock.acked = remoteLocks;
  lock.risen = static_cast<uint32_t>(p1LastLock.risen);
  lock.hole = p1LastLock.cleared > 0 && !pendingGarbage.empty()
                  ? static_cast<uint32_t>(pendingGarbage.back().record.hole)
                  : 0;
  lock.clock = static_cast<uint32_t>(onlineClock);
  lock.checksum = boardChecksum(p1Board);
  localChain = chainChecksum(localChain, lock.checksum);
  send(lock);
  lastMoveField = localField();
  if (p1GameOver) endLocalGame(true);
}

void resetGame();

// Sets up a game from a start message on either side: the host's pieces, its seed for the
// sequence, fresh boards. False when this game cannot play the host's pieces.
bool beginGame(const Message& start) {
  if (start.selection.size() != loadedPieces.size()) return false;
  setAsideOwnSelection();
  pieceSelection = start.selection;
  seedStream(onlinePieceStream, start.seed);
  pieceStream = &onlinePieceStream;
  gameMode = onlineVersusMode;
  setUpGame();
  if (pieceCatalogue.size() != start.pieces.size()) return false;
  for (size_t k = 0; k < pieceCatalogue.size(); ++k)
    if (pieceCatalogue[k].grids != start.pieces[k].grids) return false;
  onlineSeed = start.seed;
  onlineGameNumber = start.gameNumber;
  resetGame();
  // Both sides count down together: the host's start reaches the guest half a round trip later.
  double length = localIsLab && opponentIsLab ? 0.0 : countdownMs;
  double travel = onlineIsHost && onlineLatency > 0.0 ? onlineLatency / 2.0 : 0.0;
  countdownEnd = netClock() + length + travel;
  onlinePhase = OnlinePhase::playing;
  onlineStatus.clear();
  return true;
}

// This side's and the copy's counts of a fresh game (boards and pieces set up already).
void resetGame() {
  onlineClock = 0.0;
  localLocks = remoteLocks = remoteAcked = remoteClock = 0;
  localChain = remoteChain = 0;
  localEnded = remoteEnded = localToppedOut = remoteToppedOut = false;
  localEndClock = remoteEndClock = 0;
  localRematch = remoteRematch = false;
  onlineResult = OnlineResult::undecided;
  onlineReason.clear();
  foulFound = Foul::none;
  pendingGarbage.clear();
  copyArrivals.clear();
  p2IncomingDamage.clear();
  lockHook = localLockHeard;
  localGarbageReceived = 0;
  framesRecorded = 0;
  gameEvents.clear();
  lastMoveField = localField();
}

// The opponent's falling piece, drawn where it said, as long as it is the copy's piece.
void receiveMove(const Message& move) {
  const FieldView& f = move.field;
  if (f.pieceCount != p2PieceCount || f.pieceId != p2PieceId || f.heldPiece != p2HeldPiece) return;
  p2Rotation = f.rotation;
  p2Position = f.position;
}

} // namespace

double netClock() {
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void resetConnectionState() {
  onlineLatency = -1.0;
  lastPingSent = lastMoveSent = 0.0;
  bytesSent = bytesReceived = messagesSent = messagesReceived = 0;
  connectionStart = floodWindowStart = netClock();
  floodWindowCount = 0;
  onlineGameNumber = 0;
  checksumMismatches = 0;
  onlineResult = OnlineResult::undecided;
  onlineReason.clear();
  matchWins = matchLosses = 0;
  connectionLost = false;
}

void greetOpponent() {
  Message hello;
  hello.type = MessageType::hello;
  hello.gameVersion = gameVersion;
  hello.labBot = localIsLab;
  send(hello);
}

void startNextGame() {
  Message start;
  start.type = MessageType::start;
  start.seed = nextGameSeed != 0
                   ? nextGameSeed
                   : static_cast<uint32_t>(randomDraw()) ^ static_cast<uint32_t>(netClock());
  start.gameNumber = static_cast<uint16_t>(onlineGameNumber + 1);
  if (!ownPieceSelection.empty()) pieceSelection = ownPieceSelection; // the host deals its own
  rebuildCatalogue();
  start.selection = pieceSelection;
  start.pieces = pieceCatalogue;
  if (start.selection.size() > maxLoadedPieces || start.pieces.size() > maxOnlinePieces ||
      encodeMessage(start).size() > maxMessageSize) {
    closeOnline(CloseReason::pieces);
    onlineStatus = "Too many pieces to play online";
    return;
  }
  send(start);
  beginGame(start);
}

void afterLocalStep() {
  if (onlinePhase != OnlinePhase::playing || localEnded) return;
  if (netClock() - lastMoveSent >= moveInterval && !samePiece(localField(), lastMoveField)) {
    Message move;
    move.type = MessageType::move;
    move.field = localField();
    send(move, false);
    lastMoveField = move.field;
    lastMoveSent = netClock();
  }
}

void endLocalGame(bool toppedOut) {
  if (localEnded) return;
  localEnded = true;
  localToppedOut = toppedOut;
  localEndClock = static_cast<uint32_t>(onlineClock);
  // Stopped by the opponent's top-out: this game lasted at least as long.
  if (!toppedOut && remoteToppedOut && remoteEndClock > localEndClock)
    localEndClock = remoteEndClock;
  Message end;
  end.type = MessageType::end;
  end.toppedOut = toppedOut;
  end.clock = localEndClock;
  end.piecesLocked = localLocks;
  end.chain = localChain;
  send(end);
  onlinePhase = OnlinePhase::finished;
  decideResult();
}

void stepLocalPlay() {
  stepPlayer(1);
  for (DamageRecord& record : p1IncomingDamage) record.timer -= frameDelta;
  onlineClock += frameDelta * 10.0;
  gameClock += frameDelta;
  // Gravity quickens as in "Player Versus".
  gravityInterval -= gravityInterval / 10.0 * (frameDelta / 1000.0);
  if (gravityInterval <= fastestGravity) gravityInterval = fastestGravity;
  afterLocalStep();
}

void requestRematch() {
  if (onlinePhase != OnlinePhase::finished || localRematch) return;
  localRematch = true;
  Message rematch;
  rematch.type = MessageType::rematch;
  send(rematch);
  if (onlineIsHost && remoteRematch && onlineResult != OnlineResult::undecided) startNextGame();
}

void sendPingWhenDue() {
  if (onlinePeer == nullptr || netClock() - lastPingSent < pingInterval) return;
  lastPingSent = netClock();
  Message ping;
  ping.type = MessageType::ping;
  ping.stamp = static_cast<uint32_t>(lastPingSent);
  send(ping);
}

bool handleMessage(const Message& message, CloseReason& reason) {
  reason = CloseReason::badMessage;
  bool inGame = onlinePhase == OnlinePhase::playing || onlinePhase == OnlinePhase::finished;
  switch (message.type) {
  case MessageType::hello:
    if (opponentGreeted) return false;
    if (message.gameVersion != gameVersion) {
      reason = CloseReason::version;
      return false;
    }
    opponentGreeted = true;
    opponentIsLab = message.labBot;
    if (onlineIsHost) {
      greetOpponent();
      startNextGame();
    } else {
      onlineStatus = "Connected: waiting for the game";
    }
    return true;
  case MessageType::start:
    if (onlineIsHost || !opponentGreeted) return false;
    if (inGame && onlineResult == OnlineResult::undecided) return false;
    if (!beginGame(message)) {
      reason = CloseReason::pieces;
      return false;
    }
    return true;
  case MessageType::lock:
    if (!inGame) return false;
    receiveLock(message);
    return true;
  case MessageType::move:
    if (!inGame) return false;
    receiveMove(message);
    return true;
  case MessageType::end:
    if (!inGame) return false;
    receiveEnd(message);
    return true;
  case MessageType::foul:
    if (!inGame) return false;
    receiveFoul(message);
    return true;
  case MessageType::rematch:
    if (!inGame || remoteRematch) return false;
    remoteRematch = true;
    if (onlineIsHost && localRematch && onlineResult != OnlineResult::undecided) startNextGame();
    return true;
  case MessageType::leave:
    reason = CloseReason::left;
    return false;
  case MessageType::ping: {
    Message pong;
    pong.type = MessageType::pong;
    pong.stamp = message.stamp;
    send(pong);
    return true;
  }
  case MessageType::pong:
    onlineLatency = static_cast<double>(static_cast<uint32_t>(netClock()) - message.stamp);
    return true;
  }
  return false;
}

bool receiveBytes(const uint8_t* data, size_t size, CloseReason& reason) {
  bytesReceived += size;
  ++messagesReceived;
  bool inGame = onlinePhase == OnlinePhase::playing || onlinePhase == OnlinePhase::finished;
  Message message;
  std::string problem;
  bool versionMismatch = false;
  int32_t pieceTypes = inGame ? static_cast<int32_t>(pieceCatalogue.size()) : 0;
  if (!decodeMessage(data, size, pieceTypes, message, problem, &versionMismatch)) {
    // Only a first word can differ in version: once the two have agreed, bytes that do not
    // read are bytes that are wrong.
    reason = versionMismatch && !opponentGreeted ? CloseReason::version : CloseReason::badMessage;
    return false;
  }
  // What can change this game goes into its replay as it came (moves only draw).
  bool shapesGame = message.type == MessageType::lock || message.type == MessageType::end ||
                    message.type == MessageType::foul;
  if (inGame && shapesGame && onlineResult == OnlineResult::undecided)
    gameEvents.push_back({framesRecorded, std::string(reinterpret_cast<const char*>(data), size)});
  return handleMessage(message, reason);
}

void settleOnClose(CloseReason reason, bool byOpponent) {
  bool inGame = onlinePhase == OnlinePhase::playing || onlinePhase == OnlinePhase::finished;
  if (!inGame || onlineResult != OnlineResult::undecided) return;
  bool host = onlineIsHost;
  switch (reason) {
  case CloseReason::left:
    // Leaving on purpose loses.
    settle(sideWins(byOpponent ? host : !host), byOpponent ? "Opponent left" : "You left");
    break;
  case CloseReason::badMessage:
  case CloseReason::flood:
  case CloseReason::version:
  case CloseReason::pieces:
    // The side thrown out loses.
    if (byOpponent)
      settle(sideWins(!host), closeReasonText(reason));
    else
      settle(sideWins(host), reason == CloseReason::flood ? "Opponent sent too many messages"
                                                          : "Opponent sent malformed data");
    break;
  case CloseReason::busy:
  case CloseReason::none:
  case CloseReason::lost:
    settle(OnlineResult::noResult, "Connection lost: no result");
    break;
  }
  localEnded = true;
}

std::string resultName(OnlineResult result) {
  switch (result) {
  case OnlineResult::host:
    return "host";
  case OnlineResult::guest:
    return "guest";
  case OnlineResult::draw:
    return "draw";
  case OnlineResult::noResult:
    return "no-result";
  case OnlineResult::brokeRulesHost:
    return "broke-rules-host";
  case OnlineResult::brokeRulesGuest:
    return "broke-rules-guest";
  case OnlineResult::undecided:
    break;
  }
  return "";
}

std::string outcomeText() {
  switch (onlineResult) {
  case OnlineResult::host:
  case OnlineResult::guest:
    return onlineResult == sideWins(onlineIsHost) ? "You win" : "You lose";
  case OnlineResult::draw:
    return "Draw";
  case OnlineResult::noResult:
    return "No result";
  case OnlineResult::brokeRulesHost:
  case OnlineResult::brokeRulesGuest:
    return (onlineResult == OnlineResult::brokeRulesHost) == onlineIsHost
               ? "Your game broke the rules"
               : "Opponent's game broke the rules";
  case OnlineResult::undecided:
    break;
  }
  return "";
}

int countdownShown() {
  double left = countdownEnd - netClock();
  return left > 0.0 ? static_cast<int>(left / 1000.0) + 1 : 0;
}

std::string matchScoreText() {
  return "You " + std::to_string(matchWins) + " \u2013 " + std::to_string(matchLosses) +
         " Opponent";
}

const char* foulText(Foul foul) {
  switch (foul) {
  case Foul::undealtPiece:
    return "a piece that was not dealt";
  case Foul::doesNotFit:
    return "a placement that does not fit";
  case Foul::floats:
    return "a placement that floats";
  case Foul::secondHold:
    return "a second hold";
  case Foul::boardDiffers:
    return "a board that differs from the copy";
  case Foul::garbageClaimed:
    return "garbage that could not rise";
  case Foul::garbageHeldBack:
    return "garbage held back";
  case Foul::outOfOrder:
    return "events out of order";
  case Foul::afterTopOut:
    return "a lock after topping out";
  case Foul::falseEnd:
    return "an end that does not match the game";
  case Foul::none:
    break;
  }
  return "";
}

const char* closeReasonText(CloseReason reason) {
  switch (reason) {
  case CloseReason::busy:
    return "Host busy: it already has an opponent";
  case CloseReason::version:
    return "Version mismatch: both players need the same version of Brikka";
  case CloseReason::badMessage:
    return "Malformed message: connection closed";
  case CloseReason::flood:
    return "Connection closed: too many messages";
  case CloseReason::pieces:
    return "The host plays pieces this game does not have";
  case CloseReason::left:
    return "Opponent left";
  case CloseReason::lost:
    return "Connection lost: no result";
  case CloseReason::none:
    break;
  }
  return "Connection closed";
}

void restoreOwnPieces() {
  pieceStream = nullptr;
  lockHook = nullptr;
  if (restoreOwnSelection()) rebuildCatalogue();
}

namespace {

// The opponent's messages due before the replay's next frame, played as they were then.
void playDueEvents(uint32_t frame) {
  const std::vector<ReplayEvent>& events = onlineReplay->events;
  for (; replayEventAt < events.size() && events[replayEventAt].frame <= frame; ++replayEventAt) {
    const std::string& bytes = events[replayEventAt].bytes;
    Message message;
    std::string problem;
    CloseReason reason;
    if (decodeMessage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                      static_cast<int32_t>(pieceCatalogue.size()), message, problem))
      handleMessage(message, reason);
  }
}

void replayFrame(bool stepped) {
  if (!onlineReplay) return;
  playDueEvents(framesRecorded);
  ++framesRecorded;
  if (stepped && onlinePhase == OnlinePhase::playing && !matchOver) stepLocalPlay();
}

} // namespace

bool startOnlineReplay(const Replay& replay, std::string* error) {
  // The sequence comes from the game's own stream, as it did: set before the boards are dealt.
  seedStream(onlinePieceStream, replay.onlineSeed);
  pieceStream = &onlinePieceStream;
  if (!startReplay(replay, error)) {
    pieceStream = nullptr;
    return false;
  }
  onlineIsHost = replay.onlineHost;
  onlineSeed = replay.onlineSeed;
  resetGame();
  countdownEnd = 0.0;
  onlinePhase = OnlinePhase::playing;
  onlineReplay = &replay;
  replayEventAt = 0;
  onlineReplayStep = replayFrame;
  return true;
}

void endOnlineReplay() {
  // What came after the last frame.
  if (onlineReplay) playDueEvents(replayFrameLimit);
  onlineReplay = nullptr;
  onlineReplayStep = nullptr;
  lockHook = nullptr;
  pieceStream = nullptr;
  onlinePhase = OnlinePhase::idle;
  endReplay();
}

bool resimulateOnline(const Replay& replay, ReplayResult& result, std::string* error) {
  if (!startOnlineReplay(replay, error)) return false;
  uint32_t frames = playReplayFrames(replay);
  playDueEvents(replayFrameLimit);
  result = currentResult(frames);
  endOnlineReplay();
  return true;
}
