#pragma once
// The list's text items. CListElementUI is a list item over a plain control;
// CListLabelElementUI draws its text in the list's item style (font, alignment, padding
// and the colour of its state); CListTextElementUI draws one text per column of the
// list's header, from the list's text callback when it has one, and sends "link" for
// the mark-up links it draws.

#include <windows.h>

#include "ui/controls/ControlUI.h"
#include "ui/controls/ListItemUI.h"
#include "ui/core/base/PtrArray.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

class CListElementUI : public CListItemBaseUI<CControlUI> {
public:
    const char* GetClass() const override;
    // "ListElement", then "ListItem" and "Control".
    void* GetInterface(const char* name) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
};

class CListLabelElementUI : public CListElementUI {
public:
    const char* GetClass() const override;
    // "ListLabelElement", then as the list element.
    void* GetInterface(const char* name) override;

    // Without a fixed height: one line of the item font, the item text padding and 8
    // pixels to spare.
    SIZE EstimateSize(SIZE available) override;
    void DoPaint(HDC dc, const RECT& paint) override;
    // The text in rc less the item text padding, in the colour of the item's state.
    void DrawItemText(HDC dc, const RECT& rc) override;

protected:
    // One text into rc less the item text padding; links (up to linkCount) are collected
    // when links is not null, and linkCount becomes the number drawn.
    void DrawStyledText(HDC dc, RECT rc, const char* text, RECT* links, CUIString* linkTexts,
                        int& linkCount);
};

class CListTextElementUI : public CListLabelElementUI {
public:
    static constexpr int kMaxLinks = TDrawnLinks::kMax;

    CListTextElementUI() = default;
    ~CListTextElementUI() override;

    const char* GetClass() const override;
    // "ListTextElement", then as the label element.
    void* GetInterface(const char* name) override;
    // Also wants the cursor while it shows links.
    UINT GetControlFlags() const override;

    // The text of a column; column 0 is the control's text.
    CUIString GetText(int column) const;
    void SetText(int column, const char* text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;

    int GetLinkCount() const { return m_links.count; }

    void DoEvent(TUIEvent& event) override;
    // The text of each column in its column of the header, or the whole item without
    // columns.
    void DrawItemText(HDC dc, const RECT& rc) override;

private:
    // The text of a column: the callback's (the owner's, looked up once per paint), else
    // the element's own.
    CUIString ColumnText(IListCallbackUI* callback, int column);

    CPtrArray m_columnTexts;  // owned CUIString of columns 1 and on; null for none
    TDrawnLinks m_links;
};

}  // namespace Veneer
