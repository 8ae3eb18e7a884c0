#pragma once
// CTextUI: text over several lines, broken at words. With mark-up its {a} links are
// remembered where they were drawn (up to 8): the cursor turns to a hand over them, the link
// under the mouse is drawn hot, and releasing the mouse over one sends "link" with its index.

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {

class CTextUI : public CLabelUI {
public:
    static constexpr int kMaxLinks = TDrawnLinks::kMax;

    CTextUI();

    const char* GetClass() const override;
    // "Text", "Label" and "Control".
    void* GetInterface(const char* name) override;
    // Wants the cursor while enabled and showing links.
    UINT GetControlFlags() const override;

    // The links drawn at the last paint: their number, and the rectangle and data of each.
    int GetLinkCount() const { return m_links.count; }
    RECT GetLinkRect(int index) const;
    const char* GetLinkText(int index) const;

    void DoEvent(TUIEvent& event) override;
    // The text's size in the available width (or the fixed width, when wider); the fixed
    // height, when there is one.
    SIZE EstimateSize(SIZE available) override;
    void PaintText(HDC dc) override;

private:
    TDrawnLinks m_links;
};

}  // namespace Veneer
