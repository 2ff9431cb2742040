// Rendering: everything drawn, from nothing, every frame. Reads state, never changes it.
#pragma once

#include "ai/state.h"
#include "game/game.h"
#include "game/state.h"
#include "render/state.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t versusCellPitch = 33; // both versus boards; their bottom edge is y 831

// ---------------------------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------------------------

std::string formatInt(int32_t value);                // "-7", "0", "1500"
std::array<uint8_t, 3> cellColour(int32_t cellCode); // board cell, preview and backdrop rule
std::array<uint8_t, 3> pieceTypeColour(int32_t k);   // loaded piece k's, in the palette chosen
void setPieceDrawColour(int32_t k, uint8_t alpha, bool direct);
void drawButton(const Button& button); // face, frame and caption in fontForSize
// The menus' text, at ui_scale's size; play screens keep fontForSize's fonts.
TTF_Font* menuFont(int32_t textSize);      // fontForSize for the menus
void drawMenuButton(const Button& button); // drawButton with menuFont
CaptionFit captionFit(const Button& button, TTF_Font* font);
int sliderLabelLift(); // how much higher a slider's label starts than at 100
std::string buttonCaption(const Button& button); // as drawn: translated text, then valueText

// Where a rendered text of width w and height h goes: its top-left corner.
using TextPlacement = std::function<SDL_Point(int w, int h)>;
// The one text routine: solid rendering, copied where place says, surface and texture released
// before it returns. Unscaled, unless maxWidth > 0 and the text is wider: then shrunk to that
// width. Text is always opaque; a failed rendering draws nothing.
void drawText(TTF_Font* font, const std::string& text, SDL_Color colour, const TextPlacement& place,
              int maxWidth = 0);
void drawTextAt(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y,
                int maxWidth = 0);
// The text broken at spaces into as few lines as fit maxWidth in font, of like widths.
std::vector<std::string> wrapText(TTF_Font* font, const std::string& text, int maxWidth);
constexpr int headingRoom = 1460; // a title centred on the window: 20 pixels clear of each side
TTF_Font* fontForSize(int32_t textSize); // 2 medium, 3 large, anything else small
constexpr std::array<uint8_t, 3> white = {255, 255, 255};
constexpr std::array<uint8_t, 3> warningColour = {255, 150, 0}; // a clashing binding's button
void setDrawColour(std::array<uint8_t, 3> colour, uint8_t alpha);
int32_t truncPixel(double value); // toward zero, kept inside a range the conversion can hold
void fillCell(SDL_Rect cell, std::array<uint8_t, 3> colour); // filled, white grid line
// A whole board as filled cells with grid lines, its cell (0, 0) at (left, top), pitch c.
void drawBoardCells(const Board& board, int32_t left, int32_t top, int32_t c);
void drawDoubleFrame(SDL_Rect frame); // white outline 2 pixels thick
void drawVeil(); // darkens all drawn so far (only the recorded areas, when recorded)
// Drawing calls that note where they draw while recording is on; all drawing before a veil and
// the menu backdrop goes through them.
void fillRect(const SDL_Rect& area);
void outlineRect(const SDL_Rect& area);
void drawLine(int x1, int y1, int x2, int y2);
void recordDrawnAreas(bool on);                    // start (clearing the record) or stop
std::vector<SDL_Rect> drawnPartsOf(SDL_Rect area); // recorded drawing in area, disjoint; or area
std::vector<SDL_Rect> disjointUnion(const std::vector<SDL_Rect>& rects); // no overlaps
std::string sliderValueText(const Slider& slider);                       // "7", "0.05", "-0.50"
std::string sliderCaption(const Slider& slider); // as drawn: "Music Volume : 80", translated
int sliderLabelRoom(const Slider& slider);       // the widest its caption is drawn

// ---------------------------------------------------------------------------------------------
// Palettes and the pieces' marks
// ---------------------------------------------------------------------------------------------

int32_t pieceTypeOf(int32_t cellCode);                      // loaded piece index; -1 for none
std::array<uint8_t, 3> paletteCellColour(int32_t cellCode); // cellColour in the other palettes
std::array<uint8_t, 3> paletteTypeColour(int32_t type);     // a loaded piece's, ditto
std::array<uint8_t, 3> ghostColour(int32_t pieceId);        // the ghost's outline
std::array<uint8_t, 3> markColourOn(std::array<uint8_t, 3> fill); // black or white, to read
// The piece type's own mark inside cell (its grid lines included), at any side from 18 up.
void drawPieceMark(int32_t type, SDL_Rect cell, std::array<uint8_t, 3> colour);
// What a filled piece cell gets over its fill: the white edge, the mark, as chosen.
void decoratePieceCell(int32_t type, SDL_Rect cell, std::array<uint8_t, 3> fill);

// ---------------------------------------------------------------------------------------------
// Fields, heads-up display, screens
// ---------------------------------------------------------------------------------------------

