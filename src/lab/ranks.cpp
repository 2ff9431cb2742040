// Spreading work over processes: MPI's ranks, the seeds that make results independent of them,
// and networks as plain numbers to send between them. The only file that talks to MPI.
#include "lab/lab.h"

#include "ai/ai.h"

#include <mpi.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

bool joined = false;  // MPI_Init done and MPI_Finalize not yet
int rank = 0;         // this process
int ranks = 1;        // processes of the run
double waiting = 0.0; // seconds spent in exchanges, waiting for the others included

// The pieces of a buffer, each short enough for MPI's int counts.
template <typename Visit> void inChunks(size_t length, Visit visit) {
  constexpr size_t chunk = 1 << 28;
  for (size_t start = 0; start < length; start += chunk)
    visit(start, static_cast<int>(std::min(chunk, length - start)));
}

uint64_t splitMix(uint64_t z) {
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

} // namespace

void joinRanks() {
  if (joined) return;
  int initialised = 0;
  MPI_Initialized(&initialised);
  // A rank that waits for the others gives its core away instead of spinning on it: on a
  // shared machine the spinning takes the time the slowest rank needs. A setting from the
  // user's environment or mpirun's command line wins.
  setenv("OMPI_MCA_mpi_yield_when_idle", "1", 0);
  if (!initialised) MPI_Init(nullptr, nullptr);
  joined = true;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &ranks);
}

void leaveRanks(bool failed) {
  if (!joined) return;
  joined = false;
  // The other ranks may wait for this one in a collective that never comes.
  if (failed && ranks > 1) MPI_Abort(MPI_COMM_WORLD, 2);
  MPI_Finalize();
}

int rankIndex() {
  return rank;
}

int rankCount() {
  return ranks;
}

// Counts the time until it goes out of scope as time spent exchanging.
struct Exchanging {
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  ~Exchanging() { waiting += secondsSince(start); }
};

double secondsExchanging() {
  return waiting;
}

void sumOverRanks(std::vector<double>& values) {
  if (ranks == 1) return;
  Exchanging timer;
  inChunks(values.size(), [&](size_t start, int count) {
    MPI_Allreduce(MPI_IN_PLACE, values.data() + start, count, MPI_DOUBLE, MPI_SUM, MPI_COMM_WORLD);
  });
}

template <typename Buffer> static void broadcastBuffer(Buffer& buffer, MPI_Datatype type) {
  if (ranks == 1) return;
  Exchanging timer;
  unsigned long long length = buffer.size();
  MPI_Bcast(&length, 1, MPI_UNSIGNED_LONG_LONG, 0, MPI_COMM_WORLD);
  buffer.resize(length);
  inChunks(buffer.size(), [&](size_t start, int count) {
    MPI_Bcast(&buffer[start], count, type, 0, MPI_COMM_WORLD);
  });
}

void broadcastFromFirst(std::vector<double>& values) {
  broadcastBuffer(values, MPI_DOUBLE);
}

void broadcastFromFirst(std::string& bytes) {
  broadcastBuffer(bytes, MPI_CHAR);
}

void exchangeParcels(const std::vector<Parcel>& sends, const std::vector<Parcel>& receives) {
  if (sends.empty() && receives.empty()) return;
  Exchanging timer;
  std::vector<MPI_Request> requests;
  auto post = [&](const Parcel& parcel, bool send) {
    inChunks(parcel.data->size(), [&](size_t start, int count) {
      requests.emplace_back();
      if (send)
        MPI_Isend(parcel.data->data() + start, count, MPI_DOUBLE, parcel.rank, parcel.tag,
                  MPI_COMM_WORLD, &requests.back());
      else
        MPI_Irecv(parcel.data->data() + start, count, MPI_DOUBLE, parcel.rank, parcel.tag,
                  MPI_COMM_WORLD, &requests.back());
    });
  };
  for (const Parcel& parcel : receives) post(parcel, false);
  for (const Parcel& parcel : sends) post(parcel, true);
  MPI_Waitall(static_cast<int>(requests.size()), requests.data(), MPI_STATUSES_IGNORE);
}

