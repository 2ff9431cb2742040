// The game-level protocol: each side plays its own board from the host's seed and tells the
// other what it needs to draw it, what garbage it sent, and when its game ended. Nothing here
// knows about sockets: bytes go out through sendBytes and come in through receiveBytes.
#include "net/net.h"

#include <chrono>

namespace {

constexpr double moveInterval = 1000.0 / 30.0; // the falling piece at most 30 times a second
constexpr double pingInterval = 1000.0;
constexpr int32_t maxCountStep = 4;        // pieces a side may take between two reports
constexpr size_t maxIncomingRecords = 128; // garbage waiting here; more cannot fit a board

void send(const Message& message, bool reliable = true) {
  sendBytes(encodeMessage(message), reliable);
}

int32_t localLockCount() {
  // Holding into an empty slot takes a piece without a lock; it happens once a game.
  return p1PieceCount - (p1HeldPiece != 0 ? 1 : 0);
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

// The opponent's piece on the right board. Its place in the shared sequence moves on as the
// opponent takes pieces, so the previews beside its board come from the same sequence.
bool applyRemotePiece(const FieldView& field) {
  if (field.pieceCount < p2PieceCount) return true; // an older move overtaken by a lock
  if (field.pieceCount > p2PieceCount + maxCountStep) return false;
  while (p2PieceCount < field.pieceCount) takeNextPiece(2);
  p2PieceId = field.pieceId;
  p2Rotation = field.rotation;
  p2Position = field.position;
  p2HeldPiece = field.heldPiece;
  return true;
}

// Who won, from the two End messages, the same way on both sides: 0 host, 1 guest, 2 draw.
// Both topped out: the earlier top-out on its own game clock loses (equal clocks: the guest,
// so that the rule never has to guess). Neither (a bot's piece limit): more lines wins.
int winnerSide(const Message& host, const Message& guest) {
  if (host.toppedOut != guest.toppedOut) return host.toppedOut ? 1 : 0;
  if (host.toppedOut) return host.milliseconds < guest.milliseconds ? 1 : 0;
  if (host.lines != guest.lines) return host.lines > guest.lines ? 0 : 1;
  return 2;
}

void decideOutcome() {
  if (!localEnded || !remoteEnded || onlineOutcome != Outcome::undecided) return;
  // Every board the opponent sent was chained on both sides: the chains agree when what this
  // side drew is what the other side had.
  if (remoteEnd.chain != remoteChain) ++checksumMismatches;
  const Message& host = onlineIsHost ? localEnd : remoteEnd;
  const Message& guest = onlineIsHost ? remoteEnd : localEnd;
  int winner = winnerSide(host, guest);
  if (winner == 2)
    onlineOutcome = Outcome::draw;
  else
    onlineOutcome = (winner == 0) == onlineIsHost ? Outcome::won : Outcome::lost;
  matchOver = true;
}

// Sets up a game from a start message on either side: the host's pieces, its seed for the
// sequence, fresh boards. False when this game cannot play the host's pieces.
bool beginGame(const Message& start) {
  if (start.selection.size() != loadedPieces.size()) return false;
  if (savedSelection.empty()) savedSelection = pieceSelection;
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
  onlineClock = 0.0;
  localLocks = remoteLocks = localLines = remoteLines = localGarbageSent = 0;
  localChain = remoteChain = 0;
  localEnded = remoteEnded = localRematch = remoteRematch = false;
  localEnd = remoteEnd = Message{};
  onlineOutcome = Outcome::undecided;
  remoteScore = 0;
  reportedWaiting = 0;
  lastMoveField = localField();
  onlinePhase = OnlinePhase::playing;
  onlineStatus.clear();
  return true;
}

void sendLock() {
  Message lock;
  lock.type = MessageType::lock;
  lock.lockIndex = localLocks;
  lock.field = localField();
  lock.score = score;
  lock.lines = localLines;
  // Records the lock added to the opponent's list are this lock's garbage.
  for (size_t i = reportedWaiting; i < p2IncomingDamage.size(); ++i) {
    lock.sent.push_back(p2IncomingDamage[i]);
    localGarbageSent += static_cast<uint32_t>(p2IncomingDamage[i].rows);
  }
  reportedWaiting = p2IncomingDamage.size();
  lock.waiting = p1IncomingDamage;
  lock.checksum = boardChecksum(p1Board);
  localChain = chainChecksum(localChain, lock.checksum);
  // One lock clears at most a board's height, so its garbage fits the records sent; the
  // message's own limit keeps a bug from writing what the reader must refuse.
  if (lock.sent.size() > maxSentRecords) lock.sent.resize(maxSentRecords);
  if (lock.waiting.size() > maxWaitingRecords) lock.waiting.resize(maxWaitingRecords);
  send(lock);
  lastMoveField = lock.field;
}

bool receiveLock(const Message& lock) {
  // Ordered and reliable: each lock counts on from the last (two may share a report).
  if (lock.lockIndex <= remoteLocks || lock.lockIndex > remoteLocks + maxCountStep) return false;
  remoteLocks = lock.lockIndex;
  uint32_t drawn = boardChecksum(lock.field.board);
  if (drawn != lock.checksum) ++checksumMismatches;
  remoteChain = chainChecksum(remoteChain, drawn);
  if (!applyRemotePiece(lock.field)) return false;
  p2Board = lock.field.board;
  remoteScore = lock.score;
  remoteLines = lock.lines;
  // What waits for the opponent is drawn beside its board, as it reported it.
  p2IncomingDamage = lock.waiting;
  reportedWaiting = p2IncomingDamage.size();
  if (onlinePhase != OnlinePhase::playing || localEnded) return true;
  for (const DamageRecord& record : lock.sent)
    if (p1IncomingDamage.size() < maxIncomingRecords) p1IncomingDamage.push_back(record);
  return true;
}

bool receiveEnd(const Message& end) {
  if (remoteEnded) return false;
  remoteEnded = true;
  remoteEnd = end;
  // The opponent topped out: this side stops where it stands, the winner unless it topped out
  // earlier on its own clock (its End is then on its way). An opponent that stopped for another
  // reason (a bot's piece limit) leaves this side to finish its own game.
  if (!localEnded && end.toppedOut) endLocalGame(false);
  decideOutcome();
  return true;
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
  onlineOutcome = Outcome::undecided;
}

void greetOpponent() {
  Message hello;
  hello.type = MessageType::hello;
  hello.gameVersion = gameVersion;
  send(hello);
}

void startNextGame() {
  Message start;
  start.type = MessageType::start;
  start.seed = nextGameSeed != 0
                   ? nextGameSeed
                   : static_cast<uint32_t>(randomDraw()) ^ static_cast<uint32_t>(netClock());
  start.gameNumber = static_cast<uint16_t>(onlineGameNumber + 1);
  if (!savedSelection.empty()) pieceSelection = savedSelection;
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
  localLines = static_cast<uint32_t>(score / 100);
  int32_t locks = localLockCount();
  if (locks > static_cast<int32_t>(localLocks)) {
    localLocks = static_cast<uint32_t>(locks);
    sendLock();
  } else if (netClock() - lastMoveSent >= moveInterval && !samePiece(localField(), lastMoveField)) {
    Message move;
    move.type = MessageType::move;
    move.field = localField();
    send(move, false);
    lastMoveField = move.field;
    lastMoveSent = netClock();
  }
  if (p1GameOver) endLocalGame(true);
}

void endLocalGame(bool toppedOut) {
  if (localEnded) return;
  localEnded = true;
  localEnd = Message{};
  localEnd.type = MessageType::end;
  localEnd.toppedOut = toppedOut;
  localEnd.milliseconds = static_cast<uint32_t>(onlineClock);
  localEnd.lines = localLines;
  localEnd.piecesLocked = localLocks;
  localEnd.garbageSent = localGarbageSent;
  localEnd.chain = localChain;
  send(localEnd);
  onlinePhase = OnlinePhase::finished;
  decideOutcome();
}

void requestRematch() {
  if (onlinePhase != OnlinePhase::finished || localRematch) return;
  localRematch = true;
  Message rematch;
  rematch.type = MessageType::rematch;
  send(rematch);
  if (onlineIsHost && remoteRematch && onlineOutcome != Outcome::undecided) startNextGame();
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
    if (onlineIsHost) {
      greetOpponent();
      startNextGame();
    } else {
      onlineStatus = "Connected: waiting for the game";
    }
    return true;
  case MessageType::start:
    if (onlineIsHost || !opponentGreeted) return false;
    if (inGame && !(localEnded && remoteEnded)) return false;
    if (!beginGame(message)) {
      reason = CloseReason::pieces;
      return false;
    }
    return true;
  case MessageType::lock:
    return inGame && receiveLock(message);
  case MessageType::move:
    if (!inGame) return false;
    if (message.field.pieceCount < p2PieceCount) return true;
    return applyRemotePiece(message.field);
  case MessageType::end:
    return inGame && receiveEnd(message);
  case MessageType::rematch:
    if (!inGame || remoteRematch) return false;
    remoteRematch = true;
    if (onlineIsHost && localRematch && onlineOutcome != Outcome::undecided) startNextGame();
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
    reason = versionMismatch ? CloseReason::version : CloseReason::badMessage;
    return false;
  }
  return handleMessage(message, reason);
}

std::string outcomeText() {
  switch (onlineOutcome) {
  case Outcome::won:
    return "You win";
  case Outcome::lost:
    return "You lose";
  case Outcome::draw:
    return "Draw";
  case Outcome::opponentLeft:
    return "Opponent left";
  case Outcome::undecided:
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
    return "Connection closed: a malformed message";
  case CloseReason::flood:
    return "Connection closed: too many messages";
  case CloseReason::pieces:
    return "The host plays pieces this game does not have";
  case CloseReason::left:
    return "Opponent left";
  case CloseReason::none:
    break;
  }
  return "Connection closed";
}

void restoreOwnPieces() {
  pieceStream = nullptr;
  if (savedSelection.empty()) return;
  pieceSelection = savedSelection;
  savedSelection.clear();
  rebuildCatalogue();
}
