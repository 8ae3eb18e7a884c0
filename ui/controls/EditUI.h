#pragma once
// CEditUI: a single-line text entry drawn like a label. While it has the focus a native
// edit window, CEditWnd, lies over its text: typing there is copied back into the control
// and told with "textchanged", Return is told with "return". When the native window loses
// the keyboard focus it closes itself and the control paints its (masked) text again.

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/UIString.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowLife.h"
#include "ui/core/WindowWnd.h"

namespace Veneer {

class CEditWnd;

// The states an edit has an image for.
enum class TEditImage { Normal, Hot, Focused, Disabled, Count };

class CEditUI : public CLabelUI {
public:
    CEditUI();
    // A native window still open is cut loose and closes by itself.
    ~CEditUI() override;

    const char* GetClass() const override;
    // "Edit", "Label" and "Control".
    void* GetInterface(const char* name) override;
    // A tab stop that sets the cursor, while enabled.
    UINT GetControlFlags() const override;
    // Also writes a different text into an open native window, whose change is then told
    // as "textchanged". The receivers may destroy the edit.
    void SetText(const char* text) override;
    void SetPos(RECT rc) override;
    // Hiding the edit, or an ancestor of it, ends the editing.
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    // Disabling resets the state and disables an open native window.
    void SetEnabled(bool enabled = true) override;

    // Characters the native window accepts from typing; SetText is not cut.
    UINT GetMaxChar() const { return m_maxChar; }
    void SetMaxChar(UINT maxChar);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool IsPasswordMode() const { return m_password; }
    // Takes effect for the next native window.
    void SetPasswordMode(bool password);
    char GetPasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char c);
    // UISTATE_* bits: focused, disabled, hot.
    UINT GetButtonState() const { return m_buttonState; }
    const char* GetImage(TEditImage state) const;
    // An image attribute string for one state; repaints.
    void SetImage(TEditImage state, const char* image);
    // ARGB; 0xFFFFFFFF leaves the native window's background to the system.
    DWORD GetNativeEditBkColor() const { return m_nativeBkColor; }
    void SetNativeEditBkColor(DWORD color) { m_nativeBkColor = color; }
    // The native edit window while the control is edited, else null.
    HWND GetNativeWindow() const;

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // Without a fixed height: one line of the window's default font, with 6 pixels to spare.
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC dc) override;
    // Plain text, never mark-up; in password mode one mask character per character.
    void PaintText(HDC dc) override;

private:
    friend class CEditWnd;

    // Places a native window over the text and gives it the keyboard focus; false when
    // none could be made. It may call out: the caller watches itself.
    bool OpenEditWindow();
    void OnPress(const TUIEvent& event);
    void SelectAll();
    // The manager's focus goes to nobody, which closes the native window.
    void EndEditingWhenHidden();
    CUIString& Image(TEditImage state) { return m_images[static_cast<int>(state)]; }
    void SetStateBit(UINT bit, bool on);

    CEditWnd* m_editWnd = nullptr;  // owned by its native window, which clears this field
    UINT m_maxChar = 255;
    bool m_readOnly = false;
    bool m_password = false;
    char m_passwordChar = '*';
    UINT m_buttonState = 0;
    CUIString m_images[static_cast<int>(TEditImage::Count)];
    DWORD m_nativeBkColor = 0xFFFFFFFF;
};

// The native edit over a CEditUI: a superclass of the system's "Edit". The window owns
// this object, which it deletes when it is destroyed.
class CEditWnd : public CWindowWnd {
public:
    const char* GetWindowClassName() const override { return "EditWnd"; }
    const char* GetSuperClassName() const override { return "Edit"; }

    // Makes the native window over owner's text, dressed from the owner, with the
    // keyboard focus. False when no window could be made: the object is then deleted, and
    // the owner's field cleared. True even when taking the focus destroyed the window.
    bool Init(CEditUI* owner);
    // The owner's text rectangle, narrowed to one line of its font and centred on it.
    RECT CalcEditRect() const;
    // The owner is being destroyed: the window never reaches it again and closes itself.
    void DropOwner();
    // Sets the native text, unless it is that already: a "textchanged" receiver that sets
    // the text it was told of is then not told again, and again.
    void WriteText(const char* text);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

private:
    void OnCommand(WORD code);
    // The native text becomes the owner's, told with "textchanged".
    void CopyTextBack();
    LRESULT OnControlColor(HDC dc);

    CEditUI* m_owner = nullptr;
    CWindowLife m_life;
    CGdiObject<HBRUSH> m_bkBrush;  // made on first need
    bool m_initialised = false;    // changes made while dressing the window are not told
};

}  // namespace Veneer
