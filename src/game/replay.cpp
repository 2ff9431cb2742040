// Replay files: the format, its writer and its careful reader, which refuses anything that is
// not a whole, sane replay before a single frame is played.
#include "game/replay.h"

#include "game/game.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace {

constexpr char replayMagic[8] = {'B', 'R', 'I', 'K', 'K', 'A', 'R', 'P'};
constexpr size_t maxPieces = 256;  // the catalogue of any piece files the game reads
constexpr size_t maxGridSide = 16; // columns of a grid, and cells of a column
constexpr size_t maxWeights = 64;  // evaluation weights
constexpr size_t maxVersionLength = 64;
constexpr double maxDelta = 1.0e6; // frameDelta units: a frame of almost three hours

// Frame tokens: below 0x80 a run of the previous frame (token + 1 frames); else a new frame,
// its low bits saying what follows.
constexpr uint8_t newFrame = 0x80;
constexpr uint8_t actionsFollow = 0x01;
constexpr uint8_t deltaFollows = 0x02;
constexpr uint8_t clickFollows = 0x04;
constexpr uint8_t notStepped = 0x08;
constexpr uint8_t ticksFollow = 0x10;     // the frame's length as counter ticks, from the last ones
constexpr uint8_t handlingFollows = 0x20; // format 2: cells moved and soft-drop factors changed
constexpr uint32_t longestRun = 128;

// --- writing ---

void putBytes(std::string& out, const void* data, size_t size) {
  out.append(static_cast<const char*>(data), size);
}

// --- reading: every get checks the bytes left, and a failure sticks ---

using Reader = ByteReader;

// A double within [low, high]; anything else (a NaN included) is a fault named by what.
double number(Reader& in, double low, double high, const char* what) {
  uint64_t bits = in.u64();
  double v;
  std::memcpy(&v, &bits, sizeof v);
  if (!std::isfinite(v) || v < low || v > high) in.fail(std::string("bad ") + what);
  return in.ok() ? v : 0.0;
}

