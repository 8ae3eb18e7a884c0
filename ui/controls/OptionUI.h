#pragma once
// COptionUI: a button that stays selected. Alone it toggles at each click; in a named group
// of the window (the manager keeps the groups) selecting one deselects the others. A change
// the window should know of is told with "selectchanged".

#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

class COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    // Leaves its group.
    ~COptionUI() override;

    const char* GetClass() const override;
    // "Option", "Button", "Label" and "Control".
    void* GetInterface(const char* name) override;
    // Joins its group when initialised; a window it leaves keeps no trace of it.
    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) override;
    // "click", then selects a grouped option or toggles one alone. The receivers may
    // destroy the option.
    bool Activate() override;
    // Disabling keeps the selection.
    void SetEnabled(bool enabled = true) override;

    const char* GetGroup() const { return m_group; }
    // Null or empty: in no group.
    void SetGroup(const char* name);
    bool IsSelected() const { return m_selected; }
    // Selecting a grouped option deselects the rest of its group, which tell nobody.
    // "selectchanged" comes from an option alone at each change, and from a grouped one
    // when it becomes selected; its receivers may destroy the option.
    void Selected(bool selected);

    DWORD GetSelectedTextColor() const { return m_selectedTextColor; }
    void SetSelectedTextColor(DWORD color) { m_selectedTextColor = color; }
    const char* GetSelectedImage() const { return m_selectedImage; }
    void SetSelectedImage(const char* image);
    // Drawn over the state image, whatever the state.
    const char* GetForeImage() const { return m_foreImage; }
    void SetForeImage(const char* image);

    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

private:
    void JoinGroup();
    void LeaveGroup();
    void DeselectOthers();

    bool m_selected = false;
    CUIString m_group;
    DWORD m_selectedTextColor = 0;
    CUIString m_selectedImage;
    CUIString m_foreImage;
};

}  // namespace Veneer
