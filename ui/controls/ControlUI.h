#pragma once
// CControlUI: the base of every element drawn inside a skin window. It holds geometry,
// size constraints, visibility and input flags, texts and the background and border
// appearance; reads them from skin attributes; paints itself in a fixed order; invalidates
// the smallest part of the window it can; and bubbles the events it does not handle to its
// parent.

#include <windows.h>

#include <initializer_list>

#include "ui/core/EventSource.h"
#include "ui/core/IControlUI.h"
#include "ui/core/UIString.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

// Bits of the button states of controls that are pressed and hovered (buttons, scroll bar
// parts).
enum : UINT {
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,  // held since a press inside
};

// A state image: drawn while the control's state has the bit.
struct TStateImage {
    UINT bit;
    CUIString* image;
};

// Proportional move and zoom of a floating control when its parent changes size.
struct TRelativePosUI {
    bool relative = false;
    SIZE parentSize = {};  // the parent's size the percentages refer to
    int moveXPercent = 0;
    int moveYPercent = 0;
    int zoomXPercent = 0;
    int zoomYPercent = 0;
};

class CControlUI : public IControlUI {
public:
    CControlUI();
    ~CControlUI() override;
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    CUIString GetName() const override;
    virtual void SetName(const char* name);
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CWindowManagerUI* GetManager() const override;
    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) override;
    CControlUI* GetParent() const override;

    virtual CUIString GetText() const;
    virtual void SetText(const char* text);

    RECT GetPos() const override;
    void SetPos(RECT rc) override;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rc);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE move, SIZE zoom);
    virtual void SetRelativeParentSize(SIZE size);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    CUIString GetToolTip() const override;
    virtual void SetToolTip(const char* text);
    char GetShortcut() const override;
    virtual void SetShortcut(char ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);
    virtual CUIString GetUserData() const;
    virtual void SetUserData(const char* text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);

    bool IsVisible() const override;
    virtual void SetVisible(bool visible = true);
    // Visibility inherited from the ancestors.
    virtual void SetInternVisible(bool visible = true);
    bool IsEnabled() const override;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    void SetFocus() override;
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);

    IControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;

    virtual void Init();
    virtual void DoInit();
    void Event(TUIEvent& event) override;
    virtual void DoEvent(TUIEvent& event);

    // Applies the row of name that the object's own table chain holds: a derived class adds
    // rows to its table rather than overriding this.
    void SetAttribute(const char* name, const char* value) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    virtual SIZE EstimateSize(SIZE available);

    void DoPaint(HDC dc, const RECT& paint) override;
    virtual void PaintBkColor(HDC dc);
    virtual void PaintBkImage(HDC dc);
    virtual void PaintStatusImage(HDC dc);
    virtual void PaintText(HDC dc);
    virtual void PaintBorder(HDC dc);
    void DoPostPaint(HDC dc, const RECT& paint) override;

    // Invalidates the item rectangle, clipped by every ancestor; nothing while hidden.
    void Invalidate();
    bool IsUpdateNeeded() const override;
    void NeedUpdate() override;
    void NeedParentUpdate();
    CEventSource& GetNotifySource() override { return OnNotify; }

    // Background and border: changing one repaints the control.
    DWORD GetBkColor() const { return m_bkColor; }
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const { return m_bkColor2; }
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const { return m_bkColor3; }
    void SetBkColor3(DWORD color);
    const char* GetBkImage() const { return m_bkImage; }
    void SetBkImage(const char* image);
    DWORD GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const { return m_focusBorderColor; }
    void SetFocusBorderColor(DWORD color);
    bool IsColorHSL() const { return m_colorHSL; }
    void SetColorHSL(bool hsl);
    int GetBorderSize() const { return m_borderSize; }
    void SetBorderSize(int size);
    SIZE GetBorderRound() const { return m_borderRound; }
    void SetBorderRound(SIZE round);

    CEventSource OnInit;     // with the control, after DoInit
    CEventSource OnDestroy;  // with the control, first thing in the destructor
    CEventSource OnSize;     // with the control, from SetPos
    CEventSource OnEvent;    // with the event record, before DoEvent; false stops it
    CEventSource OnNotify;   // with the notification record, before the window's receivers

protected:
    // Geometry setters: a floating control is placed by its parent from its own fields.
    void NeedGeometryUpdate();
    // Invalidates rc clipped by every ancestor's item rectangle.
    void InvalidateClipped(RECT rc);
    // A mouse event for a control that is not mouse-enabled goes to target (the parent,
    // or an owner that takes the control's events), or to base, a base class's own
    // handling, without one; true when the event was such.
    template <class Target, class Base>
    bool PassOnUnhitMouseEvent(TUIEvent& event, Target* target, Base base)
    {
        if (IsMouseEnabled() || !IsMouseEvent(event.type))
            return false;
        if (target != nullptr)
            target->DoEvent(event);
        else
            base(event);
        return true;
    }
    // To the parent, or to the plain control's handling without one.
    bool PassOnUnhitMouseEvent(TUIEvent& event);
    // Draws an image attribute string into the item rectangle, clipped to the paint
    // rectangle. A string that cannot be drawn is emptied rather than loaded again at every
    // paint (setting it again retries); false then, and for an empty string.
    bool DrawImage(HDC dc, CUIString& image, const char* modify = nullptr);
    // The image of the first entry of order whose bit state has, else (when there is none,
    // or it is empty or cannot be drawn) normal; false when nothing was drawn.
    bool DrawStateImage(HDC dc, UINT state, std::initializer_list<TStateImage> order,
                        CUIString& normal, const char* modify = nullptr);
    // The "dest='l,t,r,b'" modifier that draws an image into rc (window coordinates),
    // written relative to the item rectangle as image strings are.
    CUIString DestModifier(const RECT& rc) const;

    CWindowManagerUI* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    CUIString m_name;
    bool m_updateNeeded = true;
    bool m_contextMenuUsed = false;
    RECT m_rcItem = {};
    RECT m_rcPadding = {};
    SIZE m_fixedXY = {};
    SIZE m_fixedSize = {};
    SIZE m_minSize = {};
    SIZE m_maxSize = {9999, 9999};
    bool m_visible = true;
    bool m_internVisible = true;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_keyboardEnabled = true;
    bool m_focused = false;
    bool m_float = false;
    bool m_inSetPos = false;
    TRelativePosUI m_relativePos;
    CUIString m_text;
    CUIString m_toolTip;
    char m_shortcut = 0;
    CUIString m_userData;
    UINT_PTR m_tag = 0;
    DWORD m_bkColor = 0;
    DWORD m_bkColor2 = 0;
    DWORD m_bkColor3 = 0;
    CUIString m_bkImage;
    DWORD m_borderColor = 0;
    DWORD m_focusBorderColor = 0;
    bool m_colorHSL = false;
    int m_borderSize = 1;
    SIZE m_borderRound = {};
    RECT m_rcPaint = {};
};

// The control behind an interface pointer, or null when it is no CControlUI. Checked by
// the object's type, whatever its GetInterface answers.
inline CControlUI* AsControl(IControlUI* control)
{
    return dynamic_cast<CControlUI*>(control);
}

}  // namespace Veneer
