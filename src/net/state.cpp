// Definitions of the online state, with the values of a program that has not gone online.
#include "net/state.h"

OnlinePhase onlinePhase = OnlinePhase::idle;
bool onlineIsHost = false;
std::string onlineStatus;
uint16_t onlinePort = defaultOnlinePort;
std::string onlineAddress;

RandomStream onlinePieceStream;
uint32_t onlineSeed = 0;
uint32_t nextGameSeed = 0;
uint16_t onlineGameNumber = 0;
double onlineClock = 0.0;
uint32_t localLocks = 0, remoteLocks = 0;
uint32_t remoteAcked = 0;
uint32_t remoteClock = 0;
uint32_t localChain = 0, remoteChain = 0;
uint32_t checksumMismatches = 0;
bool localEnded = false, remoteEnded = false;
bool localToppedOut = false;
bool remoteToppedOut = false;
uint32_t localEndClock = 0, remoteEndClock = 0;
bool localRematch = false, remoteRematch = false;
OnlineResult onlineResult = OnlineResult::undecided;
std::string onlineReason;
Foul foulFound = Foul::none;
std::vector<PendingGarbage> pendingGarbage;
std::vector<uint32_t> copyArrivals;
FieldView lastMoveField;
int32_t matchWins = 0, matchLosses = 0;
uint32_t gamesSettled = 0;
int32_t localGarbageReceived = 0;
std::string opponentAddress;
double countdownEnd = 0.0;
uint32_t framesRecorded = 0;
std::vector<ReplayEvent> gameEvents;
const Replay* onlineReplay = nullptr;
size_t replayEventAt = 0;

double onlineLatency = -1.0;
double lastPingSent = 0.0;
double lastMoveSent = 0.0;
uint64_t bytesSent = 0, bytesReceived = 0;
uint64_t messagesSent = 0, messagesReceived = 0;
double connectionStart = 0.0;
double floodWindowStart = 0.0;
uint32_t floodWindowCount = 0;
double greetingDeadline = 0.0;
bool opponentGreeted = false;
bool localIsLab = false;
bool opponentIsLab = false;
double lastHeard = 0.0;
bool connectionLost = false;

bool portMappingWanted = true;
std::string natpmpGatewayOverride;
std::string upnpUrlOverride;
MappingState mappingState = MappingState::off;
std::shared_ptr<PortMappingJob> portMapping;
double mappingDeadline = 0.0;

struct _ENetHost* onlineHost = nullptr;
struct _ENetPeer* onlinePeer = nullptr;
double connectDeadline = 0.0;
std::shared_ptr<AddressLookup> pendingLookup;
bool enetStarted = false;
