#pragma once
// The column header of a list: CListHeaderUI lays its items out left to right, and each
// CListHeaderItemUI is a column's title, which sends "headerclick" when clicked and, when
// dragable, is resized by dragging the separator band at its edge. The list takes its
// columns from where the header items lie.

#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

class CListHeaderUI : public CHorizontalLayoutUI {
    // A list hands the own visibility of its header on to a header that replaces it.
    friend class CListUI;

public:
    const char* GetClass() const override;
    // "ListHeader", then the horizontal layout's kinds.
    void* GetInterface(const char* name) override;
    // Without a fixed height: its tallest item, and at least one line of the window's
    // default font with 6 pixels to spare (an empty header too).
    SIZE EstimateSize(SIZE available) override;
    // The list takes its columns from the header's layout: it is laid out again too.
    void NeedUpdate() override;
};

class CListHeaderItemUI : public CButtonUI {
public:
    const char* GetClass() const override;
    // "ListHeaderItem" and "Control".
    void* GetInterface(const char* name) override;
    // No tab stop; wants the cursor while enabled.
    UINT GetControlFlags() const override;
    // Sends "headerclick"; false, sending nothing, while hidden or disabled.
    bool Activate() override;

    bool IsDragable() const { return m_dragable; }
    void SetDragable(bool dragable);
    // The width of the separator band: at the right edge when positive, at the left when
    // negative, none when 0.
    int GetSepWidth() const { return m_sepWidth; }
    void SetSepWidth(int width) { m_sepWidth = width; }
    const char* GetSepImage() const { return m_sepImage; }
    void SetSepImage(const char* image);
    RECT GetSeparatorRect() const;

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    void PaintStatusImage(HDC dc) override;

private:
    bool IsOnSeparator(POINT pt) const;
    void DragTo(int x);

    bool m_dragable = true;
    int m_sepWidth = 0;
    CUIString m_sepImage;
    bool m_dragging = false;
    int m_lastX = 0;
};

}  // namespace Veneer
