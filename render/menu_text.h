// The text routines of every menu and page: a pulsing, marked menu item and two
// plain white labels, centred on a point or anchored at their left edge; and a
// menu's layout, where its entries are drawn and where they answer the pointer.
#pragma once

#include <raylib.h>

#include <span>

// One menu's entries of one size, each at its centre with the area that answers
// the pointer: the text as drawn at its base size, with a fingertip's margin.
struct MenuLayout {
    static constexpr int kMaxEntries = 4;
    float size = 0.0f;
    int count = 0;
    const char* texts[kMaxEntries]{};
    Vector2 centres[kMaxEntries]{};
    Rectangle areas[kMaxEntries]{};

    std::span<const Rectangle> entryAreas() const {
        return {areas, static_cast<std::size_t>(count)};
    }
};

// Adds an entry below the last, or beside it, wherever its centre is.
void addMenuEntry(MenuLayout& menu, const char* text, Vector2 centre);
// Every entry, the one at `selected` pulsing with its marker.
void drawMenu(const MenuLayout& menu, int selected, Color colour);

void drawMenuItem(Font font, const char* text, Vector2 centre, bool selected, float baseSize,
                  Color colour);
void drawCenteredLabel(Font font, const char* text, Vector2 centre);
void drawLeftLabel(Font font, const char* text, Vector2 leftMiddle);
