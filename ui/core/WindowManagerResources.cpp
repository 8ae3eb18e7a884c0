#include "ui/core/WindowManagerUI.h"

#include <cstring>
#include <utility>

#include "ui/core/base/Heap.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

HINSTANCE g_instance = nullptr;

CUIString& ResourcePath()
{
    static CUIString path;
    return path;
}

LOGFONTW StockFontDescription()
{
    LOGFONTW description = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    description.lfCharSet = DEFAULT_CHARSET;
    return description;
}

// The description holds 31 UTF-16 units of face name; a longer name is cut there, never
// inside a character.
HFONT MakeFont(const char* face, int size, bool bold, bool underline, bool italic)
{
    LOGFONTW description = StockFontDescription();
    CWideText(face).CopyTo(description.lfFaceName, LF_FACESIZE);
    description.lfHeight = -size;
    // Added to the stock weight: a stock weight of 400 asks for 1100.
    if (bold)
        description.lfWeight += FW_BOLD;
    description.lfUnderline = underline;
    description.lfItalic = italic;
    return CreateFontIndirectW(&description);
}

TFontEntry* FontAt(const CPtrArray& fonts, int index)
{
    return static_cast<TFontEntry*>(fonts.GetAt(index));
}

}  // namespace

void CWindowManagerUI::SetInstance(HINSTANCE instance)
{
    g_instance = instance;
}

HINSTANCE CWindowManagerUI::GetInstance()
{
    return g_instance;
}

CUIString CWindowManagerUI::GetInstancePath()
{
    if (g_instance == nullptr)
        return CUIString();
    char module[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(g_instance, module, MAX_PATH);
    CUIString path(module, static_cast<int>(length));
    const int slash = path.ReverseFind('\\');
    return path.Left(slash + 1);
}

void CWindowManagerUI::SetResourcePath(const char* path)
{
    CUIString& stored = ResourcePath();
    stored = path;
    const int length = stored.GetLength();
    if (length > 0) {
        const char last = stored.GetAt(length - 1);
        // A trailing backslash may be the trail byte of a double-byte character.
        if (stored.ReverseFind('\\') != length - 1 && last != '/')
            stored += '\\';
    }
}

const CUIString& CWindowManagerUI::GetResourcePath()
{
    return ResourcePath();
}

HINSTANCE CWindowManagerUI::GetResourceModule()
{
    return g_instance;
}

void CWindowManagerUI::InitResources()
{
    // The drawing helpers find their blending functions in this module; it stays loaded.
    static const HMODULE s_blending = LoadSystemLibrary("msimg32.dll");
    (void)s_blending;

    LOGFONTW stock = StockFontDescription();
    m_defaultFont.font = CreateFontIndirectW(&stock);
    AssignWide(m_defaultFont.face, stock.lfFaceName);
    m_defaultFont.size = -stock.lfHeight;
    m_defaultFont.bold = stock.lfWeight >= FW_BOLD;
    m_defaultFont.underline = stock.lfUnderline != 0;
    m_defaultFont.italic = stock.lfItalic != 0;
}

void CWindowManagerUI::ReleaseResources()
{
    DeleteObject(m_defaultFont.font);
    m_defaultFont.font = nullptr;
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributes();
}

bool CWindowManagerUI::SetResourceParent(CWindowManagerUI* parent)
{
    for (const CWindowManagerUI* manager = parent; manager != nullptr;
         manager = manager->m_resourceParent) {
        if (manager == this)
            return false;
    }
    m_resourceParent = parent;
    return true;
}

const CWindowManagerUI* CWindowManagerUI::Topmost() const
{
    const CWindowManagerUI* manager = this;
    while (manager->m_resourceParent != nullptr)
        manager = manager->m_resourceParent;
    return manager;
}

CWindowManagerUI* CWindowManagerUI::Topmost()
{
    return const_cast<CWindowManagerUI*>(static_cast<const CWindowManagerUI*>(this)->Topmost());
}

TImageEntry* CWindowManagerUI::GetImage(const char* name) const
{
    return name != nullptr ? static_cast<TImageEntry*>(m_images.Find(name)) : nullptr;
}

TImageEntry* CWindowManagerUI::FindOrLoadImage(const char* name, const char* type, DWORD mask)
{
    TImageEntry* image = GetImage(name);
    return image != nullptr ? image : AddImage(name, type, mask);
}

TImageEntry* CWindowManagerUI::AddImage(const char* name, const char* type, DWORD mask)
{
    if (name == nullptr)
        return nullptr;
    const bool resource = type != nullptr && *type != '\0';
    TImageEntry* image = nullptr;
    if (resource) {
        if (*name < '0' || *name > '9')
            return nullptr;
        WORD id = 0;
        for (const char* p = name; *p >= '0' && *p <= '9'; ++p)
            id = static_cast<WORD>(id * 10 + (*p - '0'));
        image = CRenderUtil::LoadImageData(MAKEINTRESOURCEA(id), type, mask);
    } else {
        image = CRenderUtil::LoadImageData(name, nullptr, mask);
    }
    if (image == nullptr)
        return nullptr;
    image->mask = mask;
    const bool kept =
        (!resource || image->resourceType.Assign(type)) && m_images.Insert(name, image);
    if (!kept) {
        Heap::Delete(image);
        return nullptr;
    }
    return image;
}

void CWindowManagerUI::RemoveAllImages()
{
    m_images.ForEach(
        [](const char*, void* image) { Heap::Delete(static_cast<TImageEntry*>(image)); });
    m_images.RemoveAll();
}

void CWindowManagerUI::MeasureFont(TFontEntry& entry) const
{
    if (m_paintDC == nullptr || entry.metrics.tmHeight != 0)
        return;
    CSelectObject select(m_paintDC, entry.font);
    GetTextMetricsA(m_paintDC, &entry.metrics);
}

void CWindowManagerUI::SetDefaultFont(const char* face, int size, bool bold, bool underline,
                                      bool italic)
{
    CUIString name;
    if (!name.Assign(face))
        return;
    HFONT font = MakeFont(name, size, bold, underline, italic);
    if (font == nullptr)
        return;
    DeleteObject(m_defaultFont.font);
    m_defaultFont.font = font;
    m_defaultFont.face = std::move(name);
    m_defaultFont.size = size;
    m_defaultFont.bold = bold;
    m_defaultFont.underline = underline;
    m_defaultFont.italic = italic;
    m_defaultFont.metrics = {};
    MeasureFont(m_defaultFont);
}

HFONT CWindowManagerUI::AddFont(const char* face, int size, bool bold, bool underline, bool italic)
{
    TFontEntry* entry = Heap::New<TFontEntry>();
    if (entry == nullptr)
        return nullptr;
    if (entry->face.Assign(face))
        entry->font = MakeFont(entry->face, size, bold, underline, italic);
    if (entry->font == nullptr || !m_customFonts.Add(entry)) {
        Heap::Delete(entry);
        return nullptr;
    }
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    MeasureFont(*entry);
    return entry->font;
}

TFontEntry* CWindowManagerUI::GetFontEntry(int index)
{
    TFontEntry* entry = FontAt(m_customFonts, index);
    if (entry == nullptr)
        return GetDefaultFontEntry();
    MeasureFont(*entry);
    return entry;
}

TFontEntry* CWindowManagerUI::GetFontEntry(HFONT font)
{
    for (CWindowManagerUI* manager = this; manager != nullptr;
         manager = manager->m_resourceParent) {
        for (int i = 0; i < manager->m_customFonts.GetSize(); ++i) {
            TFontEntry* entry = FontAt(manager->m_customFonts, i);
            if (entry->font == font) {
                manager->MeasureFont(*entry);
                return entry;
            }
        }
    }
    return GetDefaultFontEntry();
}

TFontEntry* CWindowManagerUI::GetDefaultFontEntry()
{
    CWindowManagerUI* top = Topmost();
    top->MeasureFont(top->m_defaultFont);
    return &top->m_defaultFont;
}

HFONT CWindowManagerUI::FindFont(const char* face, int size, bool bold, bool underline,
                                 bool italic) const
{
    const char* name = face != nullptr ? face : "";
    for (const CWindowManagerUI* manager = this; manager != nullptr;
         manager = manager->m_resourceParent) {
        for (int i = 0; i < manager->m_customFonts.GetSize(); ++i) {
            const TFontEntry* entry = FontAt(manager->m_customFonts, i);
            if (entry->face == name && entry->size == size && entry->bold == bold &&
                entry->underline == underline && entry->italic == italic)
                return entry->font;
        }
    }
    return nullptr;
}

void CWindowManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_customFonts.GetSize(); ++i)
        Heap::Delete(FontAt(m_customFonts, i));
    m_customFonts.Empty();
}