uint64_t zigzag(int64_t v) {
  return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
int64_t unzigzag(uint64_t v) {
  return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

void putGrid(std::string& out, const PieceGrid& grid) {
  putU8(out, static_cast<uint32_t>(grid.size()));
  for (const auto& column : grid) {
    putU8(out, static_cast<uint32_t>(column.size()));
    for (int32_t cell : column) putU8(out, cell == 1 ? 1 : 0);
  }
}

PieceGrid getGrid(Reader& in) {
  PieceGrid grid(std::min<size_t>(in.u8(), maxGridSide + 1));
  if (grid.size() > maxGridSide) in.fail("piece too large");
  for (auto& column : grid) {
    size_t length = in.u8();
    if (length > maxGridSide) in.fail("piece too large");
    if (!in.problem.empty()) return {};
    column.resize(length);
    for (int32_t& cell : column) cell = in.u8() == 1 ? 1 : 0;
  }
  return grid;
}

void putResult(std::string& out, const ReplayResult& r) {
  putU32(out, static_cast<uint32_t>(r.score));
  putU32(out, static_cast<uint32_t>(r.lines));
  putU32(out, static_cast<uint32_t>(r.pieces));
  putU32(out, static_cast<uint32_t>(r.garbageSent));
  putU32(out, r.frames);
  putDouble(out, r.clock);
  putU64(out, r.boardHash);
}

ReplayResult getResult(Reader& in) {
  ReplayResult r;
  r.score = static_cast<int32_t>(in.u32());
  r.lines = static_cast<int32_t>(in.u32());
  r.pieces = static_cast<int32_t>(in.u32());
  r.garbageSent = static_cast<int32_t>(in.u32());
  r.frames = in.u32();
  r.clock = number(in, 0.0, 1.0e12, "game time");
  r.boardHash = in.u64();
  if (r.frames > replayFrameLimit) in.fail("too many frames");
  return r;
}

void putFrame(std::string& out, const ReplayFrame& f, uint64_t frequency,
              ReplayFrameContext& context) {
  uint8_t token = newFrame;
  if (context.first || f.actions != context.previous.actions) token |= actionsFollow;
  if (context.first || f.delta != context.previous.delta) {
    bool exact = f.ticks != 0 && frameDeltaFromCounter(f.ticks, frequency) == f.delta;
    token |= exact ? ticksFollow : deltaFollows;
  }
  if (f.clicked) token |= clickFollows;
  if (!f.stepped) token |= notStepped;
  if (context.format >= 2 && !sameHandling(f, context.previous)) token |= handlingFollows;
  putU8(out, token);
  if (token & actionsFollow) putU8(out, f.actions & 0xFF), putU8(out, f.actions >> 8);
  if (token & deltaFollows) putDouble(out, f.delta);
  if (token & ticksFollow) {
    putVarint(out, zigzag(static_cast<int64_t>(f.ticks - context.previousTicks)));
    context.previousTicks = f.ticks;
  }
  if (token & clickFollows) putVarint(out, zigzag(f.clickSum));
  if (token & handlingFollows)
    for (int i = 0; i < 2; ++i) putU8(out, f.moveCells[i]), putU8(out, f.softDropFactor[i] + 1);
  for (uint32_t left = f.repeat - 1; left > 0;) {
    uint32_t run = std::min(left, longestRun);
    putU8(out, run - 1);
    left -= run;
  }
  context.previous = f;
  context.first = false;
}

void putFrames(std::string& out, const std::vector<ReplayFrame>& frames, uint64_t frequency,
               uint32_t format) {
  ReplayFrameContext context;
  context.format = format;
  for (const ReplayFrame& f : frames) putFrame(out, f, frequency, context);
}

// One entry (a frame and its repeats, at most limit frames) from in; false at the end of the
// frames or on a fault (in.problem set). The limit keeps bytes after the frames (an online
// game's other side) from being read as repeats.
bool getFrame(Reader& in, uint64_t frequency, ReplayFrameContext& context, ReplayFrame& out,
              uint64_t limit = UINT64_MAX) {
  if (!in.problem.empty() || in.at >= in.size) return false;
  uint32_t token = in.u8();
  if (!(token & newFrame)) return in.fail("frames start with a repeat");
  uint32_t unknown = context.format >= 2 ? 0x40 : 0x60;
  if (token & unknown || ((token & ticksFollow) && (token & deltaFollows || frequency == 0)))
    return in.fail("unknown frame token");
  ReplayFrame f = context.previous;
  f.repeat = 1;
  if (context.first && (!(token & actionsFollow) || !(token & (deltaFollows | ticksFollow))))
    return in.fail("first frame incomplete");
  if (token & actionsFollow) {
    uint32_t low = in.u8();
    f.actions = static_cast<uint16_t>(low | in.u8() << 8);
  }
  if (f.actions >> 14) in.fail("unknown action flags");
  if (token & deltaFollows) f.delta = number(in, 0.0, maxDelta, "frame time");
  f.ticks = 0;
  if (token & ticksFollow) {
    f.ticks = context.previousTicks + static_cast<uint64_t>(unzigzag(in.varint()));
    context.previousTicks = f.ticks;
    f.delta = frameDeltaFromCounter(f.ticks, frequency);
    if (f.ticks == 0 || !(f.delta <= maxDelta)) in.fail("bad frame time");
  }
  f.clicked = token & clickFollows;
  f.clickSum = 0;
  if (f.clicked) {
    int64_t sum = unzigzag(in.varint());
    if (sum < -1000000 || sum > 1000000) in.fail("bad click");
    f.clickSum = static_cast<int32_t>(sum);
  }
  f.stepped = !(token & notStepped);
  if (token & handlingFollows)
    for (int i = 0; i < 2; ++i) {
      f.moveCells[i] = static_cast<int32_t>(in.u8());
      f.softDropFactor[i] = static_cast<int32_t>(in.u8()) - 1;
      if (f.moveCells[i] < 1 || f.moveCells[i] > boardWidth || f.softDropFactor[i] > 40)
        in.fail("bad handling");
    }
  // Its repeats: every token below newFrame that follows.
  while (in.problem.empty() && in.at < in.size && f.repeat < limit &&
         !(static_cast<unsigned char>(in.data[in.at]) & newFrame)) {
    f.repeat += in.u8() + 1;
    if (f.repeat > replayFrameLimit) in.fail("too many frames");
  }
  context.previous = f;
  context.previous.clicked = false;
  context.first = false;
  out = f;
  return in.problem.empty();
}

// Walks every frame once: counted as the result says, and each written the way this game
// writes it, so that a replay read writes back the same.
void checkFrames(Reader& in, uint32_t expected, uint64_t frequency, uint32_t format) {
  ReplayFrameContext reading, writing;
  reading.format = writing.format = format;
  ReplayFrame f;
  uint64_t total = 0;
  std::string again;
  for (size_t start = in.at;
       total < expected && getFrame(in, frequency, reading, f, expected - total); start = in.at) {
    total += f.repeat;
    if (total > expected) {
      in.fail("more frames than the result counts");
      return;
    }
    again.clear();
    putFrame(again, f, frequency, writing);
    if (again.size() != in.at - start ||
        again.compare(0, again.size(), in.data + start, again.size()) != 0) {
      in.fail("damaged: not written the way this game writes");
      return;
    }
  }
  if (in.problem.empty() && total != expected) in.fail("cut short: fewer frames than counted");
}

// The opponent's messages of an online game, each no later than the frames allow.
void getEvents(Reader& in, Replay& r) {
  r.onlineSeed = in.u32();
  uint32_t host = in.u8();
  if (host > 1) in.fail("bad side");
  r.onlineHost = host == 1;
  uint32_t count = in.u32();
  if (count > replayFrameLimit) in.fail("too many events");
  uint32_t last = 0;
  for (uint32_t i = 0; i < count && in.problem.empty(); ++i) {
    ReplayEvent event;
    uint64_t frame = in.varint();
    uint64_t size = in.varint();
    if (frame < last || frame > r.result.frames) in.fail("events out of order");
    if (size == 0 || size > replayEventLimit || size > in.size - in.at) in.fail("bad event");
    if (!in.problem.empty()) return;
    event.frame = static_cast<uint32_t>(frame);
    event.bytes.assign(in.data + in.at, size);
    in.at += size;
    last = event.frame;
    r.events.push_back(std::move(event));
  }
}

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

// "1.10.2" against "1.9": number by number, a missing one counting as 0; anything after the
// numbers ("-dev") is not compared.
bool laterVersion(const std::string& version, const std::string& than) {
  size_t a = 0, b = 0;
  auto next = [](const std::string& text, size_t& at) {
    uint64_t number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
           number < 1000000000)
      number = number * 10 + static_cast<uint64_t>(text[at++] - '0');
    if (at < text.size() && text[at] == '.')
      ++at;
    else
      at = text.size();
    return number;
  };
  while (a < version.size() || b < than.size()) {
    uint64_t x = next(version, a), y = next(than, b);
    if (x != y) return x > y;
  }
  return false;
}

} // namespace

