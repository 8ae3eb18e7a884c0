#pragma once
// CComRef: one reference on a COM object, released on every path out of its scope. A copy
// made across a call out keeps the object alive while its method runs, whatever the call
// does with the owner's reference. COleInitialization: OLE for the thread, while it is held.

#include <windows.h>

#include <ole2.h>
#include <unknwn.h>

namespace Veneer {

template <class T>
class CComRef {
public:
    CComRef() = default;
    // Takes a reference of its own.
    explicit CComRef(T* object) : m_object(object)
    {
        if (m_object != nullptr)
            m_object->AddRef();
    }
    ~CComRef() { Reset(); }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // For a call that hands out a reference: the previous one is released first.
    T** Out()
    {
        Reset();
        return &m_object;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    // The interface iid of from, or nothing; false when from has none.
    bool QueryFrom(IUnknown* from, REFIID iid)
    {
        Reset();
        return from != nullptr && SUCCEEDED(from->QueryInterface(iid, OutVoid())) &&
               m_object != nullptr;
    }
    // Moves the other holder's reference here.
    void Take(CComRef& other)
    {
        if (&other == this)
            return;
        Reset();
        m_object = other.m_object;
        other.m_object = nullptr;
    }
    void Reset()
    {
        // Cleared before the release, which may run code that looks here again.
        T* object = m_object;
        m_object = nullptr;
        if (object != nullptr)
            object->Release();
    }

private:
    T* m_object = nullptr;
};

// One OLE initialisation of the calling thread, paired on every path. The program starts
// COM only (CoInitialize), which does not prepare OLE's clipboard, drag and drop or
// in-place activation: the rich edit and the ActiveX host each hold one while they need it
// (S_FALSE, OLE already there, is paired all the same).
class COleInitialization {
public:
    COleInitialization() : m_initialised(SUCCEEDED(OleInitialize(nullptr))) {}
    ~COleInitialization()
    {
        if (m_initialised)
            OleUninitialize();
    }
    COleInitialization(const COleInitialization&) = delete;
    COleInitialization& operator=(const COleInitialization&) = delete;

private:
    bool m_initialised;
};

}  // namespace Veneer
