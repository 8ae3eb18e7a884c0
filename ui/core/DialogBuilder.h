#pragma once
// CDialogBuilder turns a skin into a tree of controls for one window. It loads the skin,
// registers the skin's images, fonts and default attribute lists and the root's window
// settings with the window's manager, makes one control per element through the element
// table (ControlFactory.h) or the caller's callback, dresses each with its class's
// default list and its own attributes, and hands it to its parent's child list.
//
// The skin's root is `Window`; its children `Image`, `Font` and `Default` declare
// resources, `Include` builds another skin in its place ("count" times from "source"),
// and every other element is a control whose child elements become its children.

#include <windows.h>

#include "ui/core/base/ControlWatch.h"
#include "ui/core/base/XmlDocument.h"

namespace Veneer {

class CWindowManagerUI;
class IContainerUI;
class IControlUI;

// Makes the controls whose element names the element table does not know ("Menu").
class IDialogBuilderCallback {
public:
    // Null when this callback does not know the name either.
    virtual IControlUI* CreateControl(const char* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Why an element made no control.
enum class TBuildSkip {
    UnknownElement,      // neither the element table nor the callback knows the name
    ParentNotContainer,  // the parent has no child list: this and later siblings dropped
    AddRefused,          // the parent's child list refused the control
    NoParent,            // a top-level control beyond the first, built without a parent
    IncludeTooDeep,      // an Include nested deeper than kMaxIncludeDepth
    NestedTooDeep,       // an element nested deeper than kMaxNesting, Include elements
                         // counted through
    IncludesTooLarge,    // an element or Include beyond kMaxIncludedElements
};

// What a build meets, told as it happens. The program builds without one; skin checkers
// (tools/skinlint) listen. Nodes and documents are valid during the call only.
class IDialogBuilderReport {
public:
    // A skin is about to be built: the first one, or one that an Include element names
    // (include is then that element, else an invalid node).
    virtual void OnSkin(const CXmlDocument& document, const CXmlNode& include) = 0;
    // An Include's source could not be loaded; document holds the reason.
    virtual void OnIncludeFailed(const CXmlNode& include, const CXmlDocument& document) = 0;
    // An Image, Font or Default element of the root was handed to the manager; registered
    // is false when the image or font could not be made (or the image name was taken).
    virtual void OnDeclaration(const CXmlNode& node, bool registered) = 0;
    // A control was made, attached and dressed for the element.
    virtual void OnControl(const CXmlNode& node, IControlUI* control) = 0;
    // The element, with its subtree, made no control.
    virtual void OnSkip(const CXmlNode& node, TBuildSkip why) = 0;

protected:
    ~IDialogBuilderReport() = default;
};

class CDialogBuilder {
public:
    // Include elements nested deeper are skipped: a skin that includes itself ends here.
    static constexpr int kMaxIncludeDepth = 8;
    // One nesting limit for the whole build, across Include elements: the control tree is
    // never deeper than one document may be.
    static constexpr int kMaxNesting = CXmlDocument::kMaxDepth;
    // What the Include elements of one build may make together (each document they build
    // counts, and each of its controls): a skin that includes itself many times over
    // ends here instead of growing with the count to the power of the depth.
    static constexpr int kMaxIncludedElements = 10000;

    CDialogBuilder() = default;
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // Loads the skin and builds it (the second Create). The skin is a text when its first
    // character is '<', a resource id (MAKEINTRESOURCEA) of the given type in the resource
    // module, or else a file below the resource path. Null when it cannot be loaded (the
    // reason stays in GetDocument's error) or makes no control. The type must outlive the
    // builder: Include elements of a resource skin read their sources with it.
    IControlUI* Create(const char* skin, const char* type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CWindowManagerUI* manager = nullptr, IControlUI* parent = nullptr);
    // Builds the loaded skin: with a manager, its declarations and window settings go to
    // the manager; with a parent, the top-level controls are added to it. The first
    // top-level control, or null. Without a parent a skin gives one control: further
    // top-level controls are destroyed.
    IControlUI* Create(IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                       IControlUI* parent = nullptr);

    // Tells what the builds of this builder meet, those of its Include elements too.
    void SetReport(IDialogBuilderReport* report) { m_report = report; }
    const CXmlDocument& GetDocument() const { return m_document; }

    // Whether the builder reads the attribute on its own elements ("Window", "Image",
    // "Font", "Default", "Include"); false for other elements.
    static bool IsBuilderAttribute(const char* element, const char* attribute);
    // "Image", "Font" and "Default": elements that declare resources for the window.
    static bool IsDeclaration(const char* element);

private:
    bool Load(const char* skin, const char* type);
    void Declare(CWindowManagerUI* manager);
    void ApplyWindowAttributes(CWindowManagerUI* manager);
    // The parent of the controls made for a node's children, its child list once the first
    // of them asked for it, and the watch that tells whether a handler has ended the parent
    // (controls joining a live window run handlers).
    struct TLevel {
        IControlUI* parent;
        IContainerUI* container;
        const CControlWatch& parentAlive;

        bool ParentEnded() const { return parent != nullptr && !parentAlive; }
    };

    IControlUI* MakeChildren(const CXmlNode& node, IControlUI* parent, CWindowManagerUI* manager);
    IControlUI* MakeLevel(const CXmlNode& node, IControlUI* parent, CWindowManagerUI* manager);
    // False, with the skip told, once the Include elements of the build made their most.
    bool TakeIncluded(const CXmlNode& node);
    // The control of one element, made, dressed and attached; null when it makes none.
    // *levelEnds is set when the parent holds no children, or a handler ended it: nor will
    // the later siblings.
    IControlUI* MakeElement(const CXmlNode& node, TLevel& level, CWindowManagerUI* manager,
                            bool* levelEnds);
    bool JoinLiveParent(const CXmlNode& node, TLevel& level, IControlUI* control, bool* levelEnds);
    IControlUI* MakeControl(const char* element);
    bool Dress(const CXmlNode& node, IControlUI* control, CWindowManagerUI* manager);
    void Include(const CXmlNode& node, IControlUI* parent, CWindowManagerUI* manager);
    void Skip(const CXmlNode& node, TBuildSkip why);

    CXmlDocument m_document;
    IDialogBuilderCallback* m_callback = nullptr;
    const char* m_resourceType = nullptr;  // set when the skin came from the resources
    IDialogBuilderReport* m_report = nullptr;
    CXmlNode m_includedBy;  // the Include element this builder builds for
    int m_depth = 0;        // Include elements between the first skin and this one
    int m_nesting = 0;      // element levels above the ones being made, across documents
    int m_ownIncluded = 0;  // the first builder's count of what Include elements made
    int* m_included = &m_ownIncluded;
};

}  // namespace Veneer
