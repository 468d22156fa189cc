// The scene manager: which of the three scenes runs, the frame loop's calls
// forwarded to it, and the switches the scenes ask for, applied a frame later.
#pragma once

#include <cstdint>

enum class SceneId : std::int32_t { Title = 0, Game = 1, GameOver = 2 };

struct SceneManager {
    bool running = false;
    bool switchPending = false;
    SceneId current = SceneId::Title;
    SceneId next = SceneId::Title;

    void enterScene();
    void exitScene();
    void updateScene();
    void drawScene();
    void requestSwitch(SceneId id);

    // The last game's results, read from the game scene itself: its exit step
    // leaves them in place for the game-over scene that is entered right after.
    std::uint32_t lastScore() const;
    std::uint16_t lastLevel() const;
    std::uint16_t lastLines() const;
};
