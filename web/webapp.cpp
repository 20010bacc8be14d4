// The dialog in a browser: the window interface, the prompts, the link
// opener and the image encoders over the page's script (web/shell/view.js,
// reached as Module.view), and the entry points through which the page hands
// every event to the controller. It decides nothing of its own.

#include "dialog/controller.h"
#include "dialog/numericfilter.h"
#include "dialog/startup.h"
#include "export/bmpencoder.h"
#include "export/imagelayer.h"
#include "fileio/memoryfiles.h"
#include "model/record.h"
#include "render/palette.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// Strings cross as single bytes, one character a byte (the dialog's code
// page); the script's Module.latin1 and Module.bytes convert.
EM_JS(char*, JsItemText, (int id), { return Module.bytes(Module.view.itemText(id)); });
EM_JS(void, JsSetItemText, (int id, const char* text), { Module.view.setItemText(id, Module.latin1(text)); });
EM_JS(int, JsIsChecked, (int id), { return Module.view.isChecked(id) ? 1 : 0; });
EM_JS(void, JsSetChecked, (int id, int checked), { Module.view.setChecked(id, checked != 0); });
EM_JS(int, JsAddListItem, (int id, const char* text, int data),
      { return Module.view.addListItem(id, Module.latin1(text), data); });
EM_JS(int, JsListCount, (int id), { return Module.view.listCount(id); });
EM_JS(int, JsListSelection, (int id), { return Module.view.listSelection(id); });
EM_JS(void, JsSetListSelection, (int id, int index), { Module.view.setListSelection(id, index); });
EM_JS(int, JsListItemData, (int id, int index), { return Module.view.listItemData(id, index); });
EM_JS(void, JsFocus, (int id), { Module.view.focusItem(id); });
EM_JS(void, JsSelectText, (int id, int first, int last), { Module.view.selectText(id, first, last); });
EM_JS(void, JsLimitText, (int id, int limit), { Module.view.limitText(id, limit); });
EM_JS(int, JsClientWidth, (), { return Module.view.clientWidth(); });
EM_JS(int, JsClientHeight, (), { return Module.view.clientHeight(); });
EM_JS(void, JsPresentPreview, (const void* pixels, int width, int height, int stride, int x, int y),
      { Module.view.presentPreview(pixels, width, height, stride, x, y); });
EM_JS(void, JsEndDialog, (int result), { Module.view.endDialog(result); });
EM_JS(void, JsOpenUrl, (const char* url), { Module.view.openUrl(UTF8ToString(url)); });
EM_JS(void, JsShowError, (const char* text), { Module.view.showError(Module.latin1(text)); });
EM_ASYNC_JS(void, JsShowInformation, (const char* text), { await Module.view.showInformation(Module.latin1(text)); });
EM_ASYNC_JS(char*, JsPromptSave, (const char* request),
            { return Module.bytes(await Module.view.promptSave(JSON.parse(Module.latin1(request)))); });
EM_ASYNC_JS(int, JsPutOnClipboard, (const void* pixels, int width, int height, int stride),
            { return await Module.view.putOnClipboard(pixels, width, height, stride); });

