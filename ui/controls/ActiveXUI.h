#pragma once
// CActiveXUI: a COM control inside a skin. It makes the control from "clsid" (a CLSID in
// braces, or a ProgID), through COM or, when "modulename" names a DLL, straight from that
// DLL's class factory; when it is first shown ("delaycreate", the default) or at once.
// Its site (CActiveXSite) activates the control in place over the control's rectangle,
// windowed or windowless; a windowless control is drawn into the window's back buffer and
// gets the window's input through the manager's message filters. The control's window,
// extent and visibility follow the control's, and so does the keyboard focus.
// "showactivex" is sent once, when the control has been made and placed, so that the
// window can talk to it (GetControl).

#include <windows.h>

#include <memory>

#include <ole2.h>
#include <ocidl.h>

#include "ui/controls/ActiveXModule.h"
#include "ui/controls/ComRef.h"
#include "ui/controls/ControlUI.h"
#include "ui/core/UIEvent.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

class CActiveXSite;

class CActiveXUI : public CControlUI, public IMessageFilterUI {
public:
    CActiveXUI();
    ~CActiveXUI() override;

    const char* GetClass() const override;
    // "ActiveX" and "Control".
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;

    // Read when the control is made; a later change makes no other control.
    const char* GetClsid() const { return m_clsid; }
    void SetClsid(const char* clsid) { m_clsid = clsid; }
    const char* GetModuleName() const { return m_moduleName; }
    void SetModuleName(const char* name) { m_moduleName = name; }
    bool IsDelayCreate() const { return m_delayCreate; }
    void SetDelayCreate(bool delay) { m_delayCreate = delay; }

    // The COM control exists (it was made; it may not be active in place yet).
    bool IsCreated() const { return static_cast<bool>(m_object); }
    // The control's interface iid with a reference for the caller; false (*out null) when
    // there is no control or it has no such interface.
    bool GetControl(REFIID iid, void** out) const;

    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void DoInit() override;
    void DoEvent(TUIEvent& event) override;
    // A windowless control draws itself where a state image would lie: over the
    // background, under the text and the border.
    void PaintStatusImage(HDC dc) override;

    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;

    // The window's messages, for a windowless control.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    friend class CActiveXSite;

    // The keyboard's messages before they are translated: the control's accelerators.
    class CAcceleratorFilter : public IMessageFilterUI {
    public:
        explicit CAcceleratorFilter(CActiveXUI* owner) : m_owner(owner) {}
        LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    private:
        CActiveXUI* m_owner;
    };

    bool IsShown() const;
    // Makes the control once; false when it cannot be made. Calls out to the control.
    bool CreateControl();
    bool MakeObject(CComRef<IOleObject>& object);
    // Activates a made control in place once it is shown and placed, then tells the window.
    void ActivateWhenPlaced();
    void FollowVisibility();
    void SetExtent();
    // The clip of the control's rectangle by its ancestors'.
    RECT ClipRect() const;
    bool IsUnderPointer(bool fromMessage, LPARAM lParam) const;
    void TakeFocus();
    void DropFocus();
    HRESULT ForwardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Lets the control and everything it was given go.
    void ReleaseControl();

    // Told by the site.
    void OnUIActivate();
    void OnFocusRequest(bool focus);

    CUIString m_clsid;
    CUIString m_moduleName;
    bool m_delayCreate = true;
    bool m_attempted = false;                   // made, or tried and failed: never twice
    bool m_announced = false;                   // "showactivex" went out
    std::unique_ptr<COleInitialization> m_ole;  // while a control is made
    bool m_lockedRunning = false;
    bool m_filtering = false;
    CActiveXModule m_module;  // outlives the objects it made (released last)
    CActiveXSite* m_site = nullptr;
    CComRef<IOleObject> m_object;
    CComRef<IViewObject> m_view;
    CComRef<IOleInPlaceObject> m_inPlace;
    CComRef<IOleInPlaceObjectWindowless> m_windowless;
    CAcceleratorFilter m_accelerators{this};
};

}  // namespace Veneer
