#pragma once
// CButtonUI: a label that is pressed. A press inside, optional dragging, and a release
// inside (or Space or Return while it has the focus) send "click"; images and text colours
// follow its state: normal, hot (mouse over), pushed, focused and disabled.

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

// The states a button has an image for.
enum class TButtonImage { Normal, Hot, Pushed, Focused, Disabled, Count };

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    const char* GetClass() const override;
    // "Button", "Label" and "Control".
    void* GetInterface(const char* name) override;
    // A tab stop while keyboard-enabled; wants the cursor while enabled.
    UINT GetControlFlags() const override;
    // Sends "click"; false, sending nothing, while hidden or disabled. The receivers may
    // destroy the button.
    bool Activate() override;
    // Disabling resets the state.
    void SetEnabled(bool enabled = true) override;

    // UISTATE_* bits: focused, selected (options), disabled, hot, pushed, captured.
    UINT GetButtonState() const { return m_buttonState; }
    const char* GetImage(TButtonImage state) const;
    // An image attribute string for one state; repaints.
    void SetImage(TButtonImage state, const char* image);
    // Text colours of the states (ARGB); 0 is none, the label's colours then apply.
    DWORD GetHotTextColor() const { return m_hotTextColor; }
    void SetHotTextColor(DWORD color) { m_hotTextColor = color; }
    DWORD GetPushedTextColor() const { return m_pushedTextColor; }
    void SetPushedTextColor(DWORD color) { m_pushedTextColor = color; }
    DWORD GetFocusedTextColor() const { return m_focusedTextColor; }
    void SetFocusedTextColor(DWORD color) { m_focusedTextColor = color; }

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // Without a fixed height: one line of the font, with 8 pixels to spare.
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

protected:
    // The focused and disabled bits follow the control's flags.
    void RefreshState();
    // The colour of the text in the current state.
    DWORD StateTextColor() const;
    void SetStateBit(UINT bit, bool on);
    CUIString& Image(TButtonImage state) { return m_images[static_cast<int>(state)]; }

    UINT m_buttonState = 0;
    DWORD m_hotTextColor = 0;
    DWORD m_pushedTextColor = 0;
    DWORD m_focusedTextColor = 0;
    CUIString m_images[static_cast<int>(TButtonImage::Count)];
};

}  // namespace Veneer
