#pragma once
// CWindowLife: tells a window object's message handling whether the object is still alive
// after a call out. A handler may destroy the native window, and a window object that
// deletes itself in OnFinalMessage is then gone before the call returns: its own fields
// must not be touched afterwards.
//
//     CWindowLife::CFrame frame(m_life);
//     result = OnClose(...);
//     if (!frame.Alive()) return result;
//
// A window object whose own members are further up the stack in its messages (a window
// with a manager of its own) cannot be deleted under them: its final message hands it to
// EndWhenIdle, and the last frame open on it deletes it as it closes.

namespace Veneer {

class CWindowWnd;

class CWindowLife {
public:
    CWindowLife() = default;
    CWindowLife(const CWindowLife&) = delete;
    CWindowLife& operator=(const CWindowLife&) = delete;
    // The frames still open on the object learn that it is gone.
    ~CWindowLife();

    // Whether a frame is open on the object: it is inside one of its own messages.
    bool Busy() const;
    // Deletes object, whose life this is, now when no frame is open on it, else when the
    // last one closes.
    void EndWhenIdle(CWindowWnd* object);

    // One message being handled. Frames live on the user-interface thread's stack, so
    // they open and close strictly nested, across all windows.
    class CFrame {
    public:
        explicit CFrame(const CWindowLife& life);
        ~CFrame();
        CFrame(const CFrame&) = delete;
        CFrame& operator=(const CFrame&) = delete;

        bool Alive() const { return m_life != nullptr; }

    private:
        friend class CWindowLife;
        const CWindowLife* m_life;
        CFrame* m_outer;
    };

private:
    CWindowWnd* m_ended = nullptr;  // the object EndWhenIdle waits to delete
    // The open frames, innermost first.
    static CFrame* s_frames;
};

}  // namespace Veneer