std::vector<std::string> gatherFromRanks(const std::string& text, double seconds) {
  if (ranks == 1) return {text};
  // Tags above any subject's index, which the exchanges of a generation use.
  constexpr int lengthTag = 32000, bytesTag = 32001;
  unsigned long long length = text.size();
  if (rank != 0) {
    MPI_Send(&length, 1, MPI_UNSIGNED_LONG_LONG, 0, lengthTag, MPI_COMM_WORLD);
    MPI_Send(text.data(), static_cast<int>(length), MPI_CHAR, 0, bytesTag, MPI_COMM_WORLD);
    return {};
  }
  Exchanging timer;
  std::vector<unsigned long long> lengths(ranks, 0);
  std::vector<MPI_Request> requests(ranks, MPI_REQUEST_NULL);
  for (int other = 1; other < ranks; ++other)
    MPI_Irecv(&lengths[other], 1, MPI_UNSIGNED_LONG_LONG, other, lengthTag, MPI_COMM_WORLD,
              &requests[other]);
  // A rank stuck on its files would hold every other rank forever: past the limit the run
  // stops, naming it.
  auto start = std::chrono::steady_clock::now();
  for (int other = 1; other < ranks; ++other) {
    int done = 0;
    while (MPI_Test(&requests[other], &done, MPI_STATUS_IGNORE) == MPI_SUCCESS && !done) {
      if (secondsSince(start) > seconds)
        throw LabError{"rank " + std::to_string(other) + " did not load its data within " +
                       std::to_string(static_cast<int>(seconds)) + " seconds"};
      usleep(1000);
    }
  }
  std::vector<std::string> texts(ranks);
  texts[0] = text;
  for (int other = 1; other < ranks; ++other) {
    texts[other].resize(lengths[other]);
    MPI_Recv(texts[other].data(), static_cast<int>(lengths[other]), MPI_CHAR, other, bytesTag,
             MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  }
  return texts;
}

uint32_t labSeed(uint32_t run, uint64_t a, uint64_t b, uint64_t c) {
  uint64_t z = splitMix(run);
  z = splitMix(z ^ a);
  z = splitMix(z ^ b);
  z = splitMix(z ^ c);
  return static_cast<uint32_t>(z);
}

std::vector<size_t> layerSizes(const Network& network) {
  std::vector<size_t> sizes;
  for (const std::vector<Neuron>& layer : network.layers) sizes.push_back(layer.size());
  return sizes;
}

size_t packedLength(const std::vector<size_t>& sizes) {
  size_t length = 0;
  for (size_t l = 1; l < sizes.size(); ++l) length += sizes[l] * (sizes[l - 1] + 1);
  return length;
}

void packNetwork(const Network& network, double* out) {
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (const Neuron& neuron : network.layers[l]) {
      for (const Connection& connection : neuron.connections) *out++ = connection.weight;
      *out++ = neuron.bias;
    }
}

Network unpackNetwork(const std::vector<size_t>& sizes, const double* in, double learningRate) {
  Network network;
  network.learningRate = learningRate;
  network.layers.resize(sizes.size());
  for (size_t l = 0; l < sizes.size(); ++l) {
    network.layers[l].resize(sizes[l]);
    for (size_t k = 0; k < sizes[l]; ++k) {
      Neuron& neuron = network.layers[l][k];
      neuron.layer = static_cast<int32_t>(l);
      neuron.index = static_cast<int32_t>(k);
      if (l == 0) continue;
      neuron.connections.resize(sizes[l - 1]);
      for (size_t m = 0; m < sizes[l - 1]; ++m)
        neuron.connections[m] = {static_cast<int32_t>(m), *in++};
      neuron.bias = *in++;
    }
  }
  feedForward(network);
  return network;
}
