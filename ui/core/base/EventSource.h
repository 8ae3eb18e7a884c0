#pragma once
// Event sources: the hooks a control offers (initialised, resized, an event arrived, a
// notification is being sent ...). A source owns an ordered list of delegates and fires
// them in order until one answers false, which also stops the default handling.

#include <new>

#include "ui/core/base/PtrArray.h"

namespace Veneer {

class CDelegateBase {
public:
    virtual ~CDelegateBase() = default;
    // param: the control, or the event or notification record; false stops the firing.
    virtual bool Invoke(void* param) = 0;
};

template <class Object>
class CMemberDelegate : public CDelegateBase {
public:
    using Method = bool (Object::*)(void*);
    CMemberDelegate(Object* object, Method method) : m_object(object), m_method(method) {}
    bool Invoke(void* param) override { return (m_object->*m_method)(param); }

private:
    Object* m_object;
    Method m_method;
};

class CFunctionDelegate : public CDelegateBase {
public:
    using Function = bool (*)(void*);
    explicit CFunctionDelegate(Function function) : m_function(function) {}
    bool Invoke(void* param) override { return m_function(param); }

private:
    Function m_function;
};

// Null when memory runs out; CEventSource::Add reports that as false.
template <class Object>
CDelegateBase* MakeDelegate(Object* object, bool (Object::*method)(void*))
{
    return new (std::nothrow) CMemberDelegate<Object>(object, method);
}

inline CDelegateBase* MakeDelegate(bool (*function)(void*))
{
    return new (std::nothrow) CFunctionDelegate(function);
}

class CEventSource {
public:
    CEventSource() = default;
    ~CEventSource();
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    // Takes the delegate; one that cannot be stored is deleted at once. Null gives false.
    bool Add(CDelegateBase* delegate);
    bool HasDelegates() const { return !m_delegates.IsEmpty(); }
    int GetCount() const { return m_delegates.GetSize(); }
    // True when every delegate answered true (or there was none). A delegate may destroy
    // the source (with its control): the firing then stops at once and answers false.
    bool Fire(void* param);

private:
    // One running Fire; the destructor marks every one of them, nested ones included.
    struct TFiring {
        bool destroyed;
        TFiring* outer;
    };

    CPtrArray m_delegates;  // owned CDelegateBase
    TFiring* m_firing = nullptr;
};

}  // namespace Veneer
