#include "ui/core/base/ImageAttributes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Veneer::ReadImageAttributes;
using Veneer::TImageAttributes;
using Veneer::TValueRect;

namespace {

const TValueRect kItem = {10, 20, 50, 60};

// One drawn image, flattened for comparison.
struct Drawn {
    std::string name;
    std::string type;
    TValueRect dest;
    TValueRect source;
    TValueRect corner;
    unsigned mask;
    int fade;
    bool hole;
    bool xTiled;
    bool yTiled;
};

bool operator==(const TValueRect& a, const TValueRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<Drawn> Read(const char* text, const char* modify = nullptr)
{
    std::vector<Drawn> drawn;
    ReadImageAttributes(
        text, modify, kItem,
        [](const TImageAttributes& s, void* context) {
            static_cast<std::vector<Drawn>*>(context)->push_back(
                {s.name.GetData(), s.resourceType.GetData(), s.dest, s.source, s.corner, s.mask,
                 s.fade, s.hole, s.xTiled, s.yTiled});
        },
        &drawn);
    return drawn;
}

TEST(ImageAttributesTest, ItemsSetTheImageAndEverythingElseKeepsItsDefault)
{
    const std::vector<Drawn> drawn =
        Read("res='118' restype='png' source='0,22,100,44' corner='2,2,22,2'");
    ASSERT_EQ(1u, drawn.size());
    const Drawn& d = drawn[0];
    EXPECT_EQ("118", d.name);
    EXPECT_EQ("png", d.type);
    EXPECT_TRUE((d.source == TValueRect{0, 22, 100, 44}));
    EXPECT_TRUE((d.corner == TValueRect{2, 2, 22, 2}));
    EXPECT_TRUE(d.dest == kItem);
    EXPECT_EQ(0u, d.mask);
    EXPECT_EQ(255, d.fade);
    EXPECT_FALSE(d.hole || d.xTiled || d.yTiled);
}

TEST(ImageAttributesTest, ValuesAreReadAsTheirKeysSay)
{
    struct Case {
        const char* text;
        TValueRect dest;
        TValueRect source;
        unsigned mask;
        int fade;
        bool hole;
    };
    const TValueRect none = {0, 0, 0, 0};
    const Case cases[] = {
        // dest is relative to the item; right and bottom are cut to it, left and top not.
        {"file='a' dest='5,5,100,100'", {15, 25, 50, 60}, none, 0, 255, false},
        {"file='a' dest='-5,-5,10,10'", {5, 15, 20, 30}, none, 0, 255, false},
        // Numbers with blanks after the commas; missing numbers read as 0.
        {"file='a' source='10, 0, 7, 3'", kItem, {10, 0, 7, 3}, 0, 255, false},
        {"file='a' source='1,2'", kItem, {1, 2, 0, 0}, 0, 255, false},
        {"file='a' mask='#FFFF0000'", kItem, none, 0xFFFF0000u, 255, false},
        {"file='a' mask='ff00'", kItem, none, 0xFF00u, 255, false},
        {"file='a' fade='300'", kItem, none, 0, 300 & 0xFF, false},
        {"file='a' hole='true'", kItem, none, 0, 255, true},
        {"file='a' hole='TRUE'", kItem, none, 0, 255, false},
        {"file='a' fade=''", kItem, none, 0, 255, false},  // empty values are skipped
        {"file='a' colour='red' fade='7'", kItem, none, 0, 7, false},
    };
    for (const Case& c : cases) {
        const std::vector<Drawn> drawn = Read(c.text);
        ASSERT_EQ(1u, drawn.size()) << c.text;
        EXPECT_TRUE(drawn[0].dest == c.dest) << c.text;
        EXPECT_TRUE(drawn[0].source == c.source) << c.text;
        EXPECT_EQ(c.mask, drawn[0].mask) << c.text;
        EXPECT_EQ(c.fade, drawn[0].fade) << c.text;
        EXPECT_EQ(c.hole, drawn[0].hole) << c.text;
    }
}

TEST(ImageAttributesTest, ABareNameIsTheWholeString)
{
    for (const char* name : {"my image.png", "logo.png", "\xCD\xBC\xC6\xAC.png", ""}) {
        const std::vector<Drawn> drawn = Read(name);
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(name, drawn[0].name);
        EXPECT_EQ("", drawn[0].type);
    }
}

TEST(ImageAttributesTest, AMalformedItemEndsTheStringAndKeepsWhatCameBefore)
{
    const char* broken[] = {
        "file='a.png' corner='1,2,3,4",     // the value never ends
        "file='a.png' corner=1,2,3,4",      // no quote
        "file='a.png' corner '1,2,3,4'",    // no equals sign
        "file='a.png'corner='1,2,3,4'",     // no blank after the closing quote
        "file='a.png' \xB0\xA1='1,2,3,4'",  // keys are ASCII
    };
    for (const char* text : broken) {
        const std::vector<Drawn> drawn = Read(text);
        ASSERT_EQ(1u, drawn.size()) << text;
        EXPECT_EQ("a.png", drawn[0].name) << text;
        EXPECT_TRUE((drawn[0].corner == TValueRect{0, 0, 0, 0})) << text;
    }
}

TEST(ImageAttributesTest, EachFurtherImageIsDrawnWithTheSettingsMadeBeforeIt)
{
    const std::vector<Drawn> drawn = Read("file='a.png' fade='100' file='b.png' hole='true'");
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ("a.png", drawn[0].name);
    EXPECT_EQ(100, drawn[0].fade);
    EXPECT_FALSE(drawn[0].hole);
    EXPECT_EQ("b.png", drawn[1].name);
    EXPECT_EQ(100, drawn[1].fade);
    EXPECT_TRUE(drawn[1].hole);

    // A resource counts as complete once its type is set; a later name or type draws it.
    const std::vector<Drawn> resources = Read("res='1' restype='png' res='2' restype='png'");
    ASSERT_EQ(3u, resources.size());
    EXPECT_EQ("1", resources[0].name);
    EXPECT_EQ("2", resources[1].name);
    EXPECT_EQ("2", resources[2].name);
}

TEST(ImageAttributesTest, TheModifyingStringOverridesAndStartsItsOwnCount)
{
    const std::vector<Drawn> drawn =
        Read("res='115' restype='png' fade='9'", "dest='0,0,20,20' fade='200'");
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ("115", drawn[0].name);
    EXPECT_TRUE((drawn[0].dest == TValueRect{10, 20, 30, 40}));
    EXPECT_EQ(200, drawn[0].fade);

    EXPECT_EQ(1u, Read("file='a'", "file='b'").size());
    EXPECT_EQ(1u, Read("file='a'", "").size());
}

}  // namespace
