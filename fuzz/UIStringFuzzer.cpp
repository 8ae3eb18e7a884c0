// Drives CUIString and CStringMap with operation sequences and checks them against
// std::string and std::map models. Texts include GBK bytes, so every search and case
// operation meets lead bytes at the end of a text and trail bytes that look like ASCII.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "ui/core/base/StringMap.h"
#include "ui/core/base/UIString.h"

using Veneer::CStringMap;
using Veneer::CUIString;

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;

    bool Empty() const { return size == 0; }
    std::uint8_t Byte()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    std::string Text()
    {
        std::string text;
        for (std::size_t n = Byte() % 80; n > 0 && size > 0; --n) {
            const char c = static_cast<char>(Byte());
            if (c != '\0')
                text += c;
        }
        return text;
    }
};

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in{data, size};
    CUIString s;
    std::string model;
    CStringMap map;
    std::map<std::string, void*> mapModel;
    while (!in.Empty()) {
        const std::string text = in.Text();
        switch (in.Byte() % 7) {
        case 0:
            Check(s.Assign(text.c_str()));
            model = text;
            break;
        case 1:
            Check(s.Append(text.c_str()));
            model += text;
            break;
        case 2: {
            const int start = in.Byte() % 90;
            const int count = static_cast<int>(in.Byte() % 90) - 5;
            const std::string expected =
                start >= static_cast<int>(model.size())
                    ? std::string()
                    : model.substr(static_cast<std::size_t>(start),
                                   count < 0 ? std::string::npos : static_cast<std::size_t>(count));
            Check(s.Mid(start, count) == expected.c_str());
            break;
        }
        case 3: {
            const int at = s.Find(text.c_str());
            Check(at == -1 || (!text.empty() && model.compare(static_cast<std::size_t>(at),
                                                              text.size(), text) == 0));
            Check(s.CompareNoCase(s.GetData()) == 0);
            break;
        }
        case 4: {
            void* value = reinterpret_cast<void*>(static_cast<std::uintptr_t>(in.Byte()) + 1);
            const bool fresh = mapModel.find(text) == mapModel.end();
            Check(map.Insert(text.c_str(), value) == fresh);
            if (fresh)
                mapModel[text] = value;
            break;
        }
        case 5:
            Check(map.Remove(text.c_str()) == (mapModel.erase(text) == 1));
            break;
        default:
            s.MakeLower();
            Check(s.GetLength() == static_cast<int>(model.size()));
            model = s.GetData();
            break;
        }
        Check(s.GetLength() == static_cast<int>(model.size()) && model == s.GetData());
        Check(s.IsInline() == (s.GetLength() <= CUIString::kInlineLength));
    }
    Check(map.GetSize() == static_cast<int>(mapModel.size()));
    for (const auto& entry : mapModel)
        Check(map.Find(entry.first.c_str()) == entry.second);
    return 0;
}
