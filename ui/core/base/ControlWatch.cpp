#include "ui/core/base/ControlWatch.h"

namespace Veneer {

// Controls live on the user-interface thread only, and so do their watches: no lock.
CControlWatch* CControlWatch::s_first = nullptr;

CControlWatch::CControlWatch(IControlUI* control) : m_control(control), m_next(s_first)
{
    if (m_next != nullptr)
        m_next->m_previous = this;
    s_first = this;
}

CControlWatch::~CControlWatch()
{
    if (m_previous != nullptr)
        m_previous->m_next = m_next;
    else
        s_first = m_next;
    if (m_next != nullptr)
        m_next->m_previous = m_previous;
}

void CControlWatch::Forget(IControlUI* control)
{
    for (CControlWatch* watch = s_first; watch != nullptr; watch = watch->m_next) {
        if (watch->m_control == control)
            watch->m_control = nullptr;
    }
}

}  // namespace Veneer
