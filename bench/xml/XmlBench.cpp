// Parses a generated skin of about 2 MB (20 000 elements with attributes and GBK text)
// with CXmlDocument::LoadFromString and, in the same run, with rapidxml, another in-place
// parser, and prints the best of several rounds in MB/s with the ratios.
//
// Each round does what a program holding the text does: release the previous copy, take a
// fresh buffer, copy the text in, parse. rapidxml runs twice: with its own node pool, whose
// blocks come from the heap and go back at every clear(), and with its best case, a pool
// arena touched before timing and reused. The fresh buffer and copy alone are timed too:
// on Wine in a virtual machine, fresh pages for a 2.5 MB block cost more than any parse.
#define RAPIDXML_NO_EXCEPTIONS
#include <rapidxml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ui/core/base/XmlDocument.h"

namespace rapidxml {

void parse_error_handler(const char* what, void* where)
{
    std::fprintf(stderr, "rapidxml: %s at %.20s\n", what, static_cast<const char*>(where));
    std::abort();
}

}  // namespace rapidxml

namespace {

const int kContainers = 200;
const int kLeavesPerContainer = 99;  // with the window and the containers: 20 000 elements
const int kRounds = 25;
const std::size_t kArenaBytes = 64u << 20;

std::vector<char> g_arena(kArenaBytes, 1);
std::size_t g_arenaUsed = 0;

void* ArenaAllocate(std::size_t bytes)
{
    if (g_arenaUsed + bytes > g_arena.size()) {
        std::fprintf(stderr, "rapidxml arena too small\n");
        std::abort();
    }
    void* block = g_arena.data() + g_arenaUsed;
    g_arenaUsed += (bytes + 15) & ~std::size_t(15);
    return block;
}

void ArenaFree(void*)
{
}

// GBK: "验证码" (verification code), "说明" (note), "帮助" (help).
const char kCode[] = "\xD1\xE9\xD6\xA4\xC2\xEB";
const char kNote[] = "\xCB\xB5\xC3\xF7";
const char kHelp[] = "\xB0\xEF\xD6\xFA";

std::string GenerateSkin()
{
    std::string skin = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<Window size=\"800,600\" caption=\"0,0,0,30\" roundcorner=\"4,4\">\n";
    char line[512];
    for (int c = 0; c < kContainers; ++c) {
        std::snprintf(line, sizeof(line),
                      "<!-- %s %d -->\n<VerticalLayout name=\"box_%d\" padding=\"4,4,4,4\" "
                      "bkcolor=\"#FFF0F0F0\">\n",
                      kNote, c, c);
        skin += line;
        for (int l = 0; l < kLeavesPerContainer; ++l) {
            const int n = c * kLeavesPerContainer + l;
            if (l % 10 == 9) {
                std::snprintf(line, sizeof(line),
                              "  <Text name=\"txt_%05d\" font=\"1\">%s &amp; %s %d</Text>\n", n,
                              kNote, kHelp, n);
            } else {
                std::snprintf(line, sizeof(line),
                              "  <Button name=\"btn_%05d\" pos=\"%d,%d,%d,%d\" text=\"%s %05d\" "
                              "tooltip=\"%s &lt;%d&gt;\" image=\"res='%d' source='0,0,9,9'\"/>\n",
                              n, l, c, l + 100, c + 22, kCode, n, kHelp, n, 103 + l % 30);
            }
            skin += line;
        }
        skin += "</VerticalLayout>\n";
    }
    return skin + "</Window>\n";
}

int CountOurs(const Veneer::CXmlNode& node)
{
    int count = 1;
    for (auto child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
        count += CountOurs(child);
    return count;
}

int CountRapid(const rapidxml::xml_node<>* node)
{
    int count = 1;
    for (auto* child = node->first_node(); child != nullptr; child = child->next_sibling())
        count += child->type() == rapidxml::node_element ? CountRapid(child) : 0;
    return count;
}

// A fresh writable copy of the text each round, as a program holding the text would make.
struct FreshCopy {
    char* buffer = nullptr;
    ~FreshCopy() { std::free(buffer); }
    char* Make(const std::string& text)
    {
        std::free(buffer);
        buffer = static_cast<char*>(std::malloc(text.size() + 1));
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return buffer;
    }
};

struct Contender {
    const char* name;
    std::function<void()> run;
    double best;
};

// Rounds take every contender in turn, so a busy moment of the machine hits them alike.
void TimeRounds(std::vector<Contender>& contenders)
{
    for (int round = 0; round < kRounds; ++round) {
        for (Contender& contender : contenders) {
            const auto start = std::chrono::steady_clock::now();
            contender.run();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            contender.best = round == 0 ? took.count() : std::min(contender.best, took.count());
        }
    }
}

}  // namespace

int main()
{
    const std::string skin = GenerateSkin();
    const double megabytes = static_cast<double>(skin.size()) / 1e6;

    Veneer::CXmlDocument document;
    rapidxml::xml_document<> rapid, arenaRapid;
    arenaRapid.set_allocator(ArenaAllocate, ArenaFree);
    FreshCopy rapidText, arenaText, copyText;
    std::vector<Contender> contenders = {
        {"CXmlDocument::LoadFromString",
         [&] {
             if (!document.LoadFromString(skin.c_str())) {
                 std::fprintf(stderr, "CXmlDocument: %s\n", document.GetErrorMessage());
                 std::exit(1);
             }
         }},
        {"rapidxml, own pool",
         [&] {
             rapid.clear();
             rapid.parse<rapidxml::parse_default>(rapidText.Make(skin));
         }},
        {"rapidxml, warm arena (best case)",
         [&] {
             arenaRapid.clear();
             g_arenaUsed = 0;
             arenaRapid.parse<rapidxml::parse_default>(arenaText.Make(skin));
         }},
        {"fresh buffer and copy alone", [&] { copyText.Make(skin); }},
    };
    TimeRounds(contenders);
    const int ours = CountOurs(document.GetRoot());
    const int theirs = CountRapid(rapid.first_node("Window"));

    std::printf("skin: %.2f MB, %d elements (rapidxml: %d), best of %d rounds\n", megabytes, ours,
                theirs, kRounds);
    for (const Contender& c : contenders)
        std::printf("%-34s %8.1f MB/s %7.2f ms\n", c.name, megabytes / c.best, c.best * 1e3);
    std::printf("ratio CXmlDocument / rapidxml: %.2f (own pool), %.2f (warm arena)\n",
                contenders[1].best / contenders[0].best, contenders[2].best / contenders[0].best);
    return ours == theirs ? 0 : 1;
}