namespace {

std::string TakeBytes(char* bytes)
{
    std::string text = bytes != nullptr ? bytes : "";
    std::free(bytes);
    return text;
}

class WebWindow : public DialogWindow {
public:
    std::string ItemText(int controlId) const override { return TakeBytes(JsItemText(controlId)); }
    void SetItemText(int controlId, const std::string& text) override { JsSetItemText(controlId, text.c_str()); }
    bool IsButtonChecked(int controlId) const override { return JsIsChecked(controlId) != 0; }
    void SetButtonChecked(int controlId, bool checked) override { JsSetChecked(controlId, checked ? 1 : 0); }
    int AddListItem(int controlId, const std::string& text, std::int32_t data) override
    {
        return JsAddListItem(controlId, text.c_str(), data);
    }
    int ListItemCount(int controlId) const override { return JsListCount(controlId); }
    int ListSelection(int controlId) const override { return JsListSelection(controlId); }
    void SetListSelection(int controlId, int index) override { JsSetListSelection(controlId, index); }
    std::int32_t ListItemData(int controlId, int index) const override { return JsListItemData(controlId, index); }
    void FocusItem(int controlId) override { JsFocus(controlId); }
    void SelectItemText(int controlId, int first, int last) override { JsSelectText(controlId, first, last); }
    void LimitItemText(int controlId, int limit) override { JsLimitText(controlId, limit); }
    PixelRect ClientRect() const override { return {0, 0, JsClientWidth(), JsClientHeight()}; }
    void PresentPreview(const Canvas& box, PixelPoint where) override
    {
        // The page copies the pixels at once; the canvas need not outlive the call.
        JsPresentPreview(box.pixels.get(), box.width, box.height, static_cast<int>(box.stride), where.x, where.y);
    }
    void EndDialog(int result) override { JsEndDialog(result); }
};

// What an edit field shows, as the text file's columns name it ("Choord",
// "E6 X"); empty for any other item.
std::string FieldName(int id)
{
    const int leading = id - kHeightFieldId;
    if (leading >= 0 && leading < static_cast<int>(LeadingValues.size()))
        return LeadingValues[static_cast<std::size_t>(leading)].column;
    const int vertex = id - kFirstVertexFieldId;
    if (vertex >= 0 && vertex < 2 * kVertexCount)
        return std::string(VertexTable[static_cast<std::size_t>(vertex / 2)].label) + (vertex % 2 == 0 ? " X" : " Y");
    return "";
}

// JSON string text for single-byte text.
std::string JsonString(const char* text)
{
    std::string out = "\"";
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
        if (*at == '"' || *at == '\\') {
            out += '\\';
            out += static_cast<char>(*at);
        } else if (*at < 0x20 || *at > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", *at);
            out += escaped;
        } else {
            out += static_cast<char>(*at);
        }
    }
    return out + "\"";
}

class WebPrompts : public UserPrompts {
public:
    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override
    {
        std::string json = "{\"filterIndex\":" + std::to_string(request.filterIndex) +
                           ",\"defaultExtension\":" + JsonString(request.defaultExtension) + ",\"filters\":[";
        for (int index = 0; index < request.filterCount; ++index) {
            json += index > 0 ? "," : "";
            json += "[" + JsonString(request.filters[index].description) + "," +
                    JsonString(request.filters[index].pattern) + "]";
        }
        json += "]}";
        path = TakeBytes(JsPromptSave(json.c_str()));
        return !path.empty();
    }
    void ShowError(const std::string& text) override { JsShowError(text.c_str()); }
    void ShowInformation(const std::string& text) override { JsShowInformation(text.c_str()); }
};

class WebUrlOpener : public UrlOpener {
public:
    void OpenUrl(const std::string& url) override { JsOpenUrl(url.c_str()); }
};

// The layer writes every format the page offers itself (JPEG, BMP and the
// drawings); the clipboard takes the figure as PNG from the browser's own
// lossless encoder.
class WebEncoders : public PixelEncoders {
public:
    std::vector<std::string> FormatNames() override { return {}; }
    bool Encode(const std::string&, const Canvas&, const ImageSaveParams&, ByteSink&) override { return false; }
    ImageError PutOnClipboard(const Canvas& pixels) override
    {
        if (!HasPixels(pixels))
            return ImageError::NoBitmap;
        return JsPutOnClipboard(pixels.pixels.get(), pixels.width, pixels.height, static_cast<int>(pixels.stride)) != 0
                   ? ImageError::None
                   : ImageError::NoClipboard;
    }
};

class WebImageLibrary : public ImageLibrary {
public:
    void SetPluginFolder(const std::string&) override {}
    bool Start() override { return true; }
    void EnableLzwCompression(bool) override {}
    void Stop() override {}
    ImageLayer* Layer() override { return &layer_; }

private:
    WebEncoders encoders_;
    EncoderImageLayer layer_{encoders_};
};

struct WebProgram {
    WebWindow window;
    WebPrompts prompts;
    WebUrlOpener opener;
    WebImageLibrary images;
    std::unique_ptr<DialogController> controller;
};

WebProgram& Program()
{
    static WebProgram program;
    return program;
}

} // namespace

