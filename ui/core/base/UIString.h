#pragma once
// CUIString: the framework's 8-bit text in the ANSI code page. Up to 63 characters live
// inside the object; longer texts take a heap block. The data is never null: a default
// string is the empty text. Operations that would need memory the heap refuses leave the
// string as it was and report false.

namespace Veneer {

class CUIString {
public:
    static const int kInlineLength = 63;

    CUIString();
    CUIString(const char* text, int length = -1);
    CUIString(const CUIString& other);
    CUIString(CUIString&& other) noexcept;
    ~CUIString();

    CUIString& operator=(const CUIString& other);
    CUIString& operator=(CUIString&& other) noexcept;
    CUIString& operator=(const char* text);

    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    const char* GetData() const { return m_data; }
    operator const char*() const { return m_data; }
    bool IsInline() const { return m_data == m_inline; }

    // Bytes outside 0 .. length-1 read as 0; writes there, and writes of 0, are ignored.
    char GetAt(int index) const;
    void SetAt(int index, char c);

    void Empty();
    // length -1: up to the terminating NUL. A null text counts as empty.
    bool Assign(const char* text, int length = -1);
    bool Append(const char* text, int length = -1);
    bool Append(char c) { return Append(&c, 1); }

    CUIString& operator+=(const char* text);
    CUIString& operator+=(const CUIString& text);
    CUIString& operator+=(char c);

    int Compare(const char* text) const;
    // Letter case is ignored for A-Z only; double-byte characters compare exactly.
    int CompareNoCase(const char* text) const;
    void MakeUpper();
    void MakeLower();

    // Counts and positions are in bytes and are clamped to the string.
    CUIString Left(int count) const;
    CUIString Mid(int start, int count = -1) const;
    CUIString Right(int count) const;

    // Byte positions of whole characters only (never a trail byte), or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char c) const;
    // Replaces every occurrence; returns how many, or -1 when memory ran out (unchanged).
    int Replace(const char* from, const char* to);

    // printf-style formatting of the whole string; false leaves the string unchanged.
    bool Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    bool Reserve(int length);
    void ReleaseBlock();

    // The capacity to reserve for a text of needed bytes, grown geometrically.
    int GrownCapacity(int needed) const;

    char* m_data;
    int m_length;
    int m_capacity;
    char m_inline[kInlineLength + 1];
};

CUIString operator+(const CUIString& left, const char* right);
CUIString operator+(const char* left, const CUIString& right);
CUIString operator+(const CUIString& left, const CUIString& right);

bool operator==(const CUIString& left, const CUIString& right);
bool operator==(const CUIString& left, const char* right);
bool operator==(const char* left, const CUIString& right);
bool operator!=(const CUIString& left, const CUIString& right);
bool operator!=(const CUIString& left, const char* right);
bool operator!=(const char* left, const CUIString& right);
bool operator<(const CUIString& left, const CUIString& right);

}  // namespace Veneer
