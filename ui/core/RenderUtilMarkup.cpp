// Brace mark-up: laying out, measuring and drawing. Every line is read twice: the
// measuring pass finds where the line ends and how tall it is, and the drawing pass draws
// the same steps on that one bottom edge, so text in different fonts and inline images
// share a base. Reading the tags is MarkupReader's business.
#include "ui/core/RenderUtil.h"

#include <algorithm>
#include <optional>

#include "ui/core/MarkupDevice.h"
#include "ui/core/base/MarkupReader.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// Positions are kept within this, so that adding a line height or an image never overflows.
const int kMaxPosition = 1 << 30;

int AddClamped(int a, int b)
{
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, -kMaxPosition, kMaxPosition));
}

// Nesting deeper than this is not followed: a push beyond it changes nothing and is only
// counted, so that its closing tag takes back the count and not an enclosing entry.
const int kStackDepth = 32;

template <class T>
class CMarkupStack {
public:
    void Push(T value)
    {
        if (m_count < kStackDepth)
            m_items[m_count++] = value;
        else
            ++m_excess;
    }
    void Pop()
    {
        if (m_excess > 0)
            --m_excess;
        else if (m_count > 0)
            --m_count;
    }
    T Top(T empty) const { return m_count > 0 ? m_items[m_count - 1] : empty; }

private:
    T m_items[kStackDepth];
    int m_count = 0;
    int m_excess = 0;
};

// What the measuring pass of a line starts from, and the drawing pass starts from again.
struct TMarkupState {
    const char* p = nullptr;
    bool raw = false;
    bool selected = false;
    CMarkupStack<TFontEntry*> fonts;
    CMarkupStack<DWORD> colors;
    CMarkupStack<int> spacings;
};

enum class TPass { Measure, Draw };

// Where a run of text stops on this line, and whether "..." follows it.
struct TRunCut {
    const char* end;
    bool lineEnd;
    bool ellipsis;
};

class CMarkupPainter {
public:
    CMarkupPainter(CMarkupDevice& device, CWindowManagerUI* manager, const RECT& rc, UINT format)
        : m_device(device), m_manager(manager), m_rc(rc), m_format(format),
          m_drawing((format & DT_CALCRECT) == 0), m_defaultFont(manager->GetDefaultFontEntry())
    {
    }

    void SetLinks(RECT* links, CUIString* texts, int capacity)
    {
        m_links = links;
        m_linkTexts = texts;
        m_linkCapacity = links != nullptr && texts != nullptr ? std::max(capacity, 0) : 0;
    }
    // The link under the mouse, among the rectangles of the previous call.
    void FindHotLink(POINT mouse);
    void Run(const char* text, DWORD color);
    int LinkCount() const { return m_linkIndex; }
    // Measuring only: the rectangle the text needs.
    RECT Extent() const;

private:
    void LayOutLine();
    void RunPass(TPass pass);
    void EndMeasuredLine(int firstLink);
    void StartDrawingPass(const TMarkupState& lineStart);
    void Step();

    void OpenTag(const TMarkupToken& tag);
    void CloseTag(const TMarkupToken& tag);
    void OpenLink(const TMarkupToken& tag);
    void CloseLink();
    void OpenFont(const TMarkupToken& tag);
    void PushVariant(bool bold, bool underline, bool italic);
    void PushFont(TFontEntry* font);
    void PopFont();
    void Image(const TMarkupToken& tag);

    void OneCharacter(const char* glyph);
    const char* RunEnd(const char* p, bool raw);
    void TextRun(const char* end);
    TRunCut CutRun(const char* start, const char* end);

    TFontEntry* CurrentFont() const { return m_state.fonts.Top(m_defaultFont); }
    int FontLineHeight() const;
    void RaiseLineHeight(int height);
    void ApplyColor();
    void ApplySelection();
    int Baseline() const;
    void Advance(int width);
    bool SingleLine() const { return (m_format & DT_SINGLELINE) != 0; }

    CMarkupDevice& m_device;
    CWindowManagerUI* m_manager;
    RECT m_rc;
    UINT m_format;
    bool m_drawing;  // false: measuring only
    TFontEntry* m_defaultFont;
    DWORD m_defaultColor = 0;

    TMarkupState m_state;
    TPass m_pass = TPass::Measure;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_widest = 0;
    int m_lowestImage = 0;
    bool m_lineEnd = false;
    bool m_stop = false;
    // The last run found: every line of a long run starts inside it.
    const char* m_runStart = nullptr;
    const char* m_runEnd = nullptr;
    bool m_runRaw = false;

