#include "ui/core/base/EventSource.h"

namespace Veneer {

CEventSource::~CEventSource()
{
    for (TFiring* firing = m_firing; firing != nullptr; firing = firing->outer)
        firing->destroyed = true;
    for (int i = 0; i < m_delegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_delegates.GetAt(i));
}

bool CEventSource::Add(CDelegateBase* delegate)
{
    if (delegate == nullptr)
        return false;
    if (m_delegates.Add(delegate))
        return true;
    delete delegate;
    return false;
}

bool CEventSource::Fire(void* param)
{
    TFiring firing = {false, m_firing};
    m_firing = &firing;
    bool carryOn = true;
    // By index: a delegate may add further delegates while the source fires.
    for (int i = 0; carryOn && i < m_delegates.GetSize(); ++i) {
        carryOn = static_cast<CDelegateBase*>(m_delegates.GetAt(i))->Invoke(param);
        // Destroyed by the delegate: nothing of this source may be touched any more.
        if (firing.destroyed)
            return false;
    }
    m_firing = firing.outer;
    return carryOn;
}

}  // namespace Veneer
