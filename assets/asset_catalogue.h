// The asset catalogue: every asset file by name, whether it is here yet. On the
// desktop all of them are embedded in the program; on the web the program holds
// what the title's first frame draws and the rest arrives in packs afterwards,
// so a file may be known but not here yet.
#pragma once

#include <string_view>
#include <vector>

struct AssetFile {
    const char* name;
    const unsigned char* bytes; // null while the file is not here
    int length;
};

// The file of that name; no bytes while it has not arrived (or never exists).
AssetFile assetFile(std::string_view name);
// The files here whose names start with `prefix`, in natural name order.
std::vector<AssetFile> assetFiles(std::string_view prefix);
// True once every file whose name starts with `prefix` is here.
bool assetsHere(std::string_view prefix);

// Once a frame, after it is drawn: the first call asks for the packs, each later
// one takes in those that have arrived. Nothing to do where there are none.
void receiveAssetPacks();
