#include "ui/core/WideText.h"

#include <cwchar>

#include "ui/core/base/CodePage.h"
#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

namespace Veneer {

CWideText::CWideText(const char* text, int length)
{
    m_inline[0] = L'\0';
    if (text == nullptr || length == 0 || (length < 0 && *text == '\0'))
        return;
    const UINT codePage = TextCodePage();
    // The terminator comes with the text when the length is -1, and is added otherwise.
    const int units = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (units <= 0)
        return;
    const int needed = length < 0 ? units : units + 1;
    if (needed > kInline) {
        m_text = static_cast<wchar_t*>(
            Heap::Allocate(static_cast<std::size_t>(needed) * sizeof(wchar_t)));
        if (m_text == nullptr) {
            m_text = m_inline;
            return;
        }
    }
    if (MultiByteToWideChar(codePage, 0, text, length, m_text, units) != units) {
        m_text[0] = L'\0';
        return;
    }
    m_length = needed - 1;
    m_text[m_length] = L'\0';
}

CWideText::~CWideText()
{
    if (m_text != m_inline)
        Heap::Release(m_text);
}

void CWideText::CopyTo(wchar_t* target, int capacity) const
{
    if (capacity <= 0)
        return;
    int count = m_length < capacity - 1 ? m_length : capacity - 1;
    if (count > 0 && count < m_length && IS_HIGH_SURROGATE(m_text[count - 1]))
        --count;
    std::wmemcpy(target, m_text, static_cast<std::size_t>(count));
    target[count] = L'\0';
}

bool AssignWide(CUIString& target, const wchar_t* text, int length)
{
    if (text == nullptr)
        return false;
    if (length < 0)
        length = static_cast<int>(std::wcslen(text));
    if (length == 0)
        return target.Assign("");
    const UINT codePage = TextCodePage();
    const DWORD flags = WideToTextFlags();
    const int bytes =
        WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    char* buffer = static_cast<char*>(Heap::Allocate(static_cast<std::size_t>(bytes)));
    if (buffer == nullptr)
        return false;
    const bool converted = WideCharToMultiByte(codePage, flags, text, length, buffer, bytes,
                                               nullptr, nullptr) == bytes;
    const bool assigned = converted && target.Assign(buffer, bytes);
    Heap::Release(buffer);
    return assigned;
}

bool SetWindowTitle(HWND window, const char* text)
{
    const CWideText wide(text);
    return DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.Get())) != FALSE;
}

int ReadWindowTitle(HWND window, wchar_t* target, int capacity)
{
    if (capacity <= 0)
        return 0;
    target[0] = L'\0';
    return static_cast<int>(DefWindowProcW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                           reinterpret_cast<LPARAM>(target)));
}

}  // namespace Veneer
