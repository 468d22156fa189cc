// The asset catalogue over the generated table: an embedded file's bytes are in
// the program, a packed one's in its pack once the page has handed it over.
#include "assets/asset_catalogue.h"

#include "assets/asset_packs.h"
#include "assets/embedded_assets.h"

#include <array>
#include <cstddef>

namespace {

// Each pack's bytes once taken in, kept for the whole run as embedded bytes are.
std::array<const unsigned char*, kAssetPacks.size()> packBytes{};
bool packsRequested = false;

AssetFile here(const EmbeddedFile& file) {
    if (file.pack == 0) {
        return {file.name, file.bytes, file.length};
    }
    const unsigned char* pack = packBytes[static_cast<std::size_t>(file.pack - 1)];
    return {file.name, pack == nullptr ? nullptr : pack + file.offset, file.length};
}

} // namespace

AssetFile assetFile(std::string_view name) {
    for (const EmbeddedFile& file : kEmbeddedFiles) {
        if (name == file.name) {
            return here(file);
        }
    }
    return {"", nullptr, 0};
}

std::vector<AssetFile> assetFiles(std::string_view prefix) {
    std::vector<AssetFile> files;
    for (const EmbeddedFile& file : kEmbeddedFiles) {
        const AssetFile found = here(file);
        if (std::string_view(file.name).starts_with(prefix) && found.bytes != nullptr) {
            files.push_back(found);
        }
    }
    return files;
}

bool assetsHere(std::string_view prefix) {
    for (const EmbeddedFile& file : kEmbeddedFiles) {
        if (std::string_view(file.name).starts_with(prefix) && here(file).bytes == nullptr) {
            return false;
        }
    }
    return true;
}

void receiveAssetPacks() {
    if (!packsRequested) {
        packsRequested = true;
        for (std::size_t i = 0; i < kAssetPacks.size(); ++i) {
            requestAssetPack(static_cast<int>(i), kAssetPacks[i].name, kAssetPacks[i].length);
        }
        return;
    }
    for (std::size_t i = 0; i < kAssetPacks.size(); ++i) {
        if (packBytes[i] == nullptr) {
            packBytes[i] = takeAssetPack(static_cast<int>(i));
        }
    }
}
