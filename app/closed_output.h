// Standard output that nobody reads any more (a pipe whose reader went away)
// must not end the game: its log lines then simply go nowhere.
#pragma once

// Call once at start-up, before anything is written.
void ignoreClosedOutput();
