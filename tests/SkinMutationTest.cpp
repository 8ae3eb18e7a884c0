// Thousands of mutated skins built into a hidden window, laid out and painted: none may
// crash, and once each window's manager is gone none may leave a heap block behind. The
// seeds are the XML parser's fuzz corpus and the sample skins; the mutations insert skin
// tokens, cut, copy, overwrite and splice.
//
// The heap is counted by wrapping malloc and its kin at link time (HeapCounter.h).

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "HeapCounter.h"
#include "SourceFile.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/DialogBuilder.h"
#include "ui/core/IControlUI.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace VeneerTest {
namespace {

using namespace Veneer;

// A hidden window whose messages go to the manager of the skin being tried.
class MutationWindow : public CWindowWnd {
public:
    const char* GetWindowClassName() const override { return "VeneerMutationHost"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (manager != nullptr && manager->MessageHandler(message, wParam, lParam, result))
            return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    CWindowManagerUI* manager = nullptr;
};

// What mutations insert: elements of every kind before another element, attributes with
// odd values after an element's name, and stray markup, entities and GBK bytes anywhere.
const char* const kElements[] = {
    "<Window size=\"120,80\"><Control/></Window>",
    "<VerticalLayout><Control/><Control/></VerticalLayout>",
    "<HorizontalLayout childpadding=\"3\"><Control width=\"5\"/><Control/></HorizontalLayout>",
    "<TileLayout columns=\"2\"><Control/><Control/><Control/></TileLayout>",
    "<TabLayout selectedid=\"1\"><Control/><Control/></TabLayout>",
    "<Container/>",
    "<Container><Control/></Container>",
    "<Control/>",
    "<Control><Control/></Control>",
    "<ScrollBar/>",
    "<Label/>",
    "<Button/>",
    "<Edit/>",
    "<Menu/>",
    "<Image name=\"103\" restype=\"png\"/>",
    "<Image name=\"x.png\"/>",
    "<Font name=\"Tahoma\" size=\"-3\"/>",
    "<Default name=\"Control\" value=\"bkcolor=&quot;#FF00FF00&quot;\"/>",
    "<Default name=\"VScrollBar\" value=\"thumbnormalimage=&quot;res='119' restype='png'&quot;\"/>",
    "<Include source=\"row.xml\" count=\"2\"/>",
    "<Include source=\"&lt;Window&gt;&lt;Control/&gt;&lt;/Window&gt;\"/>",
    "<Include source=\"\"/>",
    "<Include source=\"CON\"/>",
    "<Include source=\"NUL\"/>",
};
const char* const kAttributes[] = {
    " name=\"a\"",
    " name=\"\"",
    " pos=\"1,2,3,4\"",
    " pos=\"-9,-9,-1,-1\"",
    " float=\"true\"",
    " visible=\"false\"",
    " enabled=\"false\"",
    " bkimage=\"res='103' restype='png' corner='9,9,9,9'\"",
    " bkimage=\"file='none.png' source='0,0,999,999'\"",
    " bkcolor=\"#80804000\"",
    " bkcolor2=\"#FF000000\"",
    " bordersize=\"3\"",
    " borderround=\"99,99\"",
    " vscrollbar=\"true\"",
    " hscrollbar=\"true\"",
    " vscrollbarstyle=\"linesize=&quot;-5&quot;\"",
    " inset=\"-5,-5,9999,9999\"",
    " childpadding=\"-40\"",
    " width=\"-1\"",
    " height=\"2147483647\"",
    " minwidth=\"500\"",
    " maxheight=\"0\"",
    " size=\"300,200\"",
    " size=\"-1,-1\"",
    " mininfo=\"1,1\"",
    " alpha=\"0\"",
    " roundcorner=\"50,50\"",
    " sizebox=\"1,1,1,1\"",
    " columns=\"0\"",
    " columns=\"3\"",
    " itemsize=\"0,0\"",
    " itemsize=\"10,10\"",
    " sepheight=\"4\"",
    " sepwidth=\"-4\"",
    " range=\"-100\"",
    " value=\"50\"",
    " font=\"9\"",
    " count=\"3\"",
    " count=\"-1\"",
    " source=\"row.xml\"",
    " text=\"&quot;&amp;&lt;\"",
};
const char* const kStray[] = {
    "/>",
    ">",
    "<",
    "</",
    "\"",
    "=",
    "&quot;",
    "&amp;",
    "&",
    "<!-- c -->",
    "<?x?>",
    "<VerticalLayout>",
    "</VerticalLayout>",
    "</Window>",
    "\xD6\xD0",
    "\x81",
    "\xFF",
    " ",
    "\n",
};

class Mutator {
public:
    explicit Mutator(std::vector<std::string> seeds) : m_seeds(std::move(seeds)) {}

    std::string Next()
    {
        std::string text = m_seeds[Pick(m_seeds.size())];
        for (std::size_t steps = 1 + Pick(2); steps > 0; --steps)
            Mutate(text);
        // A text skin starts with '<'; anything else would name a file.
        if (text.empty() || text[0] != '<')
            text.insert(0, "<");
        return text;
    }

private:
    std::size_t Pick(std::size_t count) { return count == 0 ? 0 : m_random() % count; }

    template <std::size_t N>
    const char* Any(const char* const (&tokens)[N])
    {
        return tokens[Pick(N)];
    }

    // Where an element starts: the first '<' from a random place on, or else the first.
    std::size_t ElementStart(const std::string& text)
    {
        std::size_t at = text.find('<', Pick(text.size() + 1));
        if (at == std::string::npos)
            at = text.find('<');
        return at == std::string::npos ? text.size() : at;
    }