    // Links, recorded by the measuring pass only.
    RECT* m_links = nullptr;
    CUIString* m_linkTexts = nullptr;
    int m_linkCapacity = 0;
    int m_linkIndex = 0;
    bool m_inLink = false;
    POINT m_linkStart = {};
    bool m_hasHotLink = false;
    CUIString m_hotLink;
};

void CMarkupPainter::FindHotLink(POINT mouse)
{
    for (int i = 0; i < m_linkCapacity; ++i) {
        if (PtInRect(&m_links[i], mouse)) {
            // A copy: this call writes new texts into the same array.
            m_hasHotLink = m_hotLink.Assign(m_linkTexts[i].GetData());
            return;
        }
    }
}

void CMarkupPainter::Run(const char* text, DWORD color)
{
    m_defaultColor = color;
    m_state.p = text;
    m_x = m_rc.left;
    m_y = m_rc.top;
    m_widest = m_rc.left;
    m_lowestImage = m_rc.top;
    m_linkStart = {m_x, m_y};
    m_device.SelectFont(m_defaultFont);
    m_lineHeight = FontLineHeight();
    while (*m_state.p != '\0' && !m_stop)
        LayOutLine();
}

RECT CMarkupPainter::Extent() const
{
    RECT extent = m_rc;
    extent.bottom = std::max(m_lowestImage, AddClamped(m_y, m_lineHeight));
    extent.right = std::min(static_cast<int>(m_rc.right), m_widest);
    return extent;
}

void CMarkupPainter::LayOutLine()
{
    const TMarkupState lineStart = m_state;
    const int firstLink = m_linkIndex;
    RunPass(TPass::Measure);
    EndMeasuredLine(firstLink);
    if (m_drawing) {
        StartDrawingPass(lineStart);
        RunPass(TPass::Draw);
    }
    if (*m_state.p == '\0' || SingleLine()) {
        m_stop = true;
        return;
    }
    if (*m_state.p == '\n')
        ++m_state.p;
    m_x = m_rc.left;
    m_y = AddClamped(m_y, m_lineHeight);
    m_stop = m_drawing && m_y > m_rc.bottom;
    m_linkStart = {m_x, m_y};
    m_lineHeight = FontLineHeight();
}

void CMarkupPainter::RunPass(TPass pass)
{
    m_pass = pass;
    m_x = m_rc.left;
    m_lineEnd = false;
    while (!m_lineEnd && *m_state.p != '\0' && *m_state.p != '\n' && m_x < m_rc.right)
        Step();
}

// A link still open at the end of the line gets the line's part as a rectangle of its
// own, and goes on in the next slot with the same text.
void CMarkupPainter::EndMeasuredLine(int firstLink)
{
    const int bottom = AddClamped(m_y, m_lineHeight);
    if (m_inLink && m_linkIndex < m_linkCapacity) {
        m_links[m_linkIndex] = {m_linkStart.x, m_linkStart.y,
                                std::min(m_x, static_cast<int>(m_rc.right)), bottom};
        ++m_linkIndex;
        if (m_linkIndex < m_linkCapacity)
            m_linkTexts[m_linkIndex] = m_linkTexts[m_linkIndex - 1];
    }
    for (int i = firstLink; i < m_linkIndex; ++i)
        m_links[i].bottom = bottom;
}

// The line again from its start, with the height the measuring pass found.
void CMarkupPainter::StartDrawingPass(const TMarkupState& lineStart)
{
    m_state = lineStart;
    m_pass = TPass::Draw;
    m_device.SelectFont(CurrentFont());
    ApplyColor();
    ApplySelection();
}

void CMarkupPainter::Step()
{
    const char* p = m_state.p;
    if (m_state.raw) {
        if (const char* after = ReadRawEnd(p)) {
            m_state.raw = false;
            m_state.p = after;
        } else {
            TextRun(RunEnd(p, true));
        }
        return;
    }
    const TMarkupToken token = ReadMarkupToken(p);
    switch (token.kind) {
    case TMarkupKind::OpenTag:
        OpenTag(token);
        break;
    case TMarkupKind::CloseTag:
        m_state.p = token.next;
        CloseTag(token);
        break;
    case TMarkupKind::Escape:
        m_state.p = token.next;
        OneCharacter(p + 1);
        break;
    case TMarkupKind::Blank:
        m_state.p = token.next;
        OneCharacter(p);
        break;
    case TMarkupKind::Text:
        TextRun(RunEnd(p, false));
        break;
    case TMarkupKind::End:
    case TMarkupKind::LineFeed:
        m_lineEnd = true;
        break;
    }
}

