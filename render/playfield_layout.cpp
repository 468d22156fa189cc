// PLACEHOLDER: replaced by its owner before the feature is done.
#include "render/playfield_layout.h"
PlayfieldLayout playfieldLayout;
Texture2D blockTexture{};
void computePlayfieldLayout(GameScene&) {}
