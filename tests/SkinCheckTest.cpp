// skinlint's checks on classes that read font indexes and images, made by a callback: the
// sample skins of skins/lint cover the rest through the program itself.

#include "tools/skinlint/SkinCheck.h"

#include <cstdio>
#include <string>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ControlClasses.h"

namespace VeneerTest {
namespace {

// A control that reads a font index and an image of its own.
class Lettered : public CControlUI {
public:
    const TAttributeTable& GetAttributeTable() const override { return kTable; }
    static const TAttributeTable kTable;
};

const TAttributeInfo kLetteredRows[] = {
    {"font", TAttributeKind::Font},
    {"hotimage", TAttributeKind::Image},
};
const TAttributeTable Lettered::kTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kLetteredRows);

class LetteredCallback : public IDialogBuilderCallback {
public:
    IControlUI* CreateControl(const char* className) override
    {
        return std::string(className) == "Lettered" ? new Lettered : nullptr;
    }
};

class SkinCheckTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        ASSERT_TRUE(RegisterControls());
    }

    // The warnings of one build of skin.
    std::string Check(const char* skin)
    {
        const std::string path = testing::TempDir() + "skincheck.txt";
        std::FILE* out = std::fopen(path.c_str(), "w+b");
        EXPECT_NE(nullptr, out);
        CWindowManagerUI manager;
        SkinLint::CSkinCheck check(manager, out, out);
        CDialogBuilder builder;
        builder.SetReport(&check);
        LetteredCallback callback;
        delete builder.Create(skin, nullptr, &callback, &manager);
        check.Finish();
        std::string text(4096, '\0');
        std::rewind(out);
        text.resize(std::fread(&text[0], 1, text.size(), out));
        std::fclose(out);
        std::remove(path.c_str());
        // The tree comes first; the warnings follow it.
        const std::size_t first = text.find("warning:");
        return first == std::string::npos ? "" : text.substr(first);
    }
};

TEST_F(SkinCheckTest, FontIndexesAreHeldAgainstEveryFontTheSkinDeclares)
{
    EXPECT_EQ(
        "warning: line 1, column 117: Lettered: font: font 3 is not declared (fonts 0 to 2)\n"
        "warning: line 1, column 183: Lettered: hotimage: image \"nothing.png\" cannot be loaded\n",
        Check("<Window><Font name=\"Tahoma\"/><Font name=\"Arial\"/>"
              "<VerticalLayout><Lettered font=\"-1\"/><Lettered font=\"2\"/><Lettered font=\"3\"/>"
              "<Lettered hotimage=\"res='103' restype='png'\"/><Lettered hotimage=\"nothing.png\"/>"
              "<Include source=\"&lt;Window&gt;&lt;Font "
              "name=&quot;Tahoma&quot;/&gt;&lt;/Window&gt;\"/>"
              "</VerticalLayout></Window>"))
        << "a font declared by an Include after its use counts";
    EXPECT_EQ("warning: line 1, column 19: Lettered: font: font 0 is not declared (the skin "
              "declares no fonts)\n",
              Check("<Window><Lettered font=\"0\"/></Window>"));
}

TEST_F(SkinCheckTest, ASecondResourcePairInOneImageStringIsWarned)
{
    EXPECT_EQ("warning: line 1, column 35: Lettered: hotimage: the image of a second "
              "res/restype pair is drawn twice\n",
              Check("<Window><VerticalLayout><Lettered hotimage=\"res='103' restype='png' "
                    "res='115' restype='png'\"/><Lettered hotimage=\"res='103' restype='png'\"/>"
                    "</VerticalLayout></Window>"));
}

TEST_F(SkinCheckTest, PlacesAndLengthsBeyondTheScreensRangeAreWarned)
{
    EXPECT_EQ("warning: line 1, column 41: VerticalLayout: childpadding: 40000 is beyond the "
              "screen's range (-32768 to 32767)\n"
              "warning: line 1, column 71: Control: padding: -2147483648 is beyond the screen's "
              "range (-32768 to 32767)\n",
              Check("<Window><VerticalLayout inset=\"1,2,3,4\" childpadding=\"40000\">"
                    "<Control padding=\"0,-99999999999,0,0\" width=\"32767\" pos=\"-32768,0,0,0\"/>"
                    "</VerticalLayout></Window>"));
}

}  // namespace
}  // namespace VeneerTest