// ---- Tags ----

void CMarkupPainter::OpenTag(const TMarkupToken& tag)
{
    if (tag.letter == 'i' && HasArguments(tag)) {
        Image(tag);  // moves on by itself: an image that does not fit stays for the next line
        return;
    }
    m_state.p = tag.next;
    switch (tag.letter) {
    case 'a':
        OpenLink(tag);
        break;
    case 'b':
        PushVariant(true, false, false);
        break;
    case 'c':
        m_state.colors.Push(ReadColorArgument(tag));
        ApplyColor();
        break;
    case 'f':
        OpenFont(tag);
        break;
    case 'i':
        PushVariant(false, false, true);
        break;
    case 'n':
        m_lineEnd = m_lineEnd || !SingleLine();
        break;
    case 'p':
        m_lineEnd = m_lineEnd || m_x > m_rc.left;
        m_state.spacings.Push(ReadNumberArgument(tag));
        break;
    case 'r':
        m_state.raw = true;
        break;
    case 's':
        m_state.selected = !m_state.selected;
        ApplySelection();
        break;
    case 'u':
        PushVariant(false, true, false);
        break;
    case 'x':
        Advance(ReadNumberArgument(tag));
        break;
    case 'y':
        if (m_pass == TPass::Measure)
            m_lineHeight = ReadNumberArgument(tag);
        break;
    default:
        break;
    }
}

void CMarkupPainter::CloseTag(const TMarkupToken& tag)
{
    switch (tag.letter) {
    case 'a':
        CloseLink();
        break;
    case 'b':
    case 'f':
    case 'i':
    case 'u':
        PopFont();
        break;
    case 'c':
        m_state.colors.Pop();
        ApplyColor();
        break;
    case 'p':
        m_lineEnd = m_lineEnd || m_x > m_rc.left;
        m_state.spacings.Pop();
        RaiseLineHeight(FontLineHeight());
        break;
    case 's':
        m_state.selected = !m_state.selected;
        ApplySelection();
        break;
    default:
        break;
    }
}

void CMarkupPainter::OpenLink(const TMarkupToken& tag)
{
    CUIString target;
    target.Assign(tag.arguments, static_cast<int>(tag.argumentsEnd - tag.arguments));
    if (m_pass == TPass::Measure) {
        m_inLink = true;
        m_linkStart = {m_x, m_y};
        if (m_linkIndex < m_linkCapacity)
            m_linkTexts[m_linkIndex] = target;
    }
    const bool hot = m_hasHotLink && target == m_hotLink;
    m_state.colors.Push(hot ? m_manager->GetLinkHoverFontColor() : m_manager->GetLinkFontColor());
    ApplyColor();
    PushVariant(false, true, false);
}

void CMarkupPainter::CloseLink()
{
    if (m_pass == TPass::Measure && m_inLink && m_linkIndex < m_linkCapacity) {
        m_links[m_linkIndex] = {m_linkStart.x, m_linkStart.y, m_x,
                                AddClamped(m_y, FontLineHeight())};
        ++m_linkIndex;
    }
    if (m_pass == TPass::Measure)
        m_inLink = false;
    m_state.colors.Pop();
    ApplyColor();
    PopFont();
}

void CMarkupPainter::OpenFont(const TMarkupToken& tag)
{
    const TMarkupFont font = ReadFontArguments(tag);
    if (font.byIndex) {
        PushFont(m_manager->GetFontEntry(font.index));
        return;
    }
    CUIString face;
    HFONT handle = nullptr;
    if (face.Assign(font.face, static_cast<int>(font.faceEnd - font.face))) {
        handle = m_manager->FindFont(face, font.size, font.bold, font.underline, font.italic);
        if (handle == nullptr)
            handle = m_manager->AddFont(face, font.size, font.bold, font.underline, font.italic);
    }
    // A font that cannot be made leaves the current one in place, still matched by {/f}.
    PushFont(handle != nullptr ? m_manager->GetFontEntry(handle) : CurrentFont());
}

// The current font with a style added. A font that has the style already is pushed
// again, so that the closing tag takes back this push and not the enclosing font.
void CMarkupPainter::PushVariant(bool bold, bool underline, bool italic)
{
    TFontEntry* current = CurrentFont();
    bold = bold || current->bold;
    underline = underline || current->underline;
    italic = italic || current->italic;
    if (bold == current->bold && underline == current->underline && italic == current->italic) {
        PushFont(current);
        return;
    }
    HFONT handle = m_manager->FindFont(current->face, current->size, bold, underline, italic);
    if (handle == nullptr)
        handle = m_manager->AddFont(current->face, current->size, bold, underline, italic);
    PushFont(handle != nullptr ? m_manager->GetFontEntry(handle) : current);
}