namespace {

// Everything before the frames.
void putHeader(std::string& out, const Replay& replay) {
  putBytes(out, replayMagic, sizeof replayMagic);
  putU32(out, replay.format);
  std::string version = replay.gameVersion.substr(0, maxVersionLength);
  putU8(out, static_cast<uint32_t>(version.size()));
  out += version;
  putU8(out, static_cast<uint32_t>(replay.mode));
  putU8(out, static_cast<uint32_t>(replay.variant));
  putU64(out, static_cast<uint64_t>(replay.date));
  putU32(out, static_cast<uint32_t>(replay.pieces.size()));
  for (size_t i = 0; i < replay.pieces.size(); ++i) {
    putU32(out, static_cast<uint32_t>(replay.pieceSource[i]));
    for (const PieceGrid& grid : replay.pieces[i].grids) putGrid(out, grid);
  }
  putU8(out, static_cast<uint32_t>(replay.weights.size()));
  for (double w : replay.weights) putDouble(out, w);
  putDouble(out, replay.botStepInterval);
  putDouble(out, replay.botMoveTimer);
  putU8(out, replay.botStepwise);
  putU8(out, replay.botUsesNetwork);
  putU64(out, replay.networkHash);
  putDouble(out, replay.p1Sensitivity);
  putDouble(out, replay.p2Sensitivity);
  putBytes(out, replay.random.table.data(), replay.random.table.size());
  putU8(out, static_cast<uint32_t>(replay.random.front));
  putU8(out, static_cast<uint32_t>(replay.random.rear));
  putU64(out, replay.counterFrequency);
  putResult(out, replay.result);
}

} // namespace

