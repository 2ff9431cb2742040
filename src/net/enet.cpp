// The edge: the only file that talks to ENet. It opens and closes the connection, services it
// once a frame without waiting, refuses a second opponent, and turns ENet's events into the
// protocol's calls. Everything said on the connection is decided in session.cpp.
#include "net/net.h"

#include <enet/enet.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <memory>
#include <thread>

namespace {

constexpr size_t peerSlots = 4;              // the opponent, and room to refuse others politely
constexpr size_t channelCount = 2;           // 0 reliable and ordered, 1 unreliable
constexpr uint32_t silenceLimit = 5000;      // ms a peer still greeting may stay silent
constexpr double lostAfter = 2500.0;         // ms of silence in a game before it counts as lost
constexpr double lostLimit = 15000.0;        // ms a lost connection is waited for
constexpr uint32_t enetGiveUp = 17000;       // ms ENet resends unanswered messages: past ours
constexpr double connectLimit = 10000.0;     // ms a join waits for the host
constexpr double greetingLimit = 10000.0;    // ms a connected opponent has to say hello
constexpr uint32_t floodLimit = 4000;        // messages a second; a bot at full speed sends less
constexpr int eventsPerPoll = 2000;          // a flood cannot keep one frame busy for long
constexpr size_t waitingDataLimit = 1 << 20; // bytes ENet may hold for one peer

bool startEnet() {
  if (!enetStarted && enet_initialize() == 0) enetStarted = true;
  if (!enetStarted) onlineStatus = "The network could not be started";
  return enetStarted;
}

void limitHost() {
  onlineHost->maximumPacketSize = maxMessageSize;
  onlineHost->maximumWaitingData = waitingDataLimit;
}

void destroyHost() {
  // Hosting is over: the router may close the port again.
  if (onlineIsHost) endPortMapping();
  if (onlineHost) enet_host_destroy(onlineHost);
  onlineHost = nullptr;
  onlinePeer = nullptr;
}

// The opponent is gone: a game in progress is settled by why; a host that never played with this
// opponent goes back to waiting for another.
void opponentGone(CloseReason reason) {
  bool inGame = onlinePhase == OnlinePhase::playing || onlinePhase == OnlinePhase::finished;
  onlinePeer = nullptr;
  if (inGame) {
    settleOnClose(reason, true);
    matchOver = true;
    onlinePhase = OnlinePhase::closed;
    onlineStatus = onlineReason.empty() ? closeReasonText(reason) : onlineReason;
    destroyHost();
    return;
  }
  if (onlineIsHost && onlinePhase == OnlinePhase::greeting) {
    onlinePhase = OnlinePhase::hosting;
    onlineStatus = "Waiting for a player…";
    return;
  }
  onlinePhase = OnlinePhase::closed;
  onlineStatus = closeReasonText(reason);
  destroyHost();
}

void connected(ENetPeer* peer) {
  if (onlineIsHost && onlinePeer != nullptr) {
    enet_peer_disconnect(peer, static_cast<uint32_t>(CloseReason::busy));
    return;
  }
  if (!onlineIsHost && peer != onlinePeer) return;
  onlinePeer = peer;
  enet_peer_timeout(peer, 0, enetGiveUp, enetGiveUp);
  char ip[64] = {};
  if (enet_address_get_host_ip(&peer->address, ip, sizeof ip) != 0) ip[0] = '\0';
  opponentAddress = std::string(ip) + ":" + std::to_string(peer->address.port);
  resetConnectionState();
  opponentGreeted = false;
  greetingDeadline = netClock() + greetingLimit;
  lastHeard = netClock();
  onlinePhase = OnlinePhase::greeting;
  onlineStatus = onlineIsHost ? "A player joined" : "Connected";
  if (!onlineIsHost) greetOpponent();
}

// Ends the connection for reason. A host whose game never began keeps listening: a stray or
// broken client must not close the door for the friend who comes next.
void dropOpponent(CloseReason reason, const std::string& why) {
  if (!onlineIsHost || onlinePhase != OnlinePhase::greeting || onlinePeer == nullptr) {
    // A leave is the opponent's doing; anything else here is this side throwing it out.
    settleOnClose(reason, reason == CloseReason::left);
    std::string settled = onlineReason;
    closeOnline(reason);
    onlineStatus = !settled.empty() ? settled : why;
    if (onlineStatus.empty()) onlineStatus = closeReasonText(reason);
    return;
  }
  enet_peer_disconnect_now(onlinePeer, static_cast<uint32_t>(reason));
  onlinePeer = nullptr;
  onlinePhase = OnlinePhase::hosting;
  onlineStatus =
      (why.empty() ? std::string(closeReasonText(reason)) : why) + ". Waiting for a player…";
}

void received(ENetPeer* peer, ENetPacket* packet) {
  if (peer != onlinePeer) return;
  double now = netClock();
  lastHeard = now;
  if (connectionLost) onlineStatus.clear();
  connectionLost = false;
  if (now - floodWindowStart >= 1000.0) {
    floodWindowStart = now;
    floodWindowCount = 0;
  }
  CloseReason reason = CloseReason::none;
  if (++floodWindowCount > floodLimit)
    reason = CloseReason::flood;
  else if (receiveBytes(packet->data, packet->dataLength, reason))
    return;
  dropOpponent(reason, reason == CloseReason::left ? "Opponent left" : "");
}

void disconnected(ENetPeer* peer, uint32_t data) {
  if (peer != onlinePeer) return;
  CloseReason reason = data <= static_cast<uint32_t>(CloseReason::lost)
                           ? static_cast<CloseReason>(data)
                           : CloseReason::none;
  if (onlinePhase == OnlinePhase::connecting) {
    onlinePhase = OnlinePhase::closed;
    onlineStatus = reason == CloseReason::none ? "Refused by the host" : closeReasonText(reason);
    destroyHost();
    return;
  }
  opponentGone(reason);
}

void checkDeadlines() {
  double now = netClock();
  if (onlinePhase == OnlinePhase::connecting && now > connectDeadline) {
    destroyHost();
    onlinePhase = OnlinePhase::closed;
    onlineStatus = "No answer from " + onlineAddress + " in 10 s";
  } else if (onlinePhase == OnlinePhase::greeting && !opponentGreeted && now > greetingDeadline) {
    // Connected and silent: not a player of this game.
    dropOpponent(CloseReason::badMessage, "The other side said nothing: connection closed");
  } else if (onlinePeer != nullptr && onlinePhase == OnlinePhase::greeting &&
             now - lastHeard > silenceLimit) {
    // Pings go both ways every second on the ordered channel: silence this long means the
    // connection is lost, or the other side's messages are stuck behind one never delivered.
    dropOpponent(CloseReason::badMessage, "No answer for 5 s: connection closed");
  } else if (onlinePeer != nullptr && onlinePhase != OnlinePhase::connecting &&
             now - lastHeard > lostAfter) {
    // In a game, silence pauses nothing: both sides play on and wait for the other, whose
    // messages ENet keeps resending, and give up with no result when the wait is over.
    double left = lostLimit - (now - lastHeard);
    if (left > 0.0) {
      connectionLost = true;
      onlineStatus = "Connection lost \u2014 waiting for the opponent (" +
                     std::to_string(static_cast<int>(left / 1000.0) + 1) + " s)";
      return;
    }
    connectionLost = false;
    settleOnClose(CloseReason::lost, false);
    std::string settled = onlineReason;
    closeOnline(CloseReason::lost);
    onlineStatus = settled.empty() ? "Connection lost" : settled;
  }
}

// Starts the connection to the host at address (network order) on onlinePort.
bool connectTo(uint32_t host) {
  ENetAddress address{};
  address.host = host;
  address.port = onlinePort;
  onlineHost = enet_host_create(nullptr, 1, channelCount, 0, 0);
  if (onlineHost != nullptr) {
    limitHost();
    onlinePeer = enet_host_connect(onlineHost, &address, channelCount, protocolVersion);
  }
  if (onlinePeer == nullptr) {
    destroyHost();
    onlinePhase = OnlinePhase::closed;
    onlineStatus = "Could not connect to " + onlineAddress;
    return false;
  }
  resetConnectionState();
  onlinePhase = OnlinePhase::connecting;
  onlineStatus = "Connecting…";
  return true;
}

// A name lookup that has come back: connect, or say the name is unknown.
void finishLookup() {
  if (!pendingLookup || !pendingLookup->done) return;
  std::shared_ptr<AddressLookup> lookup = pendingLookup;
  pendingLookup.reset();
  if (onlinePhase != OnlinePhase::connecting || onlineHost != nullptr) return;
  if (!lookup->found) {
    onlinePhase = OnlinePhase::closed;
    onlineStatus = "Unknown host: " + lookup->name;
    return;
  }
  connectTo(lookup->host);
}

} // namespace

