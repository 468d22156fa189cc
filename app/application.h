// The program's entry routine: start-up, the frame loop and shutdown.
#pragma once

// The window the game opens, and the size every screen is laid out for.
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 700;

// Runs Kolvex from the opening of its window to its closing; returns the exit status.
int runApplication();