void CWindowManagerUI::AddDefaultAttributes(const char* className, const char* list)
{
    if (className == nullptr || m_defaultAttributes.Find(className) != nullptr)
        return;
    CUIString* value = Heap::New<CUIString>();
    if (value == nullptr)
        return;
    if (!value->Assign(list) || !m_defaultAttributes.Insert(className, value))
        Heap::Delete(value);
}

const char* CWindowManagerUI::FindDefaultAttributes(const char* className) const
{
    if (className == nullptr)
        return nullptr;
    for (const CWindowManagerUI* manager = this; manager != nullptr;
         manager = manager->m_resourceParent) {
        if (auto* list =
                static_cast<const CUIString*>(manager->m_defaultAttributes.Find(className)))
            return list->GetData();
    }
    return nullptr;
}

void CWindowManagerUI::RemoveAllDefaultAttributes()
{
    m_defaultAttributes.ForEach(
        [](const char*, void* list) { Heap::Delete(static_cast<CUIString*>(list)); });
    m_defaultAttributes.RemoveAll();
}

void CWindowManagerUI::SetInitialSize(int width, int height)
{
    m_initialSize = {width, height};
    if (m_window != nullptr && m_root == nullptr)
        SetWindowPos(m_window, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowManagerUI::SetAlpha(int opacity)
{
    using SetLayeredProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    if (m_window == nullptr)
        return;
    const auto setLayered =
        LookUpProc<SetLayeredProc>(GetModuleHandleA("User32.dll"), "SetLayeredWindowAttributes");
    if (setLayered == nullptr)
        return;
    const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_EXSTYLE);
    const LONG_PTR wanted =
        opacity < 256 ? (style | WS_EX_LAYERED) : (style & ~LONG_PTR{WS_EX_LAYERED});
    if (wanted != style)
        SetWindowLongPtrA(m_window, GWL_EXSTYLE, wanted);
    setLayered(m_window, 0, static_cast<BYTE>(opacity), LWA_ALPHA);
}

}  // namespace Veneer