bool splitAddress(const std::string& text, std::string& host, uint16_t& port) {
  port = defaultOnlinePort;
  host = text;
  size_t colon = text.rfind(':');
  if (!text.empty() && text[0] == '[') { // [v6]:port
    size_t close = text.find(']');
    if (close == std::string::npos) return false;
    host = text.substr(1, close - 1);
    colon = text.find(':', close);
  } else if (colon != std::string::npos && text.find(':') != colon) {
    colon = std::string::npos; // a bare IPv6 address
  } else if (colon != std::string::npos) {
    host = text.substr(0, colon);
  }
  if (colon != std::string::npos) {
    std::string digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    long value = std::stol(digits);
    if (value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
  }
  return !host.empty();
}

bool hostOnline(uint16_t port) {
  closeOnline(CloseReason::left);
  if (!startEnet()) return false;
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  onlineHost = enet_host_create(&address, peerSlots, channelCount, 0, 0);
  onlineIsHost = true;
  onlinePort = port;
  if (onlineHost == nullptr) {
    onlinePhase = OnlinePhase::closed;
    onlineStatus = "Port " + std::to_string(port) + " cannot be opened (in use?)";
    return false;
  }
  limitHost();
  resetConnectionState();
  onlinePhase = OnlinePhase::hosting;
  onlineStatus = "Waiting for a player…";
  return true;
}

bool joinOnline(const std::string& text) {
  closeOnline(CloseReason::left);
  onlineIsHost = false;
  onlineAddress = text;
  std::string name;
  uint16_t port = 0;
  onlinePhase = OnlinePhase::closed;
  if (!splitAddress(text, name, port)) {
    onlineStatus = "Not an address: " + text;
    return false;
  }
  if (!startEnet()) return false;
  onlinePort = port;
  connectDeadline = netClock() + connectLimit;
  onlinePhase = OnlinePhase::connecting;
  ENetAddress address{};
  if (enet_address_set_host_ip(&address, name.c_str()) == 0) return connectTo(address.host);
  // A name asks the system's resolver, which can take seconds: on a thread of its own that
  // touches nothing but its record, so the frames go on.
  auto lookup = std::make_shared<AddressLookup>();
  lookup->name = name;
  pendingLookup = lookup;
  std::thread([lookup] {
    ENetAddress found{};
    lookup->found = enet_address_set_host(&found, lookup->name.c_str()) == 0;
    lookup->host = found.host;
    lookup->done = true;
  }).detach();
  onlineStatus = "Connecting…";
  return true;
}

void pollOnline() {
  pollPortMapping();
  finishLookup();
  if (onlinePhase == OnlinePhase::connecting && onlineHost == nullptr &&
      netClock() > connectDeadline) {
    pendingLookup.reset(); // its thread finishes on its own and frees the record
    onlinePhase = OnlinePhase::closed;
    onlineStatus = "No answer from " + onlineAddress + " in 10 s";
  }
  ENetEvent event;
  for (int i = 0; i < eventsPerPoll && onlineHost != nullptr; ++i) {
    if (enet_host_service(onlineHost, &event, 0) <= 0) break;
    switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
      connected(event.peer);
      break;
    case ENET_EVENT_TYPE_RECEIVE:
      received(event.peer, event.packet);
      enet_packet_destroy(event.packet);
      break;
    case ENET_EVENT_TYPE_DISCONNECT:
      disconnected(event.peer, event.data);
      break;
    case ENET_EVENT_TYPE_NONE:
      break;
    }
  }
  if (onlineHost == nullptr) return;
  checkDeadlines();
  if (onlineHost == nullptr) return;
  sendPingWhenDue();
  enet_host_flush(onlineHost);
}

