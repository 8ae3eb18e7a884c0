#pragma once
// CLabelUI: one line of text in the control's rectangle, aligned, in a font and colours of
// the window's resources, plain or with brace mark-up. Buttons, options and the multi-line
// text control build on it.

#include <windows.h>

#include "ui/controls/ControlUI.h"

namespace Veneer {

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    const char* GetClass() const override;
    // "Label" and "Control".
    void* GetInterface(const char* name) override;

    // Colours are ARGB; 0 means the window's default, filled in at the first paint.
    DWORD GetTextColor() const { return m_textColor; }
    void SetTextColor(DWORD color) { m_textColor = color; }
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(DWORD color) { m_disabledTextColor = color; }
    // An index into the window's font table; -1 (or any index it lacks) is its default font.
    int GetFont() const { return m_font; }
    void SetFont(int index) { m_font = index; }
    // DT_* format bits: alignment, word break, end ellipsis.
    UINT GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(UINT style) { m_textStyle = style; }
    RECT GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_showHtml; }
    // The text is brace mark-up.
    void SetShowHtml(bool showHtml = true);

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // Without a fixed height: one line of the font, with 4 pixels to spare.
    SIZE EstimateSize(SIZE available) override;
    void PaintText(HDC dc) override;

protected:
    // The fixed size, or the fixed width and one line of the font plus margin.
    SIZE EstimateLine(int margin);
    // Colours left 0 become the window's defaults, and stay so.
    void FillDefaultColors();
    DWORD EnabledColor() const { return IsEnabled() ? m_textColor : m_disabledTextColor; }
    // The item rectangle less the text padding.
    RECT TextRect() const;
    // The text in the text rectangle: mark-up without links, or plain in the label's font.
    void DrawText(HDC dc, DWORD color, UINT style);

    DWORD m_textColor = 0;
    DWORD m_disabledTextColor = 0;
    int m_font = -1;
    UINT m_textStyle = DT_VCENTER;
    RECT m_textPadding = {};
    bool m_showHtml = false;
};

}  // namespace Veneer
