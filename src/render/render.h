// Rendering: everything drawn, from nothing, every frame. Reads state, never changes it.
#pragma once

#include "ai/state.h"
#include "app/state.h"
#include "game/state.h"

#include <array>
#include <string>

// ---------------------------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------------------------

std::string formatInt(int32_t value);                // "-7", "0", "1500"
std::array<uint8_t, 3> cellColour(int32_t cellCode); // board cell, preview and backdrop rule
void setPieceDrawColour(int32_t k, uint8_t alpha, bool direct);
void drawButton(const Button& button);

// ---------------------------------------------------------------------------------------------
// Fields, heads-up display, screens
// ---------------------------------------------------------------------------------------------

void drawBoard(int player, int32_t originX, int32_t cellPitch, bool showBoxes);
void drawIncomingDamage();
void drawRoundPoints(std::array<int32_t, 3> left, std::array<int32_t, 3> right);
void drawLineClearParticles();
void drawResultBanner();
void drawFitnessGraph();
void drawNetwork(const Network& network);
void drawMenuScreen();
void drawSlider(const Slider& slider);
void drawFrame(); // clear, draw the current mode, present
