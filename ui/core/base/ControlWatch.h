#pragma once
// CControlWatch: a control pointer kept across a call that may destroy the control. Every
// control's destruction clears the watches on it, so after the call Get() is either the
// live control or null. See "Calling out" in this folder's README for the idiom.

namespace Veneer {

class IControlUI;

class CControlWatch {
public:
    explicit CControlWatch(IControlUI* control);
    ~CControlWatch();
    CControlWatch(const CControlWatch&) = delete;
    CControlWatch& operator=(const CControlWatch&) = delete;

    // The control, or null once it has been destroyed.
    IControlUI* Get() const { return m_control; }
    explicit operator bool() const { return m_control != nullptr; }
    bool operator==(const IControlUI* control) const { return m_control == control; }
    bool operator!=(const IControlUI* control) const { return m_control != control; }
    friend bool operator==(const IControlUI* control, const CControlWatch& watch)
    {
        return watch == control;
    }
    friend bool operator!=(const IControlUI* control, const CControlWatch& watch)
    {
        return watch != control;
    }

    // Clears every watch on a control that is being destroyed; IControlUI's destructor
    // calls it, so no control can leave a watch behind.
    static void Forget(IControlUI* control);

private:
    // The live watches of the user-interface thread, newest first.
    static CControlWatch* s_first;

    IControlUI* m_control;
    CControlWatch* m_previous = nullptr;
    CControlWatch* m_next = nullptr;
};

}  // namespace Veneer
