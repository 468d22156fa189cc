// The platform's part of the asset packs: on the web the page fetches each pack
// and hands it over whole; elsewhere there are none and these are never asked.
#pragma once

// Asks for pack `index`, `name` beside the page, `length` bytes long. The page
// fetches the packs one after another in the order they were asked for.
void requestAssetPack(int index, const char* name, int length);
// The pack's bytes once it has arrived whole, held for the rest of the run;
// null until then.
const unsigned char* takeAssetPack(int index);
