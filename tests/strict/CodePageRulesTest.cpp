// The text code page's conversions under Windows' flag rules, with the ANSI code page of a
// system whose "UTF-8 for worldwide language support" is on. (Wine 8 converts nothing in
// GB18030, so only the bed's own rule is tried with it.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "StrictRules.h"
#include "ui/core/base/CodePage.h"
#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WideText.h"
#include "ui/core/base/XmlDocument.h"

using Veneer::CUIString;
using Veneer::CWideText;
using Veneer::CXmlDocument;

namespace {

// "验证码" in UTF-8 and UTF-16.
const char kUtf8[] = "\xE9\xAA\x8C\xE8\xAF\x81\xE7\xA0\x81";
const wchar_t kWide[] = L"\u9A8C\u8BC1\u7801";

// A process whose ANSI code page is the parameter, with the framework's default text code
// page (CP_ACP).
class AnsiCodePage {
public:
    explicit AnsiCodePage(unsigned codePage)
    {
        Strict::ForceAnsiCodePage(codePage);
        chosen = Veneer::SetTextCodePage(CP_ACP) && Veneer::TextCodePage() == codePage;
    }
    ~AnsiCodePage()
    {
        Strict::ForceAnsiCodePage(0);
        Veneer::SetTextCodePage(CP_ACP);
    }
    AnsiCodePage(const AnsiCodePage&) = delete;
    AnsiCodePage& operator=(const AnsiCodePage&) = delete;
    bool chosen = false;
};

class StrictFlagsTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(StrictFlagsTest, TheBedRefusesTheFlagsWindowsRefuses)
{
    const AnsiCodePage ansi(GetParam());
    ASSERT_TRUE(ansi.chosen);
    char out[16] = {};
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, kWide, -1, out, sizeof(out),
                                     nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FLAGS), GetLastError());
    wchar_t wide[8] = {};
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, "a", -1, wide, 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FLAGS), GetLastError());
}

INSTANTIATE_TEST_SUITE_P(Utf8AndGb18030, StrictFlagsTest, ::testing::Values(CP_UTF8, 54936u));

class Utf8AnsiCodePageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_ansi.chosen); }
    AnsiCodePage m_ansi{CP_UTF8};
};

TEST_F(Utf8AnsiCodePageTest, SkinTextIsConvertedIntoTheAnsiCodePage)
{
    std::size_t length = 0;
    char* text = Veneer::Utf8ToAnsi(kUtf8, sizeof(kUtf8) - 1, &length);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(kUtf8, std::string(text, length));
    Veneer::Heap::Release(text);
}

TEST_F(Utf8AnsiCodePageTest, SkinsLoad)
{
    const std::string skin = std::string("<Window><Button text=\"") + kUtf8 + "\"/></Window>";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMemory(skin.data(), skin.size()));
}

TEST_F(Utf8AnsiCodePageTest, TextGoesToUtf16AndBack)
{
    const std::string text = kUtf8;
    const CWideText wide(text.c_str());
    EXPECT_EQ(std::wstring(kWide), wide.Get());
    CUIString back;
    ASSERT_TRUE(Veneer::AssignWide(back, wide.Get()));
    EXPECT_EQ(text, back.GetData());
}

}  // namespace
