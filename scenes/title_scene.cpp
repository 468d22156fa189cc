// The title scene: the title picture with its four-entry menu, the how-to-play
// and credits pages opened from it, the title music and the menu sounds.
#include "scenes/title_scene.h"

#include "app/application.h"
#include "app/controls.h"
#include "app/pointer.h"
#include "app/scene_manager.h"
#include "assets/asset_catalogue.h"
#include "assets/asset_loading.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/game_scene.h"
#include "render/background.h"
#include "render/menu_text.h"
#include "scenes/title_pages.h"

#include <raylib.h>

#include <cstddef>

TitleScene titleScene;

namespace {

constexpr const char* kMusicName = "bgm_title";
constexpr const char* kConfirmSound = "sfx_confirm";
constexpr const char* kQuitSound = "sfx_quit";
constexpr const char* kSelectSound = "sfx_select";
constexpr float kSoundVolume = 1.0f;
constexpr std::size_t kMenuBackground = 0;
constexpr std::size_t kPageBackground = 1;
// Not needed by the first title frame, so loaded a piece a frame after it, then
// what a GAME START needs. Each is also loaded when first used, should the
// player act before it came.
constexpr const char* kLaterSounds[] = {kConfirmSound, kQuitSound, kSelectSound};

// The entries from top to bottom; the MenuItem values follow another order.
constexpr MenuItem kScreenOrder[] = {MenuItem::GameStart, MenuItem::HowToPlay, MenuItem::Credits,
                                     MenuItem::Quit};
constexpr int kEntryCount = 4;
constexpr const char* kEntryTexts[] = {"GAME START", "HOW TO PLAY", "CREDITS", "QUIT"};
constexpr float kMenuLeftOfMiddle = 120.0f;
constexpr float kFirstEntryBelowMiddle = 20.0f;
constexpr float kEntryStep = 40.0f;
constexpr float kEntrySize = 20.0f;

void play(const char* sound) {
    loadAssetSound(sound);
    AudioManager::instance().playSound(sound, kSoundVolume);
}

// Only what has arrived: on the web the rest comes after the first frame.
void loadAhead(const TitleScene& scene) {
    for (const char* sound : kLaterSounds) {
        if (!AudioManager::instance().holdsSound(sound) && assetsHere(sound)) {
            loadAssetSound(sound);
            return;
        }
    }
    const std::string& page = scene.backgroundNames[kPageBackground];
    if (!TextureStore::instance().holds(page) && assetsHere(page)) {
        loadAssetTexture(page.c_str());
        return;
    }
    preloadGameStart();
}

int screenIndex(MenuItem item) {
    for (int i = 0; i < kEntryCount; ++i) {
        if (kScreenOrder[i] == item) {
            return i;
        }
    }
    return 0;
}

void selectItem(TitleScene& scene, MenuItem item) {
    play(kSelectSound);
    scene.item = item;
}

void showBackground(const TitleScene& scene, std::size_t index) {
    TextureStore::instance().setBackground(scene.backgroundNames[index]);
}

void openPage(TitleScene& scene, TitlePage page) {
    play(kConfirmSound);
    loadAssetTexture(scene.backgroundNames[kPageBackground].c_str());
    showBackground(scene, kPageBackground);
    scene.page = page;
}

void confirm(TitleScene& scene, MenuItem entry) {
    switch (entry) {
    case MenuItem::GameStart:
        play(kConfirmSound);
        scene.manager->requestSwitch(SceneId::Game);
        break;
    case MenuItem::HowToPlay:
        openPage(scene, TitlePage::HowToPlay);
        break;
    case MenuItem::Credits:
        openPage(scene, TitlePage::Credits);
        break;
    case MenuItem::Quit:
        play(kQuitSound);
        scene.manager->running = false;
        break;
    }
}

MenuLayout menuLayout() {
    MenuLayout menu;
    menu.size = kEntrySize;
    const float x = static_cast<float>(kWindowWidth) * 0.5f - kMenuLeftOfMiddle;
    const float firstY = static_cast<float>(kWindowHeight) * 0.5f + kFirstEntryBelowMiddle;
    for (int i = 0; i < kEntryCount; ++i) {
        addMenuEntry(menu, kEntryTexts[i], Vector2{x, firstY + kEntryStep * static_cast<float>(i)});
    }
    return menu;
}

// Both moves and the confirm belong to the entry highlighted when this step began,
// so Down and Up together make both of that entry's moves, and a confirm with a
// move carries out the entry that was highlighted before the move. The pointer's
// hover is a move; its release chooses only the entry that was highlighted.
void handleMenuInput(TitleScene& scene) {
    const MenuItem row = scene.item;
    const int index = screenIndex(row);
    const MenuPointing pointing = pointAtMenu(menuLayout().entryAreas());
    if (fired(Action::MenuDown) && index + 1 < kEntryCount) {
        selectItem(scene, kScreenOrder[index + 1]);
    }
    if (fired(Action::MenuUp) && index > 0) {
        selectItem(scene, kScreenOrder[index - 1]);
    }
    if (pointing.hovered >= 0 && kScreenOrder[pointing.hovered] != scene.item) {
        selectItem(scene, kScreenOrder[pointing.hovered]);
    }
    if (fired(Action::Confirm) || pointing.chosen == index) {
        confirm(scene, row);
    }
}

void handlePageKeys(TitleScene& scene) {
    if (!fired(Action::Back)) {
        return;
    }
    play(kQuitSound);
    showBackground(scene, kMenuBackground);
    scene.page = TitlePage::Menu;
}

// Home and End act on the pages too; the change shows once the menu is back.
void handleHomeEnd(TitleScene& scene) {
    if (fired(Action::MenuFirst) && scene.item != MenuItem::GameStart) {
        selectItem(scene, MenuItem::GameStart);
    }
    if (fired(Action::MenuLast) && scene.item != MenuItem::Quit) {
        selectItem(scene, MenuItem::Quit);
    }
}

void drawTitleMenu(const TitleScene& scene) {
    drawMenu(menuLayout(), screenIndex(scene.item), WHITE);
}

} // namespace

void TitleScene::enter(SceneManager& sceneManager) {
    manager = &sceneManager;
    firstFrame = true;
    loadAssetTexture(backgroundNames[kMenuBackground].c_str());
    showBackground(*this, kMenuBackground);
    startSceneMusic(kMusicName, "bgm_title_intro", "bgm_title_loop");
}

void TitleScene::update() {
    if (!firstFrame) {
        loadAhead(*this);
    }
    firstFrame = false;
    readControls();
    handleHomeEnd(*this);
    if (page == TitlePage::Menu) {
        handleMenuInput(*this);
    } else {
        handlePageKeys(*this);
    }
    AudioManager::instance().update(GetFrameTime());
}

void TitleScene::draw() {
    drawBackground(WHITE);
    switch (page) {
    case TitlePage::Menu:
        drawTitleMenu(*this);
        break;
    case TitlePage::HowToPlay:
        drawHowToPlayPage();
        break;
    case TitlePage::Credits:
        drawCreditsPage();
        break;
    }
}

void TitleScene::exit() {
    stopSceneMusic();
}
