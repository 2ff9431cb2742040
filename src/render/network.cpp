// The playing network on the training screen: a column of nodes per layer, lit by value, and
// lines from strongly active sources, green for positive weights and red for negative.
#include "render/render.h"

#include <algorithm>
#include <cmath>

namespace {

// Centre of neuron j in layer l, with columnStep = 1200 / (layers + 1).
SDL_Point neuronCentre(const Network& network, size_t l, size_t j, double columnStep) {
  double rowStep = 800.0 / (network.layers[l].size() + 1);
  return {truncPixel((l + 1) * columnStep) + 400, truncPixel((j + 1) * rowStep) + 50};
}

void drawConnections(const Network& network, double columnStep) {
  for (size_t l = 1; l < network.layers.size(); ++l) {
    const std::vector<Neuron>& layer = network.layers[l];
    const std::vector<Neuron>& sources = network.layers[l - 1];
    // Wide layers show only every tenth-of-the-layer connection, or they drown the picture.
    size_t stride = layer.size() < 100 ? 1 : layer.size() / 10;
    for (size_t j = 0; j < layer.size(); ++j) {
      SDL_Point end = neuronCentre(network, l, j, columnStep);
      const std::vector<Connection>& connections = layer[j].connections;
      for (size_t k = 0; k < connections.size(); k += stride) {
        const Connection& connection = connections[k];
        if (connection.from < 0 || connection.from >= static_cast<int32_t>(sources.size()))
          continue;
        if (!(sources[connection.from].value > 0.7)) continue;
        SDL_Point start = neuronCentre(network, l - 1, connection.from, columnStep);
        uint8_t alpha = static_cast<uint8_t>(std::min(255.0, std::fabs(connection.weight) * 15.0));
        if (connection.weight > 0)
          SDL_SetRenderDrawColor(renderer, 0, 255, 0, alpha);
        else
          SDL_SetRenderDrawColor(renderer, 255, 0, 0, alpha);
        SDL_RenderDrawLine(renderer, end.x, end.y, start.x, start.y);
      }
    }
  }
}

void drawNodes(const Network& network, double columnStep) {
  for (size_t l = 0; l < network.layers.size(); ++l) {
    const std::vector<Neuron>& layer = network.layers[l];
    if (layer.empty()) continue;
    int32_t size = std::min<int32_t>(50, 400 / static_cast<int32_t>(layer.size()));
    if (size <= 0) continue; // a layer of over 400 neurons has no visible nodes
    double rowStep = 800.0 / (layer.size() + 1);
    for (size_t j = 0; j < layer.size(); ++j) {
      SDL_Rect node = {truncPixel((l + 1) * columnStep - size * 0.5 + 400.0),
                       truncPixel((j + 1) * rowStep - size * 0.5 + 50.0), size, size};
      // Black first so the node hides the lines behind it, then lit additively by value.
      SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderFillRect(renderer, &node);
      SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
      uint8_t light = static_cast<uint8_t>(truncPixel(layer[j].value * 255.0) & 0xFF);
      SDL_SetRenderDrawColor(renderer, 255, 255, 255, light);
      SDL_RenderFillRect(renderer, &node);
      SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
      SDL_RenderDrawRect(renderer, &node);
    }
  }
}

} // namespace

void drawNetwork(const Network& network) {
  if (network.layers.empty()) return;
  double columnStep = 1200.0 / (network.layers.size() + 1);
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
  drawConnections(network, columnStep);
  drawNodes(network, columnStep); // after the lines: nodes cover their ends
}

namespace {

// Software drawing of the network's thousands of lines (render/state.h) takes milliseconds where
// a software OpenGL takes a quarter of a second, and gives the pixels the tests check.
constexpr uint32_t networkRedrawMilliseconds = 100;
// Where any network of up to seven layers draws: right of the training board (which ends at
// x 451), above the read-out and the visualisation button (y 875). The area lies on the black
// background, so drawing over black and copying gives the pixels that drawing in place would.
const SDL_Rect networkArea = {500, 25, 1000, 850};
constexpr size_t mostLayersInArea = 7;

bool prepareNetworkPicture() {
  if (networkPictureOwner != renderer) networkPicture = nullptr; // went with its renderer
  if (networkCanvas == nullptr) {
    networkCanvas =
        SDL_CreateRGBSurfaceWithFormat(0, windowWidth, windowHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    if (networkCanvas != nullptr) networkCanvasRenderer = SDL_CreateSoftwareRenderer(networkCanvas);
  }
  if (networkPicture == nullptr && networkCanvasRenderer != nullptr) {
    networkPicture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STREAMING, networkArea.w, networkArea.h);
    networkPictureOwner = renderer;
    networkPictureTicks = SDL_GetTicks() - networkRedrawMilliseconds; // draw it at once
  }
  return networkPicture != nullptr;
}

void redrawNetworkPicture(const Network& network) {
  SDL_FillRect(networkCanvas, nullptr, SDL_MapRGBA(networkCanvas->format, 0, 0, 0, 255));
  SDL_SetRenderDrawBlendMode(networkCanvasRenderer, SDL_BLENDMODE_NONE);
  SDL_Renderer* screen = renderer;
  renderer = networkCanvasRenderer; // the drawing code draws on the program's renderer
  drawNetwork(network);
  SDL_RenderFlush(renderer);
  renderer = screen;
  const uint8_t* areaPixels = static_cast<const uint8_t*>(networkCanvas->pixels) +
                              networkArea.y * networkCanvas->pitch + networkArea.x * 4;
  SDL_UpdateTexture(networkPicture, nullptr, areaPixels, networkCanvas->pitch);
}

} // namespace

void drawNetworkView(const Network& network) {
  if (network.layers.size() > mostLayersInArea || !prepareNetworkPicture()) {
    drawNetwork(network); // drawn in place every frame
    return;
  }
  if (SDL_GetTicks() - networkPictureTicks >= networkRedrawMilliseconds) {
    redrawNetworkPicture(network);
    networkPictureTicks = SDL_GetTicks();
  }
  SDL_SetTextureBlendMode(networkPicture, SDL_BLENDMODE_NONE);
  SDL_RenderCopy(renderer, networkPicture, nullptr, &networkArea);
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD); // as drawNetwork leaves it
}

void releaseRenderCaches() {
  if (networkPicture != nullptr && networkPictureOwner == renderer)
    SDL_DestroyTexture(networkPicture);
  networkPicture = nullptr;
  networkPictureOwner = nullptr;
  SDL_DestroyRenderer(networkCanvasRenderer);
  SDL_FreeSurface(networkCanvas);
  networkCanvasRenderer = nullptr;
  networkCanvas = nullptr;
}
