// skinshot renders a skin without showing it: it builds the skin into a hidden window of
// the skin's size, with the program's resources and the files beside the skin, lays it
// out and paints it through the window manager's own paint path into a DIB.
//
//   skinshot SKIN.xml | --res ID    the skin: a file, or XML resource ID of the program
//     --out FILE.png                writes the picture
//     --expect FILE.png             compares the picture with FILE.png pixel for pixel
//     --layout                      prints each named control as one line of JSON:
//                                   {"name":"btn_newtoken","class":"ButtonUI","rect":[l,t,r,b]}
//     --set NAME.ATTR=VALUE         sets an attribute of a named control first (repeatable)
//     --size WIDTH,HEIGHT           the window's size when the skin gives none, or another
//
// Exit status 1 when the skin cannot be built or a setting names nothing, or when the
// picture differs from the expected one or cannot be written; 0 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/skinshot/Picture.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/base/AttributeValue.h"
#include "ui/core/DialogBuilder.h"
#include "ui/core/IControlUI.h"
#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

using namespace Veneer;

namespace {

struct TOptions {
    std::string skin;
    int resource = 0;
    std::string out;
    std::string expect;
    bool layout = false;
    std::vector<std::string> settings;
    TValueSize size = {};
};

// A hidden window whose manager sees every message.
class ShotWindow : public CWindowWnd {
public:
    const char* GetWindowClassName() const override { return "LorvikSkinShot"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE)
            manager.Init(GetHWND());
        LRESULT result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result))
            return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    CWindowManagerUI manager;
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "skinshot: %s\n", message.c_str());
    return 1;
}

bool ReadOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--layout")
            options.layout = true;
        else if (arg == "--res" && hasValue)
            options.resource = ParseInteger(argv[++i]);
        else if (arg == "--out" && hasValue)
            options.out = argv[++i];
        else if (arg == "--expect" && hasValue)
            options.expect = argv[++i];
        else if (arg == "--set" && hasValue)
            options.settings.push_back(argv[++i]);
        else if (arg == "--size" && hasValue)
            options.size = ParseSize(argv[++i]);
        else if (arg[0] != '-' && options.skin.empty())
            options.skin = arg;
        else
            return false;
    }
    const bool oneSkin = options.skin.empty() != (options.resource == 0);
    return oneSkin && (options.layout || !options.out.empty() || !options.expect.empty());
}

// NAME.ATTR=VALUE on the named control; false with a message when it names nothing.
bool ApplySetting(CWindowManagerUI& manager, const std::string& setting)
{
    const std::size_t dot = setting.find('.');
    const std::size_t equals = setting.find('=', dot);
    if (dot == std::string::npos || equals == std::string::npos) {
        Fail("--set " + setting + ": not NAME.ATTR=VALUE");
        return false;
    }
    const std::string name = setting.substr(0, dot);
    const std::string attribute = setting.substr(dot + 1, equals - dot - 1);
    IControlUI* control = manager.FindControl(name.c_str());
    if (control == nullptr) {
        Fail("--set " + setting + ": no control is named \"" + name + "\"");
        return false;
    }
    if (FindAttribute(control->GetAttributeTable(), attribute.c_str()) == nullptr) {
        Fail("--set " + setting + ": " + control->GetClass() + " has no attribute \"" + attribute +
             "\"");
        return false;
    }
    control->SetAttribute(attribute.c_str(), setting.c_str() + equals + 1);
    return true;
}

// Text of the text code page as UTF-8 inside a JSON string.
std::string JsonString(const char* text)
{
    const Veneer::CWideText wide(text);
    std::string utf8(static_cast<std::size_t>(wide.Length()) * 3 + 1, '\0');
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.Get(), -1, &utf8[0],
                                          static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '\0')
            break;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

IControlUI* PrintIfNamed(IControlUI* control, void*)
{
    const CUIString name = control->GetName();
    if (name.IsEmpty())
        return nullptr;
    const RECT rc = control->GetPos();
    std::printf("{\"name\":%s,\"class\":%s,\"rect\":[%ld,%ld,%ld,%ld]}\n", JsonString(name).c_str(),
                JsonString(control->GetClass()).c_str(), rc.left, rc.top, rc.right, rc.bottom);
    return nullptr;
}

// The window's client area, painted by its manager as WM_PRINTCLIENT asks.
SkinShot::CPicture Paint(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    SkinShot::CPicture picture(client.right, client.bottom);
    void* bits = nullptr;
    // Declared in this order, they give back the selection, then the DC, then the DIB.
    CGdiObject<HBITMAP> dib(CreateTopDownDib(client.right, client.bottom, &bits));
    CMemoryDC dc(nullptr);
    if (!dib || !dc)
        return SkinShot::CPicture(0, 0);
    CSelectObject select(dc.Get(), dib.Get());
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    GdiFlush();
    picture.TakeBgrx(static_cast<const unsigned char*>(bits));
    return picture;
}

int Shoot(const TOptions& options, ShotWindow& window)
{
    CWindowManagerUI& manager = window.manager;
    CDialogBuilder builder;
    IControlUI* root =
        options.resource != 0
            ? builder.Create(MAKEINTRESOURCEA(options.resource), "xml", nullptr, &manager)
            : builder.Create(options.skin.c_str(), nullptr, nullptr, &manager);
    if (root == nullptr) {
        const CXmlDocument& document = builder.GetDocument();
        return Fail(document.GetErrorMessage()[0] != '\0'
                        ? std::string("the skin cannot be loaded: ") + document.GetErrorMessage()
                        : "the skin makes no control");
    }
    manager.AttachRoot(root);
    SIZE size = manager.GetInitialSize();
    if (options.size.cx > 0 && options.size.cy > 0)
        size = {options.size.cx, options.size.cy};
    if (size.cx <= 0 || size.cy <= 0)
        return Fail("the skin gives no window size: give one with --size WIDTH,HEIGHT");
    SetWindowPos(window.GetHWND(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const std::string& setting : options.settings) {
        if (!ApplySetting(manager, setting))
            return 1;
    }
    const SkinShot::CPicture picture = Paint(window.GetHWND());
    if (picture.GetWidth() == 0)
        return Fail("no memory for the picture");
    if (options.layout && manager.GetRoot() != nullptr)
        manager.GetRoot()->FindControl(PrintIfNamed, nullptr, UIFIND_ALL | UIFIND_ME_FIRST);
    if (!options.out.empty() && !picture.WritePng(options.out.c_str()))
        return Fail("cannot write " + options.out);
    if (!options.expect.empty()) {
        std::string difference;
        if (!picture.Matches(options.expect.c_str(), &difference))
            return Fail("the picture differs from " + options.expect + ": " + difference);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ReadOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: skinshot SKIN.xml | --res ID  [--out FILE.png] [--expect FILE.png]\n"
                     "                [--layout] [--set NAME.ATTR=VALUE]... [--size W,H]\n");
        return 1;
    }
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    RegisterControls();
    // The skin's folder is the resource path: images and Include sources beside it load.
    const std::size_t slash = options.skin.find_last_of("/\\");
    if (slash != std::string::npos) {
        CWindowManagerUI::SetResourcePath(options.skin.substr(0, slash + 1).c_str());
        options.skin.erase(0, slash + 1);
    }
    ShotWindow window;
    if (window.Create(nullptr, "skinshot", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0) == nullptr)
        return Fail("no window");
    const int status = Shoot(options, window);
    DestroyWindow(window.GetHWND());
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Fail("the output could not be written");
    return status;
}
