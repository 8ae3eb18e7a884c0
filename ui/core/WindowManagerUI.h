#pragma once
// CWindowManagerUI: one per skin window. It routes the window's messages to its controls
// and stores the resources they draw with. The two halves live in separate files:
// WindowManagerResources.cpp (process-wide settings, images, fonts, default lists, window
// settings) and WindowManagerUI.cpp (construction, the window, and the message half).

#include <windows.h>

#include "ui/core/PtrArray.h"
#include "ui/core/StringMap.h"
#include "ui/core/UIString.h"

namespace Veneer {

class CControlUI;
struct TImageEntry;

// One font of a manager; it owns its handle.
struct TFontEntry {
    TFontEntry() = default;
    ~TFontEntry() { DeleteObject(font); }
    TFontEntry(const TFontEntry&) = delete;
    TFontEntry& operator=(const TFontEntry&) = delete;

    HFONT font = nullptr;
    CUIString face;
    int size = 0;  // character height in pixels; the font is made with height -size
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICA metrics = {};  // measured on first use: tmHeight 0 means not yet
};

class CWindowManagerUI {
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    // Takes the window to manage and its paint DC, which the manager releases at the end.
    void Init(HWND window);
    HWND GetPaintWindow() const { return m_window; }
    HDC GetPaintDC() const { return m_paintDC; }
    CControlUI* GetRoot() const { return m_root; }

    // Process-wide settings.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // Directory of the instance's module file with its trailing backslash; empty without one.
    static CUIString GetInstancePath();
    // A non-empty path that does not end in '\' or '/' gets '\' appended.
    static void SetResourcePath(const char* path);
    static const CUIString& GetResourcePath();
    // The module that skin and image resources are read from: the instance.
    static HINSTANCE GetResourceModule();

    // The manager whose fonts, colours and default lists this one falls back on. Refused
    // (false, nothing changes) for this manager itself and for one that would make a cycle.
    bool SetResourceParent(CWindowManagerUI* parent);
    CWindowManagerUI* GetResourceParent() const { return m_resourceParent; }

    // Images: this manager's cache only. Resource images are named by their decimal id.
    TImageEntry* GetImage(const char* name) const;
    TImageEntry* FindOrLoadImage(const char* name, const char* type, DWORD mask);
    // type null or empty: a file below the resource path. Null when nothing could be
    // loaded or when the cache already holds the name.
    TImageEntry* AddImage(const char* name, const char* type, DWORD mask);
    void RemoveAllImages();

    // Fonts. Entries are never null: lookups that find nothing give the default font of
    // the topmost manager of the resource-parent chain.
    void SetDefaultFont(const char* face, int size, bool bold, bool underline, bool italic);
    HFONT AddFont(const char* face, int size, bool bold, bool underline, bool italic);
    TFontEntry* GetFontEntry(int index);
    TFontEntry* GetFontEntry(HFONT font);
    TFontEntry* GetDefaultFontEntry();
    HFONT FindFont(const char* face, int size, bool bold, bool underline, bool italic) const;
    int GetCustomFontCount() const { return m_customFonts.GetSize(); }
    void RemoveAllFonts();

    // Default attribute lists by control class name; the first list given for a name stays.
    void AddDefaultAttributes(const char* className, const char* list);
    const char* FindDefaultAttributes(const char* className) const;
    void RemoveAllDefaultAttributes();

    // Default colours (ARGB); reads give the topmost manager's values.
    void SetDisabledFontColor(DWORD color) { m_disabledFontColor = color; }
    void SetDefaultFontColor(DWORD color) { m_defaultFontColor = color; }
    void SetLinkFontColor(DWORD color) { m_linkFontColor = color; }
    void SetLinkHoverFontColor(DWORD color) { m_linkHoverFontColor = color; }
    void SetSelectedColor(DWORD color) { m_selectedColor = color; }
    DWORD GetDisabledFontColor() const { return Topmost()->m_disabledFontColor; }
    DWORD GetDefaultFontColor() const { return Topmost()->m_defaultFontColor; }
    DWORD GetLinkFontColor() const { return Topmost()->m_linkFontColor; }
    DWORD GetLinkHoverFontColor() const { return Topmost()->m_linkHoverFontColor; }
    DWORD GetSelectedColor() const { return Topmost()->m_selectedColor; }

    // Window settings from the skin's root element.
    void SetInitialSize(int width, int height);
    void SetSizeBox(const RECT& box) { m_sizeBox = box; }
    void SetCaptionArea(const RECT& caption) { m_captionArea = caption; }
    void SetRoundCorner(int width, int height) { m_roundCorner = {width, height}; }
    void SetMinInfo(int width, int height) { m_minInfo = {width, height}; }
    void SetMaxInfo(int width, int height) { m_maxInfo = {width, height}; }
    SIZE GetInitialSize() const { return m_initialSize; }
    RECT GetSizeBox() const { return m_sizeBox; }
    RECT GetCaptionArea() const { return m_captionArea; }
    SIZE GetRoundCorner() const { return m_roundCorner; }
    SIZE GetMinInfo() const { return m_minInfo; }
    SIZE GetMaxInfo() const { return m_maxInfo; }
    void SetShowDirty(bool show) { m_showDirty = show; }
    void SetBkTransparent(bool transparent) { m_bkTransparent = transparent; }
    // Opacity of a layered window: below 256 the window becomes layered, else it stops being so.
    void SetAlpha(int opacity);

private:
    // The resource half's share of construction and destruction.
    void InitResources();
    void ReleaseResources();
    const CWindowManagerUI* Topmost() const;
    CWindowManagerUI* Topmost();
    void MeasureFont(TFontEntry& entry) const;

    // Messaging state (WindowManagerUI.cpp).
    HWND m_window = nullptr;
    HDC m_paintDC = nullptr;
    CControlUI* m_root = nullptr;
    bool m_showDirty = false;
    bool m_bkTransparent = false;

    // Resources (WindowManagerResources.cpp).
    CWindowManagerUI* m_resourceParent = nullptr;
    TFontEntry m_defaultFont;
    CPtrArray m_customFonts;        // owned TFontEntry
    CStringMap m_images;            // name -> owned TImageEntry
    CStringMap m_defaultAttributes; // class name -> owned CUIString
    DWORD m_disabledFontColor = 0xFFA7A6AA;
    DWORD m_defaultFontColor = 0xFF000000;
    DWORD m_linkFontColor = 0xFF0000FF;
    DWORD m_linkHoverFontColor = 0xFFD3215F;
    DWORD m_selectedColor = 0xFFBAE4FF;
    SIZE m_initialSize = {};
    RECT m_sizeBox = {};
    RECT m_captionArea = {};
    SIZE m_roundCorner = {};
    SIZE m_minInfo = {};
    SIZE m_maxInfo = {};
};

}  // namespace Veneer
