// Opening the hosting port on a home router: NAT-PMP (libnatpmp) first, then UPnP IGD
// (miniupnpc), each with two seconds, on a thread that touches only its own record so the frames
// go on. The mapping is removed when hosting ends, and one that came too late is removed by the
// thread that made it.
#include "net/net.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <natpmp.h>

#include <arpa/inet.h>
#include <sys/select.h>

#include <chrono>
#include <thread>

namespace {

constexpr double stepLimitMs = 2000.0;  // each way of asking gets this long
constexpr int discoverMs = 2000;        // UPnP: waiting for routers to answer the search
constexpr uint32_t leaseSeconds = 7200; // a mapping left behind by a crash expires by itself
constexpr double answerLimitMs = 2 * stepLimitMs + 1000.0; // the frame stops waiting after this
constexpr const char* mappingName = "Brikka";

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Waits for one NAT-PMP answer of the expected kind until the deadline.
bool natpmpAnswer(natpmp_t& nat, natpmpresp_t& response, double deadline) {
  for (;;) {
    double left = deadline - nowMs();
    if (left <= 0.0) return false;
    timeval timeout{};
    getnatpmprequesttimeout(&nat, &timeout);
    double retry = timeout.tv_sec * 1000.0 + timeout.tv_usec / 1000.0;
    double wait = retry < left ? retry : left;
    if (wait < 0.0) wait = 0.0;
    timeout.tv_sec = static_cast<time_t>(wait / 1000.0);
    timeout.tv_usec = static_cast<suseconds_t>((wait - timeout.tv_sec * 1000.0) * 1000.0);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(nat.s, &readable);
    select(nat.s + 1, &readable, nullptr, nullptr, &timeout);
    int status = readnatpmpresponseorretry(&nat, &response);
    if (status == NATPMP_TRYAGAIN) continue;
    return status >= 0;
  }
}

// NAT-PMP: the router's public address, then the mapping; lifetime 0 removes it.
bool natpmpRequest(PortMappingJob& job, uint32_t lifetime) {
  natpmp_t nat{};
  bool forced = !job.natpmpGateway.empty();
  in_addr_t gateway = forced ? inet_addr(job.natpmpGateway.c_str()) : 0;
  if (initnatpmp(&nat, forced ? 1 : 0, gateway) < 0) return false;
  double deadline = nowMs() + stepLimitMs;
  natpmpresp_t response{};
  bool ok = true;
  if (lifetime > 0) {
    ok = sendpublicaddressrequest(&nat) >= 0 && natpmpAnswer(nat, response, deadline) &&
         response.type == NATPMP_RESPTYPE_PUBLICADDRESS;
    if (ok) {
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &response.pnu.publicaddress.addr, text, sizeof text);
      job.external = text;
    }
  }
  ok = ok &&
       sendnewportmappingrequest(&nat, NATPMP_PROTOCOL_UDP, job.port, job.port, lifetime) >= 0 &&
       natpmpAnswer(nat, response, deadline) && response.type == NATPMP_RESPTYPE_UDPPORTMAPPING &&
       (lifetime == 0 || response.pnu.newportmapping.mappedpublicport == job.port);
  closenatpmp(&nat);
  return ok;
}

// UPnP IGD: the router from its description (found by a search unless given), then the mapping.
bool upnpRequest(PortMappingJob& job) {
  UPNPUrls urls{};
  IGDdatas data{};
  char lan[64] = {};
  bool found = false;
  if (!job.upnpUrl.empty()) {
    found = UPNP_GetIGDFromUrl(job.upnpUrl.c_str(), &urls, &data, lan, sizeof lan) == 1;
  } else {
    int error = 0;
    UPNPDev* devices = upnpDiscover(discoverMs, nullptr, nullptr, 0, 0, 2, &error);
    found = devices != nullptr && UPNP_GetValidIGD(devices, &urls, &data, lan, sizeof lan) == 1;
    freeUPNPDevlist(devices);
  }
  if (!found || urls.controlURL == nullptr || lan[0] == '\0') {
    if (found) FreeUPNPUrls(&urls);
    return false;
  }
  std::string port = std::to_string(job.port);
  std::string lease = std::to_string(leaseSeconds);
  bool ok =
      UPNP_AddPortMapping(urls.controlURL, data.first.servicetype, port.c_str(), port.c_str(), lan,
                          mappingName, "UDP", nullptr, lease.c_str()) == UPNPCOMMAND_SUCCESS;
  if (ok) {
    char external[40] = {};
    if (UPNP_GetExternalIPAddress(urls.controlURL, data.first.servicetype, external) ==
        UPNPCOMMAND_SUCCESS)
      job.external = external;
    job.controlUrl = urls.controlURL;
    job.serviceType = data.first.servicetype;
  }
  FreeUPNPUrls(&urls);
  return ok;
}

} // namespace

void mapPortNow(PortMappingJob& job) {
  job.external.clear();
  if (natpmpRequest(job, leaseSeconds)) {
    job.mapped = true;
    job.method = "NAT-PMP";
  } else if (upnpRequest(job)) {
    job.mapped = true;
    job.method = "UPnP";
  }
}

void unmapPortNow(const PortMappingJob& job) {
  if (!job.mapped) return;
  if (job.method == "NAT-PMP") {
    PortMappingJob removal;
    removal.port = job.port;
    removal.natpmpGateway = job.natpmpGateway;
    natpmpRequest(removal, 0);
  } else {
    std::string port = std::to_string(job.port);
    UPNP_DeletePortMapping(job.controlUrl.c_str(), job.serviceType.c_str(), port.c_str(), "UDP",
                           nullptr);
  }
}

void startPortMapping(uint16_t port) {
  endPortMapping();
  if (!portMappingWanted) return;
  auto job = std::make_shared<PortMappingJob>();
  job->port = port;
  job->natpmpGateway = natpmpGatewayOverride;
  job->upnpUrl = upnpUrlOverride;
  portMapping = job;
  mappingState = MappingState::asking;
  mappingDeadline = netClock() + answerLimitMs;
  std::thread([job] {
    mapPortNow(*job);
    job->done = true;
    // Nobody took this answer: a port opened now would stay open for nothing.
    if (job->abandoned) unmapPortNow(*job);
  }).detach();
}

void pollPortMapping() {
  if (mappingState != MappingState::asking || !portMapping) return;
  if (portMapping->done) {
    mappingState = portMapping->mapped ? MappingState::mapped : MappingState::failed;
  } else if (netClock() > mappingDeadline) {
    portMapping->abandoned = true;
    // The thread may be past the check: if it finished in between, the answer still counts.
    mappingState =
        portMapping->done && portMapping->mapped ? MappingState::mapped : MappingState::failed;
  }
}

void endPortMapping() {
  std::shared_ptr<PortMappingJob> job = portMapping;
  portMapping.reset();
  mappingState = MappingState::off;
  if (!job) return;
  job->abandoned = true;
  if (!job->done) return; // its thread removes a late mapping itself
  if (job->mapped) std::thread([job] { unmapPortNow(*job); }).detach();
}

std::string mappingText() {
  std::string port = std::to_string(onlinePort);
  switch (mappingState) {
  case MappingState::asking:
    return "Asking your router to open UDP port " + port + "…";
  case MappingState::mapped:
    if (portMapping && !portMapping->external.empty())
      return "Players join you at " + portMapping->external + ":" + port;
    return "Your router opened UDP port " + port;
  case MappingState::failed:
    return "Your router did not open the port: forward UDP " + port + " by hand";
  case MappingState::off:
    break;
  }
  return "";
}