// A player's well centred on originX: cells, falling piece, ghost, flash; hold and next boxes
// too when showBoxes.
void drawBoard(int player, int32_t originX, int32_t cellPitch, bool showBoxes);
void drawIncomingDamage(); // both players' waiting garbage beside their wells
void drawDamageBars(const std::vector<DamageRecord>& records, int32_t x); // waiting garbage
void drawRoundPoints(std::array<int32_t, 3> left, std::array<int32_t, 3> right);
void drawLineClearParticles(); // the squares flying from cleared rows (none in reduce motion)
const ParticleLayout* lineClearLayout(int player); // where a player's squares fly (the core's hook)
void drawResultBanner();                           // "WIN" and "LOSE" in the wells at a match's end
void drawFitnessGraph();                           // on fitnessGraphPanel
// Whatever draw draws, by another renderer with another small font (the laboratory's pictures).
void drawWith(SDL_Renderer* target, TTF_Font* small, const std::function<void()>& draw);
constexpr SDL_Rect fitnessGraphPanel = {500, 50, 900, 800}; // the training screen's graph
void drawNetwork(const Network& network); // neurons and weighted connections, layer by layer
// drawNetwork through a cached picture, redrawn at most ten times a second: thousands of lines
// a frame would otherwise slow the training it shows.
void drawNetworkView(const Network& network);
void releaseRenderCaches(); // before the renderer is destroyed: frees what drawing keeps
void drawMenuScreen();
void drawFocusOutline(); // around the focused widget, when keys or a pad drive the menus
// Which pad is whose: pads holds player 1's, then player 2's (null: none).
void drawGamepadScreen(SDL_GameController* const pads[2]);
std::vector<std::string> gameOverTexts(); // the game-over banner's lines; none while playing
void drawGameOverBanner();                // over the topped-out well
// A black panel in a double frame holding lines (the first largeLines large): readable over any
// board.
void drawPanel(SDL_Rect panel, const std::vector<std::string>& lines, size_t largeLines = 1);
constexpr double goShown = 50.0; // game time "Go" stays up after the countdown
std::string countdownText();     // Sprint and Ultra's "3", "2", "1", "Go" (a message id); "" none
void drawCountdown();            // that text over the well
void drawPlayerLabels();         // "Player 1" / "Player 2" or "You" / "Bot" above the wells
void drawPauseFrame();           // "Paused" with "Resume" and "Quit to menu", over a paused game
void drawPlayNotice();           // the one line over play: a binding clash, or a key to press again
void drawScreenHeading();        // the menu screens' titles, at the menus' size
SDL_Rect screenHeadingArea(int32_t screen); // where that title is drawn; empty for none
SDL_Rect sliderTrack(const Slider& slider); // the track as drawn, its margins included
void drawSlider(const Slider& slider);
void drawFrame();         // clear, draw the current mode, present
void drawModesScreen();   // the bests under Sprint and Ultra
void drawReplaysScreen(); // the list's heading
void drawPlayFigures();   // figures box, results panel, playback bar
void drawOnlineScreen();  // the online screen's title, status and addresses
// An online status (the online layer's, English for the log, or the shell's) in the language
// shown; unknown ones as they are.
std::string onlineText(const std::string& english);
void drawOnlineGame(bool live); // mode 8: both fields, the result; live: score and latency too
// The result over this player's field at an online game's end: the outcome, then why, on a panel.
std::vector<std::string> onlineResultTexts();
size_t onlineOutcomeLines(); // how many of those lines are the outcome, drawn large
void drawOnlineResult();
void drawNetworkTexts(); // the level's network, the training warning, the networks screen's title

// ---------------------------------------------------------------------------------------------
// A game's figures as text, and how a result stands against a best
// ---------------------------------------------------------------------------------------------

std::string twoDecimals(double value); // "12.50", as the history and bests files keep it
std::string clockText(double seconds); // "m:ss.cc", the one way a time is shown
// A result against the best it was measured against: "−1.32 s" (sprint), "+350" (points).
std::string bestDifferenceText(const std::string& mode, double value, double best);
bool betterThanBest(const std::string& mode, double value, double best); // to the hundredth
double bestValueOf(const GameRecord& game); // seconds for a sprint, else the score
bool finishedSprint(const GameRecord& game);
const PersonalBest* personalBest(const std::string& mode); // null when the mode has none
double keysPerPiece(const FinesseCount& count); // key presses per locked piece, 0 before any

// ---------------------------------------------------------------------------------------------
// The menu focus's widgets
// ---------------------------------------------------------------------------------------------

int32_t focusItemCount();           // the current screen's buttons and sliders
FocusItem focusItem(int32_t index); // one of them
int32_t currentFocusContext();      // the mode and screen now shown
bool pausedGame();  // a paused game: "Resume", "Quit to menu" and "Back" are its menu
bool validScreen(); // currentScreen has its lists of buttons and sliders
