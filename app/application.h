// The program's entry routine: start-up, the frame loop and shutdown.
#pragma once

// The game's own size: the window opens at it, in the desktop's units, and every
// screen is laid out and drawn at it whatever the window's size (app/game_view.h).
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 700;

// Runs Kolvex from the opening of its window to its closing; returns the exit status.
int runApplication();