std::string replayBytes(const Replay& replay) {
  std::string out;
  putHeader(out, replay);
  if (replay.frames.empty())
    out += replay.frameBytes; // a replay read from a file keeps its frames as they came
  else
    putFrames(out, replay.frames, replay.counterFrequency, replay.format);
  if (replay.mode == onlineVersusMode) {
    putU32(out, replay.onlineSeed);
    putU8(out, replay.onlineHost ? 1 : 0);
    putU32(out, static_cast<uint32_t>(replay.events.size()));
    for (const ReplayEvent& event : replay.events) {
      putVarint(out, event.frame);
      putVarint(out, event.bytes.size());
      out += event.bytes;
    }
  }
  putU64(out, replayCheckSum(out));
  return out;
}

double frameDeltaFromCounter(uint64_t ticks, uint64_t frequency) {
  // The product in 64-bit integers, then the two divisions in double, as the frame clock has
  // always done it: the same bits for the same ticks.
  uint64_t scaled = ticks * 1000;
  return static_cast<double>(scaled) / static_cast<double>(frequency) / 10.0;
}

uint64_t replayCheckSum(const std::string& body) {
  return hashBytes(hashStart, body.data(), body.size());
}

namespace {

// whole is taken over: the frames' bytes stay in the replay, undecoded, without a copy.
bool readReplay(std::string whole, Replay& replay, std::string* error, bool checkAllFrames) {
  // The last eight bytes are a hash of all the others: a file damaged anywhere is refused.
  // It is checked last, so that everything before it is read as carefully as if it matched.
  size_t body = whole.size() >= 8 ? whole.size() - 8 : 0;
  Reader in = readerOf(whole, 0, body);
  char magic[sizeof replayMagic] = {};
  in.take(magic, sizeof magic);
  if (!in.problem.empty() || std::memcmp(magic, replayMagic, sizeof magic) != 0)
    return fail(error, "not a Brikka replay");
  uint32_t format = in.u32();
  if (format < 1 || format > replayFormatVersion)
    return fail(error, "replay format " + std::to_string(format) + " is not one this build reads");
  Replay r;
  r.format = format;
  r.gameVersion.resize(in.u8());
  in.take(r.gameVersion.data(), r.gameVersion.size());
  // A later game may play by other rules: its replays would play back wrong here, not fail.
  if (in.problem.empty() && laterVersion(r.gameVersion, gameVersion)) {
    std::string shown = r.gameVersion; // the file's bytes: said on one line, printable
    for (char& c : shown)
      if (c < 0x20 || c > 0x7e) c = '?';
    return fail(error, "made by Brikka " + shown + "; this is " + gameVersion);
  }
  r.mode = static_cast<int32_t>(in.u8());
  r.variant = static_cast<int32_t>(in.u8());
  if (in.problem.empty() && !isPlayMode(r.mode) && r.mode != onlineVersusMode)
    in.fail("unknown game mode");
  if (r.variant > ultraVariant || (r.mode != soloPlayMode && r.variant != 0))
    in.fail("unknown variant");
  r.date = static_cast<int64_t>(in.u64());
  uint32_t count = in.u32();
  if (count == 0 || count > maxPieces) in.fail("bad piece count");
  for (uint32_t i = 0; i < count && in.problem.empty(); ++i) {
    uint32_t source = in.u32();
    if (source >= maxPieces) in.fail("bad piece number");
    r.pieceSource.push_back(static_cast<int32_t>(source));
    Piece piece;
    for (PieceGrid& grid : piece.grids) grid = getGrid(in);
    r.pieces.push_back(piece);
  }
  for (size_t i = 0; i < r.pieceSource.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (r.pieceSource[i] <= r.pieceSource[j]) in.fail("pieces out of order");
  size_t weights = in.u8();
  if (weights > maxWeights) in.fail("too many weights");
  for (size_t i = 0; i < weights && in.problem.empty(); ++i)
    r.weights.push_back(number(in, -1.0e9, 1.0e9, "weight"));
  r.botStepInterval = number(in, 0.0, 1.0e6, "bot interval");
  r.botMoveTimer = number(in, -1.0e9, 1.0e9, "bot timer");
  r.botStepwise = in.u8() != 0;
  r.botUsesNetwork = in.u8() != 0;
  r.networkHash = in.u64();
  r.p1Sensitivity = number(in, -1.0e6, 1.0e6, "sensitivity");
  r.p2Sensitivity = number(in, -1.0e6, 1.0e6, "sensitivity");
  in.take(r.random.table.data(), r.random.table.size());
  r.random.front = static_cast<int32_t>(in.u8());
  r.random.rear = static_cast<int32_t>(in.u8());
  RandomStream check;
  if (in.problem.empty() && !restoreRandomState(check, r.random)) in.fail("bad random state");
  r.counterFrequency = in.u64();
  r.result = getResult(in);
  // A frame takes at least a byte and a byte repeats at most longestRun frames: a count beyond
  // that is no honest file's, and nothing is set aside for it.
  if (in.problem.empty() && r.result.frames > (body - in.at) * uint64_t{longestRun})
    in.fail("more frames than a file of its size can hold");
  size_t framesStart = in.at;
  // An online game's other side follows its frames: they are walked to find where it starts.
  if (checkAllFrames || r.mode == onlineVersusMode)
    checkFrames(in, r.result.frames, r.counterFrequency, r.format);
  else if (in.problem.empty())
    in.at = body; // read as they are played
  size_t framesEnd = in.at;
  if (r.mode == onlineVersusMode) getEvents(in, r);
  if (in.problem.empty() && in.at != body) in.fail("bytes after the frames");
  if (!in.problem.empty()) return fail(error, in.problem);
  Reader sum = readerOf(whole, body);
  if (sum.u64() != hashBytes(hashStart, whole.data(), body))
    return fail(error, "damaged: its check sum does not match");
  // Only bytes this game would write are taken: others that decode (a cell of 2, a flag of 7, a
  // value repeated where it is unchanged) were not made here, and would not write back the same.
  std::string header;
  putHeader(header, r);
  if (whole.compare(0, framesStart, header) != 0 || header.size() != framesStart)
    return fail(error, "damaged: not written the way this game writes");
  whole.resize(framesEnd);
  whole.erase(0, framesStart);
  r.frameBytes = std::move(whole);
  replay = std::move(r);
  return true;
}

} // namespace

bool readReplayBytes(const std::string& bytes, Replay& replay, std::string* error) {
  return readReplay(bytes, replay, error, true);
}

bool nextReplayFrame(const Replay& replay, ReplayCursor& cursor, ReplayFrame& frame) {
  if (!cursor.started || cursor.played >= cursor.entry.repeat) {
    if (!replay.frames.empty()) {
      if (cursor.at >= replay.frames.size()) return false;
      cursor.entry = replay.frames[cursor.at++];
    } else {
      Reader in = readerOf(replay.frameBytes, cursor.at);
      cursor.context.format = replay.format;
      if (!getFrame(in, replay.counterFrequency, cursor.context, cursor.entry)) {
        cursor.problem = in.problem;
        return false;
      }
      cursor.at = in.at;
    }
    cursor.started = true;
    cursor.played = 0;
  }
  ++cursor.played;
  frame = cursor.entry;
  return true;
}

bool readReplayFile(const std::string& path, Replay& replay, std::string* error,
                    bool checkAllFrames) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return fail(error, path + ": cannot be read");
  if (!S_ISREG(info.st_mode)) return fail(error, path + ": not a regular file");
  if (static_cast<uint64_t>(info.st_size) > replayFileLimit)
    return fail(error, path + ": too large for a replay");
  std::ifstream file(path, std::ios::binary);
  // As large as the file said, and one byte more to see that it did not grow since.
  std::string bytes(static_cast<size_t>(info.st_size) + 1, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(file.gcount()));
  if (!file.eof() || bytes.size() > static_cast<size_t>(info.st_size))
    return fail(error, path + ": cannot be read whole");
  std::string problem;
  if (!readReplay(std::move(bytes), replay, &problem, checkAllFrames))
    return fail(error, path + ": " + problem);
  return true;
}
