#pragma once
// CSkinCheck listens to a build of a skin and warns about what the program would silently
// get wrong: elements that make no control, attributes no class of the element's chain
// reads, images that cannot be loaded, font indexes beyond the declared fonts, Include
// sources that cannot be read. Each warning names its place as line and column.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ui/core/base/AttributeTable.h"
#include "ui/core/DialogBuilder.h"

namespace Veneer {
class CWindowManagerUI;
}

namespace SkinLint {

// A value as one unambiguous line: backslash, every control byte and, with quote, the
// double quote are escaped; double-byte characters stay whole.
std::string Escaped(const char* text, bool quote);

class CSkinCheck : public Veneer::IDialogBuilderReport {
public:
    // Images load through manager; the tree of the first skin is printed to tree,
    // warnings go to warnings.
    CSkinCheck(Veneer::CWindowManagerUI& manager, std::FILE* tree, std::FILE* warnings);

    void OnSkin(const Veneer::CXmlDocument& document, const Veneer::CXmlNode& include) override;
    void OnIncludeFailed(const Veneer::CXmlNode& include,
                         const Veneer::CXmlDocument& document) override;
    void OnDeclaration(const Veneer::CXmlNode& node, bool registered) override;
    void OnControl(const Veneer::CXmlNode& node, Veneer::IControlUI* control) override;
    void OnSkip(const Veneer::CXmlNode& node, Veneer::TBuildSkip why) override;

    // The checks that need the whole skin (font indexes), then every warning, in the order
    // of their places; call once after the build.
    void Finish();
    // Warnings given, each counted once.
    int GetWarningCount() const { return m_warnings; }
    // The callback the build makes controls with: default lists may name its elements.
    void SetCallback(Veneer::IDialogBuilderCallback* callback) { m_callback = callback; }

private:
    // Where a warning stands: the skin (in the order they were met), line and column.
    struct TPlace {
        int source = 0;
        int line = 0;
        int column = 0;
        std::string text;  // "[source: ]line L, column C"
    };
    struct TWarning {
        TPlace place;
        std::string message;
    };
    struct TFontUse {
        TPlace place;
        std::string what;
        int index;
    };

    void PrintTree(const Veneer::CXmlNode& node, int depth);
    void CheckStructure(const Veneer::CXmlNode& node, bool root);
    void CheckBuilderAttributes(const Veneer::CXmlNode& node);
    void CheckDefaultList(const Veneer::CXmlNode& node);
    // One attribute, name=value, of an element whose class reads the table.
    void CheckAttribute(const TPlace& place, const std::string& what,
                        const Veneer::TAttributeTable& table, const char* name, const char* value);
    void CheckExtent(const TPlace& place, const std::string& what, const char* value);
    void CheckImages(const TPlace& place, const std::string& what, const char* value);

    // The place of at, a place in a node's document.
    TPlace Place(const Veneer::CXmlNode& node, const char* at) const;
    void Warn(const TPlace& place, const std::string& message);

    Veneer::CWindowManagerUI& m_manager;
    Veneer::IDialogBuilderCallback* m_callback = nullptr;
    std::FILE* m_tree;
    std::FILE* m_out;
    int m_warnings = 0;
    bool m_printed = false;
    // The name of the skin each document holds, and the order of the names as first met
    // (a skin included twice is one source).
    std::map<const Veneer::CXmlDocument*, std::string> m_sources;
    std::map<std::string, int> m_sourceOrder;
    std::vector<TFontUse> m_fonts;
    std::vector<TWarning> m_held;
};

}  // namespace SkinLint
