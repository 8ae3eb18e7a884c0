#include "ui/core/EventSource.h"

namespace Veneer {

CEventSource::~CEventSource()
{
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
    // By index: a delegate may add further delegates while the source fires.
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        if (!static_cast<CDelegateBase*>(m_delegates.GetAt(i))->Invoke(param))
            return false;
    }
    return true;
}

}  // namespace Veneer
