#pragma once
// CWideText: the framework's 8-bit text (in the text code page, TextStep.h) as UTF-16 for
// the platform's wide functions, which draw, measure and show every character whatever the
// system's ANSI code page is. Short texts stay in the object; longer ones take a heap block.
// A text that cannot be converted (memory ran out) is empty, so nothing is drawn of it.
// AssignWide is the way back, into the text code page.
//
// A window's title is kept by the system in UTF-16. The framework's windows have ANSI
// procedures, so SetWindowTextW and GetWindowTextW would pass the text through the
// system's ANSI code page on its way to and from them; SetWindowTitle and ReadWindowTitle
// hand it to the default window procedure's wide form, which keeps it as it is.

#include <windows.h>

#include "ui/core/base/UIString.h"

namespace Veneer {

class CWideText {
public:
    // length: bytes, or -1 for the whole NUL-terminated text.
    explicit CWideText(const char* text, int length = -1);
    ~CWideText();
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;

    // NUL-terminated, never null.
    const wchar_t* Get() const { return m_text; }
    // UTF-16 units, without the terminator.
    int Length() const { return m_length; }

    // Copies at most capacity - 1 units and the terminator into target, never half of a
    // surrogate pair: for the fixed-size text fields of the platform's records.
    void CopyTo(wchar_t* target, int capacity) const;

private:
    static const int kInline = 128;
    wchar_t m_inline[kInline];
    wchar_t* m_text = m_inline;
    int m_length = 0;
};

// text in UTF-16 (length units, or -1 to the NUL) into target, in the text code page; false
// when it cannot be converted.
bool AssignWide(CUIString& target, const wchar_t* text, int length = -1);

bool SetWindowTitle(HWND window, const char* text);
// At most capacity - 1 units and the terminator; the units copied.
int ReadWindowTitle(HWND window, wchar_t* target, int capacity);

}  // namespace Veneer
