// The frame loop's platform half: the window flags, the pacing of frames and
// the loop that calls one pass per frame (frame_loop_desktop.cpp, frame_loop_web.cpp).
#pragma once

#include "app/scene_manager.h"

// The flags the window is opened with on this platform.
extern const unsigned int kPlatformWindowFlags;

// What the window takes once it has opened: on the desktop, the smallest size
// it may be made, half the game's.
void setUpWindow();
// Sets how frames are paced, once after the window has opened.
void paceFrames();
// Once a frame, before the scenes: the window's own keys, full screen on the desktop.
void followWindowKeys();
// After the frame is cleared: the frame's drawing lands on the game's picture
// within the window, at the window's own pixels.
void placeGameView();
// Ends the frame's drawing. A frame that leaves a switch pending is not held to
// the pace: the next scene's first frame, which the switch waits for, follows
// at once, so a key that changes scenes shows as soon as any other.
void endFrame(bool switchPending);
// Runs passes of the frame loop until the game ends, then the exit steps.
void runFrameLoop(SceneManager& scenes);

// From application.cpp: one pass of the frame loop, false when the window's
// close button was used; and the exit steps.
bool runFrame(SceneManager& scenes);
void shutDown(SceneManager& scenes);
