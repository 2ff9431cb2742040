// Asking a router to open the hosting port, against stand-in routers on 127.0.0.1: a NAT-PMP
// gateway and a UPnP IGD that each answer, refuse or never answer. Nothing leaves this machine.
#include "net/net.h"
#include "online.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

enum class Gateway { answers, refuses, silent };

// Runs body(socket) on a thread until stop; the socket is closed after.
struct Server {
  int socket = -1;
  std::atomic<bool> stop{false};
  std::thread thread;
  std::mutex lock;
  std::vector<std::string> heard; // what was asked, one line each
  void note(const std::string& what) {
    std::lock_guard<std::mutex> guard(lock);
    heard.push_back(what);
  }
  bool saw(const std::string& what) {
    std::lock_guard<std::mutex> guard(lock);
    for (const std::string& line : heard)
      if (line.find(what) != std::string::npos) return true;
    return false;
  }
  ~Server() {
    stop = true;
    if (thread.joinable()) thread.join();
    if (socket >= 0) close(socket);
  }
};

bool readable(int socket, int ms) {
  pollfd watched = {socket, POLLIN, 0};
  return poll(&watched, 1, ms) > 0;
}

// NAT-PMP on 127.0.0.1:5351, the port the protocol fixes: false when it is taken.
bool startNatpmp(Server& server, Gateway behaviour) {
  server.socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address = loopback(5351);
  if (bind(server.socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
  server.thread = std::thread([&server, behaviour] {
    while (!server.stop) {
      if (!readable(server.socket, 20)) continue;
      uint8_t in[64];
      sockaddr_in from{};
      socklen_t length = sizeof from;
      ssize_t got =
          recvfrom(server.socket, in, sizeof in, 0, reinterpret_cast<sockaddr*>(&from), &length);
      if (got < 2 || behaviour == Gateway::silent) continue;
      uint8_t out[16] = {0, static_cast<uint8_t>(in[1] + 128)};
      if (behaviour == Gateway::refuses) out[3] = 2; // not authorised
      size_t size = 12;
      if (in[1] == 0) { // public address: 203.0.113.7
        out[8] = 203, out[9] = 0, out[10] = 113, out[11] = 7;
      } else if (got >= 12) {
        uint32_t lifetime = static_cast<uint32_t>(in[8] << 24 | in[9] << 16 | in[10] << 8 | in[11]);
        server.note("map " + std::to_string(in[4] << 8 | in[5]) + " lifetime " +
                    std::to_string(lifetime));
        std::copy(in + 4, in + 12, out + 8);
        size = 16;
      }
      sendto(server.socket, out, size, 0, reinterpret_cast<sockaddr*>(&from), length);
    }
  });
  return true;
}

const std::string description =
    "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device>"
    "<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType><deviceList>"
    "<device><deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType><deviceList><device>"
    "<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType><serviceList>"
    "<service><serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>"
    "<serviceId>urn:upnp-org:serviceId:WANIPConn1</serviceId><controlURL>/ctl</controlURL>"
    "<eventSubURL>/evt</eventSubURL><SCPDURL>/scpd.xml</SCPDURL></service></serviceList>"
    "</device></deviceList></device></deviceList></device></root>";

std::string soap(const std::string& body) {
  return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/"
         "envelope/\"><s:Body>" +
         body + "</s:Body></s:Envelope>";
}

std::string answerTo(const std::string& request, Gateway behaviour) {
  if (request.rfind("GET", 0) == 0) return description;
  if (request.find("GetExternalIPAddress") != std::string::npos)
    return soap("<u:GetExternalIPAddressResponse xmlns:u=\"urn:schemas-upnp-org:service:"
                "WANIPConnection:1\"><NewExternalIPAddress>203.0.113.7</NewExternalIPAddress>"
                "</u:GetExternalIPAddressResponse>");
  if (behaviour == Gateway::refuses)
    return soap("<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring>"
                "<detail><UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>718"
                "</errorCode></UPnPError></detail></s:Fault>");
  return soap("<u:Response xmlns:u=\"urn:schemas-upnp-org:service:WANIPConnection:1\"/>");
}

// A UPnP IGD on an ephemeral port of 127.0.0.1; its description's URL.
std::string startIgd(Server& server, Gateway behaviour) {
  server.socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  bind(server.socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(server.socket, 8);
  getsockname(server.socket, reinterpret_cast<sockaddr*>(&address), &length);
  server.thread = std::thread([&server, behaviour] {
    std::vector<int> held; // connections never answered
    while (!server.stop) {
      if (!readable(server.socket, 20)) continue;
      int client = accept(server.socket, nullptr, nullptr);
      if (client < 0) continue;
      std::string request;
      char buffer[4096];
      // The header, and the body its length gives.
      while (readable(client, 500)) {
        ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<size_t>(got));
        size_t end = request.find("\r\n\r\n");
        size_t at = request.find("Content-Length: ");
        if (end != std::string::npos &&
            (at == std::string::npos ||
             request.size() >= end + 4 + std::stoul(request.substr(at + 16))))
          break;
      }
      size_t action = request.find("#");
      server.note(request.substr(0, request.find(' ')) + " " +
                  (action == std::string::npos ? "" : request.substr(action + 1, 20)));
      if (behaviour == Gateway::silent) {
        held.push_back(client);
        continue;
      }
      std::string body = answerTo(request, behaviour);
      std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
      send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
      close(client);
    }
    for (int client : held) close(client);
  });
  return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/desc.xml";
}

// Maps port 41440 through the stand-ins, then removes it: each step is heard by server.
void expectOpenedAndClosed(const std::string& upnpUrl, const std::string& method, Server& server,
                           const std::string& opened, const std::string& closed) {
  PortMappingJob job;
  job.port = 41440;
  job.natpmpGateway = "127.0.0.1";
  job.upnpUrl = upnpUrl;
  mapPortNow(job);
  EXPECT_TRUE(job.mapped);
  EXPECT_EQ(job.method, method);
  EXPECT_EQ(job.external, "203.0.113.7");
  EXPECT_TRUE(server.saw(opened));
  unmapPortNow(job);
  EXPECT_TRUE(server.saw(closed));
}

TEST(PortMapping, NatPmpOpensThePortAndClosesItAgain) {
  Server gateway;
  if (!startNatpmp(gateway, Gateway::answers)) GTEST_SKIP() << "UDP 5351 is taken here";
  expectOpenedAndClosed("", "NAT-PMP", gateway, "map 41440 lifetime 7200", "map 41440 lifetime 0");
}

TEST(PortMapping, UpnpOpensThePortWhenNatPmpNeverAnswers) {
  Server gateway, igd;
  if (!startNatpmp(gateway, Gateway::silent)) GTEST_SKIP() << "UDP 5351 is taken here";
  expectOpenedAndClosed(startIgd(igd, Gateway::answers), "UPnP", igd, "POST AddPortMapping",
                        "POST DeletePortMapping");
}

// The frame never waits: the screen says "asking", then what to do by hand.
TEST(PortMapping, RoutersThatRefuseOrNeverAnswerLeaveTheHandForwardingLine) {
  onlinePort = 41440;
  for (Gateway behaviour : {Gateway::refuses, Gateway::silent}) {
    Server gateway, igd;
    if (!startNatpmp(gateway, behaviour)) GTEST_SKIP() << "UDP 5351 is taken here";
    natpmpGatewayOverride = "127.0.0.1";
    upnpUrlOverride = startIgd(igd, behaviour);
    portMappingWanted = true;
    double start = netClock();
    startPortMapping(onlinePort);
    EXPECT_EQ(mappingState, MappingState::asking);
    while (mappingState == MappingState::asking && netClock() - start < 10000.0) {
      pollPortMapping();
      usleep(10000);
    }
    EXPECT_EQ(mappingState, MappingState::failed);
    EXPECT_EQ(mappingText(), "Your router did not open the port: forward UDP 41440 by hand");
    // Both ways were given their two seconds and no more than the frame's limit.
    EXPECT_LT(netClock() - start, 5500.0);
    endPortMapping();
  }
  natpmpGatewayOverride.clear();
  upnpUrlOverride.clear();
}

} // namespace