void CMarkupPainter::PushFont(TFontEntry* font)
{
    m_state.fonts.Push(font);
    m_device.SelectFont(CurrentFont());
    RaiseLineHeight(FontLineHeight());
}

void CMarkupPainter::PopFont()
{
    TFontEntry* previous = CurrentFont();
    m_state.fonts.Pop();
    TFontEntry* current = CurrentFont();
    if (previous->italic && !current->italic)
        Advance(m_device.ItalicOverhang());  // room for the slant of the last italic character
    m_device.SelectFont(current);
    RaiseLineHeight(FontLineHeight());
}

void CMarkupPainter::Image(const TMarkupToken& tag)
{
    TMarkupImage wanted;
    CUIString name;
    CUIString type;
    TImageEntry* image = nullptr;
    if (ReadImageArguments(tag, wanted) &&
        name.Assign(wanted.name, static_cast<int>(wanted.nameEnd - wanted.name)) &&
        type.Assign(wanted.type, static_cast<int>(wanted.typeEnd - wanted.type)))
        image = m_manager->FindOrLoadImage(name, type, 0);
    if (image == nullptr) {
        m_state.p = tag.next;
        return;
    }
    const int width = image->width / wanted.count;
    if (m_x + width > m_rc.right && m_x > m_rc.left && !SingleLine()) {
        m_lineEnd = true;
        return;
    }
    m_state.p = tag.next;
    if (m_pass == TPass::Draw) {
        RECT dest = {m_x, m_y + m_lineHeight - image->height, m_x + width, m_y + m_lineHeight};
        if (image->height < m_lineHeight)
            OffsetRect(&dest, 0, -(m_lineHeight - image->height) / 2);
        const RECT source = {wanted.index * width, 0, (wanted.index + 1) * width, image->height};
        CRenderUtil::DrawBitmap(m_device.Dc(), image->bitmap, dest, dest, source, {0, 0, 0, 0},
                                image->alphaChannel);
    }
    RaiseLineHeight(image->height);
    m_lowestImage = std::max(m_lowestImage, AddClamped(m_y, image->height));
    Advance(width);
}

// ---- Text ----

// An escape or a blank: one character, never cut.
void CMarkupPainter::OneCharacter(const char* glyph)
{
    const int width = m_device.Width(glyph, glyph + 1);
    if (m_pass == TPass::Draw)
        m_device.DrawRun(m_x, Baseline(), glyph, glyph + 1);
    Advance(width);
}

// The end of the run at p. A run broken over lines is looked up once, not again from each
// line's start (which made a long paragraph quadratic): from any character inside a run the
// run ends where it ends from its start.
const char* CMarkupPainter::RunEnd(const char* p, bool raw)
{
    if (raw != m_runRaw || p < m_runStart || p >= m_runEnd) {
        m_runStart = p;
        m_runEnd = FindRunEnd(p, raw);
        m_runRaw = raw;
    }
    return m_runEnd;
}

void CMarkupPainter::TextRun(const char* end)
{
    const char* start = m_state.p;
    const TRunCut cut = CutRun(start, end);
    if (cut.end > start) {
        const int width = m_device.Width(start, cut.end);
        if (m_pass == TPass::Draw)
            m_device.DrawRun(m_x, Baseline(), start, cut.end);
        Advance(width);
    }
    if (cut.ellipsis) {
        static const char kDots[] = "...";
        if (m_pass == TPass::Draw)
            m_device.DrawRun(m_x, Baseline(), kDots, kDots + 3);
        m_x = std::max(m_x, static_cast<int>(m_rc.right));
        m_widest = std::max(m_widest, m_x);
    }
    m_lineEnd = m_lineEnd || cut.lineEnd;
    m_state.p = cut.end;
}

