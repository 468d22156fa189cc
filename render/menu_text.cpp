// PLACEHOLDER: replaced by its owner before the feature is done.
#include "render/menu_text.h"
void drawMenuItem(Font, const char*, Vector2, bool, float, Color) {}
void drawCenteredLabel(Font, const char*, Vector2) {}
void drawLeftLabel(Font, const char*, Vector2) {}
