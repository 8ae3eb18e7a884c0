// The container's paint: its own background and border, then the children clipped to the
// inner rectangle (floating children to the whole container), then the scroll bars.

#include <initializer_list>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {
namespace {

bool Meets(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

}  // namespace

void CContainerUI::DoPaint(HDC dc, const RECT& paint)
{
    RECT outer;
    if (!IntersectRect(&outer, &paint, &m_rcItem))
        return;
    TClipState clip;
    CRenderUtil::BeginClip(dc, outer, clip);
    CControlUI::DoPaint(dc, paint);
    if (!m_items.IsEmpty())
        PaintChildren(dc, paint);
    for (CScrollBarUI* bar : {m_verticalScrollBar, m_horizontalScrollBar}) {
        if (IsScrollBarShown(bar) && Meets(paint, bar->GetPos()))
            bar->DoPaint(dc, paint);
    }
}

void CContainerUI::PaintChildren(HDC dc, const RECT& paint)
{
    const RECT inner = InnerRect(true);
    RECT innerPaint;
    if (!IntersectRect(&innerPaint, &paint, &inner)) {
        for (int i = 0; i < OwnCount(); ++i) {
            CControlUI* child = OwnItemAt(i);
            const RECT pos = child->GetPos();
            if (child->IsVisible() && child->IsFloat() && Meets(paint, pos) && Meets(m_rcItem, pos))
                child->DoPaint(dc, paint);
        }
        return;
    }
    TClipState clip;
    CRenderUtil::BeginClip(dc, innerPaint, clip);
    for (int i = 0; i < OwnCount(); ++i) {
        CControlUI* child = OwnItemAt(i);
        const RECT pos = child->GetPos();
        if (!child->IsVisible() || !Meets(paint, pos))
            continue;
        if (!child->IsFloat()) {
            if (Meets(inner, pos))
                child->DoPaint(dc, paint);
            continue;
        }
        if (!Meets(m_rcItem, pos))
            continue;
        // A floating child may reach into the inset: the inner clip is lifted around it.
        SelectClipRgn(dc, clip.previous);
        child->DoPaint(dc, paint);
        SelectClipRgn(dc, clip.previous);
        ExtSelectClipRgn(dc, clip.region, RGN_AND);
    }
}

}  // namespace Veneer
