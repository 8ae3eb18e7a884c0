#pragma once
// Broadcasts to a registration list: an observer holds receivers in registration order
// (not owned) and hands each of them a parameter, from the first or from the last; a
// receiver remembers the observers it joined, so that it can leave them all. The popup
// menus use one process-wide observer to close all menus, or those below a window.

#include "ui/core/base/PtrArray.h"

namespace Veneer {

template <class Result, class Param>
class ReceiverImplBase;

template <class Result, class Param>
class ObserverImplBase {
public:
    virtual void AddReceiver(ReceiverImplBase<Result, Param>* receiver) = 0;
    virtual void RemoveReceiver(ReceiverImplBase<Result, Param>* receiver) = 0;
    virtual Result Broadcast(Param param) = 0;
    virtual Result BroadcastReverse(Param param) = 0;
    virtual Result RespondAll(Param param) = 0;
    virtual ~ObserverImplBase() = default;
};

template <class Result, class Param>
class ReceiverImplBase {
public:
    virtual void AddObserver(ObserverImplBase<Result, Param>* observer) = 0;
    virtual void DetachFromObservers() = 0;
    virtual Result Receive(Param param) = 0;
    virtual Result Respond(Param param, ObserverImplBase<Result, Param>* observer) = 0;
    virtual ~ReceiverImplBase() = default;
};

template <class Result, class Param>
class ObserverImpl : public ObserverImplBase<Result, Param> {
public:
    using Receiver = ReceiverImplBase<Result, Param>;

    ObserverImpl() = default;
    ObserverImpl(const ObserverImpl&) = delete;
    ObserverImpl& operator=(const ObserverImpl&) = delete;

    // The receiver learns that it joined this observer.
    void AddReceiver(Receiver* receiver) override
    {
        if (receiver == nullptr || !m_receivers.Add(receiver))
            return;
        receiver->AddObserver(this);
    }
    // The first entry of the receiver goes.
    void RemoveReceiver(Receiver* receiver) override
    {
        const int index = receiver != nullptr ? m_receivers.Find(receiver) : -1;
        if (index >= 0)
            m_receivers.Remove(index);
    }
    // A receiver may leave the list while it receives: the walks read the count at
    // every step.
    Result Broadcast(Param param) override
    {
        for (int i = 0; i < m_receivers.GetSize(); ++i)
            GetReceiverAt(i)->Receive(param);
        return 0;
    }
    Result BroadcastReverse(Param param) override
    {
        for (int i = m_receivers.GetSize() - 1; i >= 0; --i) {
            if (i < m_receivers.GetSize())
                GetReceiverAt(i)->Receive(param);
        }
        return 0;
    }
    Result RespondAll(Param param) override
    {
        for (int i = 0; i < m_receivers.GetSize(); ++i)
            GetReceiverAt(i)->Respond(param, this);
        return 0;
    }

    // The receivers in registration order.
    int GetReceiverCount() const { return m_receivers.GetSize(); }
    Receiver* GetReceiverAt(int index) const
    {
        return static_cast<Receiver*>(m_receivers.GetAt(index));
    }

private:
    CPtrArray m_receivers;  // Receiver
};

template <class Result, class Param>
class ReceiverImpl : public ReceiverImplBase<Result, Param> {
public:
    using Observer = ObserverImplBase<Result, Param>;

    ReceiverImpl() = default;
    ReceiverImpl(const ReceiverImpl&) = delete;
    ReceiverImpl& operator=(const ReceiverImpl&) = delete;
    // A receiver that goes leaves no pointer to itself behind.
    ~ReceiverImpl() override { DetachFromObservers(); }

    void AddObserver(Observer* observer) override { m_observers.Add(observer); }
    // Leaves every observer it joined; it then belongs to none.
    void DetachFromObservers() override
    {
        for (int i = 0; i < m_observers.GetSize(); ++i)
            static_cast<Observer*>(m_observers.GetAt(i))->RemoveReceiver(this);
        m_observers.Empty();
    }
    Result Receive(Param) override { return 0; }
    Result Respond(Param, Observer*) override { return 0; }

private:
    CPtrArray m_observers;  // Observer
};

}  // namespace Veneer
