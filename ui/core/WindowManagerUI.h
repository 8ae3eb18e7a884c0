#pragma once
// CWindowManagerUI: one per skin window. It routes the window's messages to its controls
// and stores the resources they draw with. The two halves live in separate files:
// WindowManagerResources.cpp (process-wide settings, images, fonts, default lists, window
// settings) and WindowManagerUI.cpp (construction, the window, and the message half, with
// WindowManagerMessages/Focus/Paint/Timers.cpp named after what they handle).
// Its stateful parts (the timer table, the back buffers, the tooltip) are declared in
// headers of their own and held behind pointers: a change to one rebuilds the manager's
// files only, not every object that includes this header.

#include <windows.h>

#include <memory>

#include "ui/core/IControlUI.h"
#include "ui/core/base/PtrArray.h"
#include "ui/core/base/StringMap.h"
#include "ui/core/UIEvent.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

class CBackBuffer;
class CTimerTable;
class CToolTip;
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

    // ---- Messages, events and notifications ----

    // Child windows get their own notifications back from the manager (WM_COMMAND,
    // WM_NOTIFY, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC) as messages at this offset.
    static constexpr UINT kReflectedBase = 0x2000;

    // Makes a tree the window's root (owned); the previous root is deleted after the
    // current message. False for a null tree.
    bool AttachRoot(IControlUI* root);
    IControlUI* GetRoot() const { return m_root; }
    IControlUI* GetFocus() const { return m_focus; }
    POINT GetMousePos() const { return m_lastMouse; }
    // Enters the names of a subtree in the name index (a later control of the same name
    // replaces an earlier one); containers call it for the children they adopt.
    void RegisterNames(IControlUI* subtree);
    // A control's name changed: the index drops the old name when it named this control,
    // and enters the new one when the control is in the window's tree.
    void RenameControl(IControlUI* control, const char* oldName);

    // Some control must be laid out again before the next paint.
    void NeedUpdate() { m_updateNeeded = true; }
    // Marks part of the window for repainting, without erasing.
    void Invalidate(const RECT& rc);
    // The top-most visible, mouse-enabled control under a client point; null without a root.
    IControlUI* FindControl(POINT pt) const;
    IControlUI* FindControl(const char* name) const;
    // The control of that name when it is a T (a class of ui/controls), else null:
    // manager.FindControl<CButtonUI>("btn_newtoken").
    template <class T>
    T* FindControl(const char* name) const
    {
        return dynamic_cast<T*>(FindControl(name));
    }

    void SetFocus(IControlUI* control);
    // Ends the current press for the window: the pressed control gets no release, and the
    // native mouse capture is let go, so that a native child window under the mouse gets
    // the button's later messages.
    void EndPress();
    // Moves the focus to control (when it is a tab stop) at the next paint, after layout.
    void SetFocusNeeded(IControlUI* control);
    bool FocusNextTabStop(bool forward);

    // Restarting a killed timer reuses its native id; one already running gives false.
    bool SetTimer(IControlUI* control, UINT localId, UINT elapse);
    bool KillTimer(IControlUI* control, UINT localId);
    void KillTimer(IControlUI* control);
    void RemoveAllTimers();

    // Registration lists own nothing; removing an absent entry gives false.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddPostPaint(IControlUI* control);
    bool RemovePostPaint(IControlUI* control);

    // Deletes a control after the current message: it may still be on the call stack.
    void AddDelayedCleanup(IControlUI* control);
    // Drops every reference to a control that is being destroyed.
    void ForgetControl(IControlUI* control);

    // Delivers at once: the sender's own delegates, then every notifier.
    void SendNotify(IControlUI* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendNotify(TNotifyMsg& msg);

    // Groups of options of which one is selected; a group is freed with its last member.
    bool AddOptionGroup(const char* group, IControlUI* control);
    CPtrArray* GetOptionGroup(const char* group) const;
    void RemoveOptionGroup(const char* group, IControlUI* control);
    void RemoveAllOptionGroups();

    // One native message of the window; true when handled, with result set where it has one.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A message from the message loop before it is translated; true consumes it.
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The thread's message loop, until WM_QUIT.
    static void MessageLoop();

    // The back buffer, kept between paints and selected into its DC for its whole life;
    // null before the first paint.
    HBITMAP GetOffscreenBitmap() const;
    HDC GetOffscreenDC() const;

private:
    // Posted to the window: what waited for the current message to end is deleted.
    static constexpr UINT kDelayedCleanupMessage = WM_APP + 1;

    // The resource half's share of construction and destruction.
    void InitResources();
    void ReleaseResources();
    const CWindowManagerUI* Topmost() const;
    CWindowManagerUI* Topmost();
    void MeasureFont(TFontEntry& entry) const;

    // Messaging state (WindowManagerUI.cpp).
    HWND m_window = nullptr;
    HDC m_paintDC = nullptr;
    IControlUI* m_root = nullptr;
    bool m_showDirty = false;
    bool m_bkTransparent = false;

    // ---- The message half's own ----
    // Share of construction and destruction of the message half.
    void ReleaseControls();
    void ReleaseMessaging();
    void DeleteDelayedControls();
    void DeleteBuffers();

    static CPtrArray& Managers();
    static bool PreTranslate(const MSG& msg);
    // Where a loop over a registration list goes on after calling the entry at index: the
    // call may have removed that entry, or entries before it.
    static int IndexAfter(const CPtrArray& list, int index, const void* called);

    // Messages. The message filters come first; true when one consumed the message.
    bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnSize();
    void OnClose();
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnContextMenu(LPARAM lParam);
    // Ends the press: the capture field and the native capture are let go; the result is
    // the control that held it, or null.
    IControlUI* TakeCapture();
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnCaptureChanged(HWND taker);
    void OnKey(UINT message, WPARAM wParam);
    void OnTimer(WPARAM wParam);
    void TrackMouse();
    void ShowToolTip(IControlUI* control);
    void HideToolTip();
    IControlUI* FindOwnControl(POINT pt) const;
    void SendEvent(IControlUI* to, TUIEventType type, IControlUI* sender, POINT mouse,
                   WPARAM wParam = 0, LPARAM lParam = 0, WORD keyState = 0);
    void SendKeyEvent(IControlUI* to, TUIEventType type, WPARAM wParam);
    bool ActivateShortcut(char key);
    // Tab goes to the focused rich edit itself rather than moving the focus.
    bool FocusWantsTab() const;

    // Without a window: nothing (the platform's calls would reach every window).
    void InvalidateWindow(const RECT* rc);
    void TakeNativeFocus();

    // Painting.
    void OnPaint();
    void LayOut();
    void PlaceControlsThatAsk();
    void PlaceNeededFocus();
    void PaintThroughBuffer(HDC screen, const RECT& paint);
    void PrintClient(HDC dc, LPARAM flags);

    // Takes the focus from the focused control, telling it that next is taking it. False
    // when a handler placed the focus meanwhile: that later choice stands.
    bool DropFocus(IControlUI* next);

    std::unique_ptr<CBackBuffer> m_offscreen;   // null until the first paint
    std::unique_ptr<CBackBuffer> m_background;  // what a transparent window is painted on
    std::unique_ptr<CToolTip> m_toolTip;        // null until the first tip

    IControlUI* m_focus = nullptr;
    IControlUI* m_hover = nullptr;
    IControlUI* m_capture = nullptr;
    IControlUI* m_keyControl = nullptr;
    POINT m_lastMouse = {-1, -1};
    bool m_firstLayout = true;
    bool m_updateNeeded = false;
    bool m_focusNeeded = false;
    bool m_mouseTracking = false;  // the system reports the leave
    bool m_hoverEnded = false;     // ... but no longer the hover
    bool m_mouseCaptured = false;
    bool m_layingOutRoot = false;  // the whole window is invalidated once the pass ends

    std::unique_ptr<CTimerTable> m_timers;  // null until a control sets a timer
    CPtrArray m_notifiers;                  // INotifyUI
    CPtrArray m_preMessageFilters;          // IMessageFilterUI
    CPtrArray m_messageFilters;             // IMessageFilterUI
    CPtrArray m_postPaintControls;          // IControlUI
    CPtrArray m_delayedCleanup;             // owned IControlUI
    CStringMap m_nameIndex;                 // name -> IControlUI
    CStringMap m_optionGroups;              // group name -> owned CPtrArray of IControlUI

    // Resources (WindowManagerResources.cpp).
    CWindowManagerUI* m_resourceParent = nullptr;
    TFontEntry m_defaultFont;
    CPtrArray m_customFonts;         // owned TFontEntry
    CStringMap m_images;             // name -> owned TImageEntry
    CStringMap m_defaultAttributes;  // class name -> owned CUIString
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
