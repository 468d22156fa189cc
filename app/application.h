// The program's entry routine: start-up, the frame loop and shutdown.
#pragma once

// Runs Kolvex from the opening of its window to its closing; returns the exit status.
int runApplication();
