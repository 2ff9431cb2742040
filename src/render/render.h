// Rendering: everything drawn, from nothing, every frame. Reads state, never changes it.
#pragma once

#include "ai/state.h"
#include "app/state.h"
#include "game/game.h"
#include "game/state.h"

#include <array>
#include <functional>
#include <string>

// ---------------------------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------------------------

std::string formatInt(int32_t value);                // "-7", "0", "1500"
std::array<uint8_t, 3> cellColour(int32_t cellCode); // board cell, preview and backdrop rule
void setPieceDrawColour(int32_t k, uint8_t alpha, bool direct);
void drawButton(const Button& button);

// Where a rendered text of width w and height h goes: its top-left corner.
using TextPlacement = std::function<SDL_Point(int w, int h)>;
// The one text routine: solid rendering, copied unscaled where place says, surface and texture
// released before it returns. Text is always opaque; a failed rendering draws nothing.
void drawText(TTF_Font* font, const std::string& text, SDL_Color colour,
              const TextPlacement& place);
void drawTextAt(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y);
TTF_Font* fontForSize(int32_t textSize); // 2 medium, 3 large, anything else small
constexpr std::array<uint8_t, 3> white = {255, 255, 255};
void setDrawColour(std::array<uint8_t, 3> colour, uint8_t alpha);
int32_t truncPixel(double value); // toward zero, kept inside a range the conversion can hold
void fillCell(SDL_Rect cell, std::array<uint8_t, 3> colour); // filled, white grid line
void drawDoubleFrame(SDL_Rect frame);                        // white outline 2 pixels thick
void drawVeil();                                             // darkens all drawn so far
std::string sliderValueText(const Slider& slider);           // "7", "0.05", "-0.50"

// ---------------------------------------------------------------------------------------------
// Fields, heads-up display, screens
// ---------------------------------------------------------------------------------------------

void drawBoard(int player, int32_t originX, int32_t cellPitch, bool showBoxes);
void drawIncomingDamage();
void drawRoundPoints(std::array<int32_t, 3> left, std::array<int32_t, 3> right);
void drawLineClearParticles();
void drawResultBanner();
void drawFitnessGraph();                                    // on fitnessGraphPanel
constexpr SDL_Rect fitnessGraphPanel = {500, 50, 900, 800}; // the training screen's graph
void drawNetwork(const Network& network);
void drawMenuScreen();
void drawSlider(const Slider& slider);
void drawFrame(); // clear, draw the current mode, present
