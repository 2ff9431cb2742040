// A bad network on one machine, for testing online play: forwards UDP between players on
// 127.0.0.1 and a game listening on 127.0.0.1, delaying every packet, jittering the delay and
// dropping a share of the packets that carry unreliable data (reliable ones ENet would only
// send again), and for an outage every packet both ways. It only ever talks to the loopback
// address.
//   netrelay LISTEN_PORT TARGET_PORT [DELAY_MS] [JITTER_MS] [DROP_PERCENT] [SECONDS]
//            [OUTAGE_AFTER_S OUTAGE_S]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t maxClients = 8;
constexpr size_t maxQueued = 20000; // packets held at once; more are dropped
constexpr int enetUnreliable = 7, enetUnsequenced = 9;

struct Packet {
  int socket;        // sent from
  sockaddr_in to;    // sent to
  std::string bytes; // the datagram
};

struct Client {
  sockaddr_in address; // the player's side
  int upstream;        // our socket towards the game
};

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int openSocket(uint16_t port) {
  int s = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address = loopback(port);
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::perror("netrelay: socket");
    std::exit(2);
  }
  return s;
}

// ENet's datagram: a peer id whose top bit says a two-byte sent time follows, then commands;
// the first command's low four bits name it.
bool unreliable(const std::string& bytes) {
  if (bytes.size() < 2) return false;
  size_t at = (static_cast<uint8_t>(bytes[0]) & 0x80) ? 4 : 2;
  if (bytes.size() <= at) return false;
  int command = static_cast<uint8_t>(bytes[at]) & 0x0f;
  return command == enetUnreliable || command == enetUnsequenced;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: netrelay LISTEN_PORT TARGET_PORT [DELAY_MS] [JITTER_MS] "
                         "[DROP_PERCENT] [SECONDS] [OUTAGE_AFTER_S OUTAGE_S]\n");
    return 2;
  }
  uint16_t listenPort = static_cast<uint16_t>(std::atoi(argv[1]));
  sockaddr_in target = loopback(static_cast<uint16_t>(std::atoi(argv[2])));
  double delay = argc > 3 ? std::atof(argv[3]) : 100.0;
  double jitter = argc > 4 ? std::atof(argv[4]) : 30.0;
  double drop = argc > 5 ? std::atof(argv[5]) / 100.0 : 0.05;
  double seconds = argc > 6 ? std::atof(argv[6]) : 60.0;
  double outageStart = nowMs() + (argc > 7 ? std::atof(argv[7]) : 0.0) * 1000.0;
  double outageEnd = outageStart + (argc > 8 ? std::atof(argv[8]) : 0.0) * 1000.0;

  int front = openSocket(listenPort);
  std::vector<Client> clients;
  std::multimap<double, Packet> queue; // by the time each packet is due
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  uint64_t forwarded = 0, dropped = 0;
  uint64_t bytesIn = 0, bytesOut = 0; // datagram bytes towards the game, and back
  double end = nowMs() + seconds * 1000.0;

  auto schedule = [&](int from, const sockaddr_in& to, const std::string& data) {
    bool cut = nowMs() >= outageStart && nowMs() < outageEnd;
    if (cut || (unreliable(data) && unit(random) < drop)) {
      ++dropped;
      return;
    }
    if (queue.size() >= maxQueued) {
      ++dropped;
      return;
    }
    double due = nowMs() + delay + (unit(random) * 2.0 - 1.0) * jitter;
    queue.insert({due, Packet{from, to, data}});
  };

  std::vector<char> buffer(65536);
  while (nowMs() < end) {
    std::vector<pollfd> watched = {{front, POLLIN, 0}};
    for (const Client& client : clients) watched.push_back({client.upstream, POLLIN, 0});
    double wait = queue.empty() ? 10.0 : queue.begin()->first - nowMs();
    int timeout = wait < 0.0 ? 0 : (wait > 10.0 ? 10 : static_cast<int>(wait));
    poll(watched.data(), watched.size(), timeout);

    sockaddr_in from{};
    socklen_t length = sizeof from;
    ssize_t got = 0;
    if (watched[0].revents & POLLIN) {
      got = recvfrom(front, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                     &length);
      if (got > 0) {
        Client* client = nullptr;
        for (Client& known : clients)
          if (known.address.sin_port == from.sin_port &&
              known.address.sin_addr.s_addr == from.sin_addr.s_addr)
            client = &known;
        if (client == nullptr && clients.size() < maxClients) {
          clients.push_back({from, openSocket(0)});
          client = &clients.back();
        }
        if (client) schedule(client->upstream, target, std::string(buffer.data(), got));
      }
    }
    for (size_t i = 1; i < watched.size(); ++i) {
      if (!(watched[i].revents & POLLIN)) continue;
      got = recv(watched[i].fd, buffer.data(), buffer.size(), 0);
      if (got > 0) schedule(front, clients[i - 1].address, std::string(buffer.data(), got));
    }
    while (!queue.empty() && queue.begin()->first <= nowMs()) {
      const Packet& packet = queue.begin()->second;
      sendto(packet.socket, packet.bytes.data(), packet.bytes.size(), 0,
             reinterpret_cast<const sockaddr*>(&packet.to), sizeof packet.to);
      ++forwarded;
      (packet.socket == front ? bytesOut : bytesIn) += packet.bytes.size();
      queue.erase(queue.begin());
    }
  }
  std::fprintf(stderr,
               "netrelay: %llu packets forwarded, %llu dropped; UDP payload bytes to the game "
               "%llu, from it %llu\n",
               static_cast<unsigned long long>(forwarded), static_cast<unsigned long long>(dropped),
               static_cast<unsigned long long>(bytesIn), static_cast<unsigned long long>(bytesOut));
  close(front);
  for (const Client& client : clients) close(client.upstream);
  return 0;
}
