// The title scene: the title picture, the main menu and its two pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SceneManager;

enum class TitlePage : std::int32_t { Menu = 0, Credits = 1, HowToPlay = 2 };

// Not the order on screen, which is GameStart, HowToPlay, Credits, Quit.
enum class MenuItem : std::int32_t { GameStart = 0, Credits = 1, HowToPlay = 2, Quit = 3 };

struct TitleScene {
    SceneManager* manager = nullptr;
    TitlePage page = TitlePage::Menu;
    MenuItem item = MenuItem::GameStart;
    std::vector<std::string> backgroundNames{"tx_titlebg", "tx_htpbg"};
    // The first frame after the enter step loads nothing ahead: at start-up it
    // is the one the player waits for.
    bool firstFrame = true;

    void enter(SceneManager& sceneManager);
    void update();
    void draw();
    void exit();
};

extern TitleScene titleScene;
