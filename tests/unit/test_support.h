// Shared helpers of the unit tests: a fresh stand-in and fresh game objects for
// every test, and the names of the sounds and music a test has heard.
#pragma once

#include "stand_in/stand_in.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Puts the stand-in and every process-wide object of the game back to their
// start-up state: the three scenes, the well, the texture store, the audio manager,
// the gamepad's and the pointer's reading.
void resetWorld();

// Names of the sounds played, in order, resolved through the audio manager.
std::vector<std::string> playedSounds();

// The name under which the audio manager holds the music with this stand-in id.
std::string musicName(unsigned int id);

// Draw calls (every recorded call that draws) in order.
std::vector<standin::Call> drawCalls();

// A colour as four comparable numbers.
std::vector<int> rgba(Color c);

// Recorded numeric arguments, equal to a thousandth.
void expectNums(const std::vector<float>& actual, const std::vector<float>& expected);

// n frames of the game scene: its update step, then the clock moves on.
void runGameFrames(int n);

class KolvexTest : public ::testing::Test {
protected:
    void SetUp() override { resetWorld(); }
    void TearDown() override { resetWorld(); }
};

// Makes a fresh directory (under $KOLVEX_TEST_TMP, else the system's temporary
// folder) the working directory for its lifetime, then goes back and removes it,
// so tests of files opened by relative name never touch the real ones.
class TempWorkingDir {
public:
    TempWorkingDir();
    ~TempWorkingDir();
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    // Names of the entries in the directory, sorted.
    std::vector<std::string> entries() const;

private:
    std::string previous;
    std::string path;
};