void sendBytes(const std::string& bytes, bool reliable) {
  if (onlinePeer == nullptr || onlinePhase == OnlinePhase::connecting) return;
  ENetPacket* packet =
      enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
  if (packet == nullptr) return;
  if (enet_peer_send(onlinePeer, reliable ? 0 : 1, packet) != 0) {
    enet_packet_destroy(packet);
    return;
  }
  bytesSent += bytes.size();
  ++messagesSent;
}

void closeOnline(CloseReason reason) {
  pendingLookup.reset();
  if (onlineHost != nullptr) {
    // Said at once and not waited for: the other side learns why, or times out in 5 s.
    if (onlinePeer != nullptr) enet_peer_disconnect_now(onlinePeer, static_cast<uint32_t>(reason));
    enet_host_flush(onlineHost);
    destroyHost();
  }
  if (onlinePhase == OnlinePhase::playing || onlinePhase == OnlinePhase::finished) {
    settleOnClose(reason, false);
    matchOver = true;
  }
  connectionLost = false;
  onlinePhase = reason == CloseReason::none ? OnlinePhase::idle : OnlinePhase::closed;
  // Leaving is this side's own doing: nothing to explain.
  bool explained = reason != CloseReason::none && reason != CloseReason::left;
  onlineStatus = explained ? closeReasonText(reason) : "";
}

std::vector<std::string> localAddresses() {
  std::vector<std::string> found;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return found;
  for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    auto* address = reinterpret_cast<sockaddr_in*>(entry->ifa_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr) continue;
    if (std::string(text).rfind("127.", 0) == 0) continue;
    found.push_back(text);
  }
  freeifaddrs(list);
  return found;
}