    // Just after the name of a start tag, or the end of the text.
    std::size_t AfterName(const std::string& text)
    {
        auto isName = [&text](std::size_t at, int (*test)(int)) {
            return at < text.size() && test(static_cast<unsigned char>(text[at])) != 0;
        };
        auto startTag = [&](std::size_t from) {
            std::size_t at = text.find('<', from);
            while (at != std::string::npos && !isName(at + 1, std::isalpha))
                at = text.find('<', at + 1);
            return at;
        };
        std::size_t at = startTag(Pick(text.size() + 1));
        if (at == std::string::npos)
            at = startTag(0);
        if (at == std::string::npos)
            return text.size();
        for (++at; isName(at, std::isalnum);)
            ++at;
        return at;
    }

    // A self-closed element ("<Control .../>"): its start and its length; length 0 when
    // the text has none from a random place on.
    std::pair<std::size_t, std::size_t> SelfClosed(const std::string& text)
    {
        for (std::size_t at = AfterName(text); at < text.size(); at = AfterName(text)) {
            const std::size_t start = text.rfind('<', at);
            const std::size_t end = text.find('>', at);
            if (end != std::string::npos && text[end - 1] == '/' && text.find('<', at) > end)
                return {start, end + 1 - start};
            if (Pick(4) == 0)
                break;
        }
        return {0, 0};
    }

    // Mostly changes that keep the skin readable, so that the builder gets to see them.
    void Mutate(std::string& text)
    {
        switch (Pick(8)) {
        case 0:
        case 1:
            text.insert(ElementStart(text), Any(kElements));
            break;
        case 2:
        case 3:
        case 4:
            text.insert(AfterName(text), Any(kAttributes));
            break;
        case 5: {
            const auto element = SelfClosed(text);
            text.erase(element.first, element.second);
            break;
        }
        case 6: {
            const auto element = SelfClosed(text);
            text.insert(ElementStart(text), text.substr(element.first, element.second));
            break;
        }
        default: {
            const std::size_t at = Pick(text.size() + 1);
            if (Pick(2) == 0)
                text.insert(at, Any(kStray));
            else if (at < text.size())
                text[at] = static_cast<char>(1 + Pick(255));
            break;
        }
        }
    }

    std::vector<std::string> m_seeds;
    std::mt19937 m_random{20240613};
};

// A skin whose Include counts run into thousands builds thousands of copies: it would be
// slow, not wrong, so such mutations are left out.
bool AsksForManyCopies(const std::string& text)
{
    int digits = 0;
    for (char c : text) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 3 && text.find("Include") != std::string::npos)
            return true;
    }
    return false;
}

// Builds, attaches, lays out and paints one skin, then drops everything.
void BuildAndPaint(MutationWindow& window, HDC dc, const std::string& skin)
{
    auto* manager = new CWindowManagerUI;
    window.manager = manager;
    manager->Init(window.GetHWND());
    CDialogBuilder builder;
    IControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, manager);
    if (root != nullptr) {
        manager->AttachRoot(root);
        SendMessageA(window.GetHWND(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    window.manager = nullptr;
    delete manager;
}

TEST(SkinMutationTest, MutatedSkinsBuildPaintAndLeaveNothingBehind)
{
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    ASSERT_TRUE(RegisterControls());
    const std::string folder = testing::TempDir();
    CWindowManagerUI::SetResourcePath(folder.c_str());
    const std::string row = folder + "row.xml";
    std::FILE* file = std::fopen(row.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fputs("<Window><Font name=\"Arial\"/><Control name=\"row\" height=\"10\"/></Window>",
               file);
    std::fclose(file);

    // The parser's corpus once; skins that build into controls weigh three times as much,
    // so that most mutations reach the controls.
    std::vector<std::string> seeds;
    for (const char* path :
         {"fuzz/corpus/xml_document_fuzzer/entities.xml",
          "fuzz/corpus/xml_document_fuzzer/errors.xml", "fuzz/corpus/xml_document_fuzzer/gbk.xml",
          "fuzz/corpus/xml_document_fuzzer/nested.xml",
          "fuzz/corpus/xml_document_fuzzer/skin.xml"}) {
        seeds.push_back(SourceFile(path));
        ASSERT_FALSE(seeds.back().empty()) << path;
    }
    for (const char* path : {"tests/skins/lint/good.xml", "tests/skins/lint/warnings.xml",
                             "tests/skins/lint/escapes.xml", "tests/skins/shot/shot.xml",
                             "tests/skins/mainwindow.xml"}) {
        seeds.insert(seeds.end(), 3, SourceFile(path));
        ASSERT_FALSE(seeds.back().empty()) << path;
    }

    MutationWindow window;
    ASSERT_NE(nullptr, window.Create(nullptr, "mutations", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0));
    void* bits = nullptr;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, -120, 1, 32, BI_RGB};
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, dib);

    // The seeds as they are first: whatever is made once and kept (caches, the element
    // table) is made before the heap is counted.
    for (const std::string& seed : seeds)
        BuildAndPaint(window, dc, seed);
    Mutator mutator(seeds);
    const long before = LiveHeapBlocks();
    int built = 0;
    while (built < 4000) {
        const std::string skin = mutator.Next();
        if (AsksForManyCopies(skin))
            continue;
        BuildAndPaint(window, dc, skin);
        ++built;
    }
    const long after = LiveHeapBlocks();

    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
    DestroyWindow(window.GetHWND());
    CWindowManagerUI::SetResourcePath("");
    std::remove(row.c_str());
    EXPECT_EQ(before, after) << "heap blocks left behind by " << built << " skins";
}

}  // namespace
}  // namespace VeneerTest