// The part of start .. end that fits before the right edge. A run that overflows loses
// the character that did not fit (unless it is the only one at the left edge, so that
// every line takes at least one); with word break it goes back to its last break point,
// or to the next line when it has none and the line holds something already; with end
// ellipsis it gives up one or two more characters for "...".
TRunCut CMarkupPainter::CutRun(const char* start, const char* end)
{
    const int available = m_rc.right - m_x;
    const char* fit = m_device.FitPrefix(start, end, available);
    if (fit == end)
        return {end, false, false};
    const bool atLeft = m_x <= m_rc.left;
    if (fit == start && atLeft)
        fit = NextChar(start);
    if ((m_format & DT_WORDBREAK) != 0) {
        const char* lastBreak = nullptr;
        for (const char* p = start; p < fit; p = NextChar(p)) {
            if (IsBreakAfter(*p))
                lastBreak = NextChar(p);
        }
        if (lastBreak != nullptr)
            fit = std::min(lastBreak, fit);
        else if (!atLeft)
            fit = start;  // a word that starts after other text goes to the next line whole
    }
    const bool ellipsis = (m_format & DT_END_ELLIPSIS) != 0 && fit > start;
    if (ellipsis) {
        for (int dropped = 0; dropped < 2 && fit > start; ++dropped) {
            const char* previous = PrevChar(start, fit);
            if (previous == start && atLeft)
                break;
            fit = previous;
        }
    }
    return {fit, true, ellipsis};
}

// ---- State of the device context ----

int CMarkupPainter::FontLineHeight() const
{
    const TEXTMETRICA& metrics = CurrentFont()->metrics;
    return AddClamped(metrics.tmHeight + metrics.tmExternalLeading, m_state.spacings.Top(0));
}

// Only the measuring pass sets the line's height; the drawing pass keeps what it found.
void CMarkupPainter::RaiseLineHeight(int height)
{
    if (m_pass == TPass::Measure)
        m_lineHeight = std::max(m_lineHeight, height);
}

void CMarkupPainter::ApplyColor()
{
    if (m_pass == TPass::Draw)
        m_device.SetTextColor(m_state.colors.Top(m_defaultColor));
}

void CMarkupPainter::ApplySelection()
{
    if (m_pass == TPass::Draw)
        m_device.SetOpaque(m_state.selected);
}

int CMarkupPainter::Baseline() const
{
    const TEXTMETRICA& metrics = CurrentFont()->metrics;
    return m_y + m_lineHeight - metrics.tmHeight - metrics.tmExternalLeading;
}

void CMarkupPainter::Advance(int width)
{
    m_x = AddClamped(m_x, width);
    m_widest = std::max(m_widest, m_x);
}

// A single line centred or moved right by the size that measuring finds.
void AlignSingleLine(CMarkupDevice& device, CWindowManagerUI* manager, RECT& area, const char* text,
                     DWORD color, UINT format)
{
    if ((format & DT_SINGLELINE) == 0 || (format & (DT_VCENTER | DT_CENTER | DT_RIGHT)) == 0)
        return;
    CMarkupPainter measure(device, manager, {0, 0, 9999, 100}, format | DT_CALCRECT);
    measure.Run(text, color);
    const RECT measured = measure.Extent();
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    if ((format & DT_VCENTER) != 0) {
        area.top += (area.bottom - area.top) / 2 - textHeight / 2;
        area.bottom = area.top + textHeight;
    }
    if ((format & DT_CENTER) != 0) {
        area.left += (area.right - area.left) / 2 - textWidth / 2;
        area.right = area.left + textWidth;
    } else if ((format & DT_RIGHT) != 0) {
        area.left = area.right - textWidth;
    }
}

}  // namespace

int TDrawnLinks::At(POINT pt) const
{
    for (int i = 0; i < count; ++i) {
        if (PtInRect(&rects[i], pt))
            return i;
    }
    return -1;
}

void TDrawnLinks::ClearUnused()
{
    std::fill(rects + count, rects + kMax, RECT{});
}

void CRenderUtil::DrawMarkupText(HDC dc, CWindowManagerUI* manager, RECT& rc, const char* text,
                                 DWORD color, RECT* links, CUIString* linkTexts, int& linkCount,
                                 UINT format)
{
    if (dc == nullptr || manager == nullptr || text == nullptr || IsRectEmpty(&rc)) {
        linkCount = 0;
        return;
    }
    const bool drawing = (format & DT_CALCRECT) == 0;
    std::optional<CClipToRect> clip;
    if (drawing)
        clip.emplace(dc, rc);
    CMarkupDevice device(dc, manager->GetDefaultFontEntry(), color, manager->GetSelectedColor());
    RECT area = rc;
    if (drawing)
        AlignSingleLine(device, manager, area, text, color, format);
    CMarkupPainter painter(device, manager, area, format);
    painter.SetLinks(links, linkTexts, linkCount);
    painter.FindHotLink(manager->GetMousePos());
    painter.Run(text, color);
    linkCount = painter.LinkCount();
    if (!drawing)
        rc = painter.Extent();
}

}  // namespace Veneer
