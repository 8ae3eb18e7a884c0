#pragma once
// CScrollBarUI: a range and a position shown as two arrow buttons, a track and a thumb
// whose length is the share of the range in view. Holding an arrow or the track repeats
// line or page steps; the thumb can be dragged. A container's bar (its owner) scrolls the
// container; a bar standing alone changes its own position and sends "scroll".

#include <windows.h>

#include "ui/controls/ControlUI.h"
#include "ui/controls/ScrollBarGeometry.h"
#include "ui/core/UIString.h"

namespace Veneer {

class CContainerUI;

// The parts a scroll bar draws, and the states each has an image for.
enum class TScrollBarPart { Background, Button1, Button2, Thumb, Rail, Count };
enum class TScrollBarImage { Normal, Hot, Pushed, Disabled, Count };

class CScrollBarUI : public CControlUI {
public:
    // The local id of the repeat timer, and its period.
    static constexpr UINT kRepeatTimer = 10;
    static constexpr UINT kRepeatMilliseconds = 50;
    // Ticks of the repeat timer before holding a button repeats (about 300 ms).
    static constexpr int kFirstRepeat = 6;

    CScrollBarUI();

    const char* GetClass() const override;
    // "ScrollBar" and "Control".
    void* GetInterface(const char* name) override;

    CContainerUI* GetOwner() const { return m_owner; }
    // The container this bar scrolls; set by the container that makes it.
    void SetOwner(CContainerUI* owner) { m_owner = owner; }
    bool IsHorizontal() const { return m_horizontal; }
    // Also turns the fixed size round: 16 across unless set otherwise.
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const { return m_range; }
    // A negative range is 0; the position is lowered into the new range.
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_scrollPos; }
    // Clamped to 0 .. range.
    void SetScrollPos(int pos);
    int GetLineSize() const { return m_lineSize; }
    void SetLineSize(int size) { m_lineSize = size; }
    bool GetShowButton1() const { return m_showButton1; }
    void SetShowButton1(bool show);
    bool GetShowButton2() const { return m_showButton2; }
    void SetShowButton2(bool show);
    const char* GetImage(TScrollBarPart part, TScrollBarImage state) const;
    // An image attribute string for one part in one state; repaints.
    void SetImage(TScrollBarPart part, TScrollBarImage state, const char* image);

    // The parts' rectangles and their states (UISTATE_*), as last laid out.
    RECT GetButton1Rect() const;
    RECT GetButton2Rect() const;
    RECT GetThumbRect() const;
    UINT GetButton1State() const { return m_states[Button1]; }
    UINT GetButton2State() const { return m_states[Button2]; }
    UINT GetThumbState() const { return m_states[Thumb]; }

    // Showing and hiding only assign: the owner lays out again around them.
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    // The focus goes to the owner, when there is one.
    void SetFocus() override;
    void SetPos(RECT rc) override;
    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    void DoPaint(HDC dc, const RECT& paint) override;

private:
    enum : int { Button1, Button2, Thumb };

    TScrollBarShape Shape() const;
    // Hands an event on: to the owner, or up the tree.
    void PassOn(TUIEvent& event);
    void OnButtonDown(const TUIEvent& event);
    void OnButtonUp();
    void OnMouseMove(const TUIEvent& event);
    void OnRepeat();
    void SetHot(bool buttons, bool thumb);
    // One step back or forward, by a line or a page (the track).
    void Step(int direction, bool page);
    // Applies the thumb's drag to the position.
    void FollowThumb();
    // Tells the window that a bar standing alone moved; false once this bar is gone.
    bool NotifyScroll();
    CUIString& Image(TScrollBarPart part, TScrollBarImage state);

    // Painting (ScrollBarUIPaint.cpp).
    // The part's image for its state, else its normal image; false when none drew.
    // An image that cannot be drawn is dropped for good; the outline stands in for it.
    bool PaintPart(HDC dc, TScrollBarPart part, UINT state, const RECT* dest);

    bool m_horizontal = false;
    int m_range = 100;
    int m_scrollPos = 0;
    int m_lineSize = 8;
    CContainerUI* m_owner = nullptr;
    POINT m_lastMouse = {};
    int m_lastScrollPos = 0;
    int m_dragOffset = 0;
    int m_repeatCount = 0;
    bool m_trackHeld = false;  // pressed on the track: ticks page towards the mouse
    bool m_showButton1 = true;
    bool m_showButton2 = true;
    TScrollBarParts m_parts = {};
    UINT m_states[3] = {};
    CUIString m_images[static_cast<int>(TScrollBarPart::Count)]
                      [static_cast<int>(TScrollBarImage::Count)];
};

}  // namespace Veneer
