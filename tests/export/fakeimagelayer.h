#pragma once

#include "export/imagelayer.h"

#include <map>
#include <string>
#include <vector>

// An image library that writes nothing: it knows a few format names, keeps
// what it is asked to save or put on the clipboard, and answers with the
// results the test sets.
class FakeImageLayer : public ImageLayer {
public:
    struct Save {
        std::string path;
        FigureBitmap bitmap;
        ImageSaveParams params;
    };

    FakeImageLayer()
    {
        // Defaults that differ from everything the commands set, so that a
        // field left alone shows.
        defaults.formatIndex = -5;
        defaults.compression = 7;
        defaults.quality = 33;
    }

    std::int32_t FormatIndexByName(const char* name) override
    {
        lookups.emplace_back(name == nullptr ? "(null)" : name);
        const auto found = formats.find(lookups.back());
        return found == formats.end() ? 0 : found->second;
    }
    void GetDefaultSaveParams(ImageSaveParams& params) override { params = defaults; }
    ImageError SaveBitmap(const std::string& path, const FigureBitmap& bitmap, const ImageSaveParams& params) override
    {
        saves.push_back({path, bitmap, params});
        return saveResult;
    }
    ImageError ExportToClipboard(const FigureBitmap& bitmap) override
    {
        clipboard.push_back(bitmap);
        return clipboardResult;
    }

    std::map<std::string, std::int32_t> formats{{"jpeg", 1}, {"bmp", 2}, {"png", 3}, {"svg", 9}};
    ImageSaveParams defaults;
    ImageError saveResult = ImageError::None;
    ImageError clipboardResult = ImageError::None;
    std::vector<std::string> lookups;
    std::vector<Save> saves;
    std::vector<FigureBitmap> clipboard;
};
