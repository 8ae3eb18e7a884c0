#pragma once
// CRichEditUI: multi-line, optionally formatted text entry over the system's windowless
// rich-edit text services (riched20, through the text host CTxtWinHost). It is drawn into
// the window's back buffer in its own rectangle like every control; while it has the focus
// the manager's keys, characters and mouse reach it as events, which it hands to the text
// services. The text services' scroll ranges drive the framework's own scroll bars.
// It tells "textchanged" when the user changed the text, and "return" for Return without
// wantreturn (or Ctrl+Return with wantctrlreturn).

#include <windows.h>

#include <memory>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

#include "ui/controls/ComRef.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/TxtWinHost.h"

namespace Veneer {

class CRichEditUI : public CContainerUI {
public:
    CRichEditUI();
    // The text services and the host let go of each other and of every reference.
    ~CRichEditUI() override;

    const char* GetClass() const override;
    // "RichEdit", then the container's names.
    void* GetInterface(const char* name) override;
    // A tab stop that sets the cursor while enabled; it takes Tab itself with wanttab.
    UINT GetControlFlags() const override;

    // The text services fill the whole control: it holds no children, and refuses them.
    bool Add(IControlUI* control) override;
    bool AddAt(IControlUI* control, int index) override;

    // The text in the text code page, paragraphs ending in CR LF.
    CUIString GetText() const override;
    // Plain text, or with rich an RTF document ("{\rtf..."). Not told as "textchanged",
    // and not cut to maxchar, which limits typing only.
    void SetText(const char* text) override;

    int GetFont() const { return m_font; }
    // An index into the window's font table; -1 is its default font.
    void SetFont(int index);
    DWORD GetTextColor() const { return m_textColor; }
    // ARGB; 0 is the window's default.
    void SetTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(DWORD color);
    RECT GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(RECT padding);
    bool IsMultiLine() const { return m_multiLine; }
    void SetMultiLine(bool multiLine);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool IsPasswordMode() const { return m_password; }
    void SetPasswordMode(bool password);
    bool IsWantReturn() const { return m_wantReturn; }
    void SetWantReturn(bool want) { m_wantReturn = want; }
    bool IsWantTab() const { return m_wantTab; }
    void SetWantTab(bool want) { m_wantTab = want; }
    bool IsWantCtrlReturn() const { return m_wantCtrlReturn; }
    void SetWantCtrlReturn(bool want) { m_wantCtrlReturn = want; }
    bool IsAutoVScroll() const { return m_autoVScroll; }
    void SetAutoVScroll(bool autoScroll);
    bool IsAutoHScroll() const { return m_autoHScroll; }
    void SetAutoHScroll(bool autoScroll);
    UINT GetMaxChar() const { return m_maxChar; }
    void SetMaxChar(UINT maxChar);
    bool IsRich() const { return m_rich; }
    void SetRich(bool rich);
    bool IsTransparent() const { return m_transparent; }
    void SetTransparent(bool transparent);

    // The selection in characters (UTF-16 units) from the start; -1, -1 without text services.
    void GetSel(LONG* start, LONG* end) const;
    void SetSel(LONG start, LONG end);
    // The text services and their host once the control was initialised, else null.
    ITextServices* GetTextServices() const { return m_services.Get(); }
    CTxtWinHost* GetTextHost() const { return m_host.Get(); }
    // The rectangle the text services draw in: the inner rectangle less the visible bars
    // and the text padding.
    RECT GetTextRect() const;

    // The bars scroll the text services, which then move the bars.
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool vertical = true, bool horizontal = false) override;

    void DoInit() override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // The text services draw the text, clipped to the text rectangle and the paint.
    void PaintText(HDC dc) override;

private:
    friend class CTxtWinHost;
    // Called by the host during a call of the text services: recorded only.
    void OnServicesChanged() { m_changed = !m_settingText; }
    void OnServicesScrolled() { m_scrolled = true; }

    // One message to the text services, which stay alive across it; then the bars follow
    // what scrolled. 0 without text services.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message from the user: afterwards "textchanged" when it changed the text. False
    // when a receiver destroyed the control.
    bool SendInput(UINT message, WPARAM wParam, LPARAM lParam);
    bool TellChange();
    // The settings as the host hands them to the text services, and their application.
    TTextHostSettings MakeSettings() const;
    CHARFORMAT2W MakeCharFormat() const;
    void ApplySettings(DWORD changed);
    void SetPlainText(const char* text);
    void SyncScrollBars();
    // The bars' places and the text rectangle in the item rectangle.
    void PlaceBars();
    bool OnKeyDown(const TUIEvent& event);
    bool OnChar(const TUIEvent& event);
    bool OnMouse(const TUIEvent& event);
    void Scroll(UINT message, WORD code, int times = 1);

    std::unique_ptr<COleInitialization> m_ole;  // from the making of the text services on
    CComRef<CTxtWinHost> m_host;
    CComRef<ITextServices> m_services;
    int m_font = -1;
    DWORD m_textColor = 0;
    DWORD m_disabledTextColor = 0;
    RECT m_textPadding = {2, 2, 2, 2};
    UINT m_maxChar = 32767;
    bool m_multiLine = true;
    bool m_readOnly = false;
    bool m_password = false;
    bool m_wantReturn = true;
    bool m_wantTab = false;
    bool m_wantCtrlReturn = false;
    bool m_autoVScroll = true;
    bool m_autoHScroll = false;
    bool m_rich = true;
    bool m_transparent = true;
    bool m_changed = false;         // the text services told a change not yet told on
    bool m_scrolled = false;        // ... or a scroll the bars do not show yet
    bool m_settingText = false;     // SetText's change is not the user's
    bool m_dropReturnChar = false;  // the Return just told as "return" also comes as a character
    char m_leadByte = 0;            // the first byte of a double-byte character typed
    POINT m_lastMouse = {};
    bool m_pressed = false;  // between a press on the control and its release
};

}  // namespace Veneer