extern "C" {

// The template as JSON: the window, then every item in template order.
EMSCRIPTEN_KEEPALIVE const char* WebTemplate()
{
    static const std::string json = [] {
        const DialogTemplate& dialog = MainDialogTemplate;
        std::string out = "{\"caption\":" + JsonString(dialog.caption) + ",\"font\":" + JsonString(dialog.fontName) +
                          ",\"points\":" + std::to_string(dialog.fontPointSize) +
                          ",\"width\":" + std::to_string(dialog.width) +
                          ",\"height\":" + std::to_string(dialog.height) + ",\"items\":[";
        for (int index = 0; index < dialog.controlCount; ++index) {
            const ControlTemplate& item = dialog.controls[index];
            out += index > 0 ? "," : "";
            out += "{\"id\":" + std::to_string(item.id) + ",\"name\":" + JsonString(FieldName(item.id).c_str()) +
                   ",\"kind\":" + std::to_string(static_cast<int>(item.kind)) + ",\"text\":" + JsonString(item.text) +
                   ",\"rect\":[" + std::to_string(item.rect.x) + "," + std::to_string(item.rect.y) + "," +
                   std::to_string(item.rect.width) + "," + std::to_string(item.rect.height) +
                   "],\"style\":" + std::to_string(item.style) + ",\"resource\":" + std::to_string(item.resource) + "}";
        }
        return out + "]}";
    }();
    return json.c_str();
}

// The palette as JSON: [name, red, green, blue] for each position.
EMSCRIPTEN_KEEPALIVE const char* WebPalette()
{
    static const std::string json = [] {
        std::string out = "[";
        for (std::int32_t position = 0; position < kPaletteSize; ++position) {
            const ColorValue color = PaletteColor(position);
            out += position > 0 ? "," : "";
            out += "[" + JsonString(PaletteColorName(position)) + "," + std::to_string(ColorRed(color)) + "," +
                   std::to_string(ColorGreen(color)) + "," + std::to_string(ColorBlue(color)) + "]";
        }
        return out + "]";
    }();
    return json.c_str();
}

// Start-up as on the desktop, with the program "installed" at
// /decagon/decagon among the module's files, where the page has put the
// settings file from the browser's storage. The dialog then stays open
// until it ends.
EMSCRIPTEN_KEEPALIVE void WebStart()
{
    WebProgram& program = Program();
    RunProgramSequence("/decagon/decagon", program.images, program.prompts,
                       [&program](DecagonRecord* record, ImageLibrary& images) {
                           program.controller = std::make_unique<DialogController>(
                               program.window, DialogServices{&program.prompts, &program.opener, images.Layer()});
                           program.controller->InitMainDialog(record);
                       });
}

EMSCRIPTEN_KEEPALIVE const char* WebSettingsPath() { return SettingsFilePath.c_str(); }

EMSCRIPTEN_KEEPALIVE void WebCommand(int controlId, int event)
{
    if (Program().controller)
        Program().controller->DispatchCommand(controlId, static_cast<ControlEvent>(event));
}

EMSCRIPTEN_KEEPALIVE void WebKey(int key, int focusedControlId)
{
    if (Program().controller)
        Program().controller->DispatchKey(static_cast<DialogKey>(key), focusedControlId);
}

EMSCRIPTEN_KEEPALIVE void WebClose()
{
    if (Program().controller)
        Program().controller->DispatchClose();
}

EMSCRIPTEN_KEEPALIVE void WebLink(int controlId, int linkIndex, const char* url, int event)
{
    if (Program().controller)
        Program().controller->OpenLink(controlId, linkIndex, url, static_cast<ControlEvent>(event));
}

// The files in the module's memory (fileio/memoryfiles.h), for the page:
// the settings file between memory and the browser's storage, and each
// export out to a download or to the file that the person picked.
EMSCRIPTEN_KEEPALIVE int WebFileSize(const char* path)
{
    const std::string* file = MemoryFile(path);
    return file != nullptr ? static_cast<int>(file->size()) : -1;
}

EMSCRIPTEN_KEEPALIVE const char* WebFileData(const char* path)
{
    const std::string* file = MemoryFile(path);
    return file != nullptr ? file->data() : nullptr;
}

EMSCRIPTEN_KEEPALIVE void WebPutFile(const char* path, const char* bytes, int size)
{
    PutMemoryFile(path, std::string(bytes, static_cast<std::size_t>(size)));
}

EMSCRIPTEN_KEEPALIVE int WebRemoveFile(const char* path) { return RemoveMemoryFile(path) ? 1 : 0; }

// The names of the files in folder, each ended by "/", which no name holds.
EMSCRIPTEN_KEEPALIVE const char* WebFilesIn(const char* folder)
{
    static std::string names;
    names.clear();
    for (const std::string& name : MemoryFilesIn(folder))
        names += name + "/";
    return names.c_str();
}

// The keystroke rule for one typed character: 1 to pass it on.
EMSCRIPTEN_KEEPALIVE int WebNumericPasses(int typed, int selectionStartsAtZero)
{
    return NumericCharacterPasses(static_cast<signed char>(typed), [=] { return selectionStartsAtZero != 0; }) ? 1 : 0;
}
}
