#pragma once
// CWindowLife: tells a window object's message handling whether the object is still alive
// after a call out. A handler may destroy the native window, and a window object that
// deletes itself in OnFinalMessage is then gone before the call returns: its own fields
// must not be touched afterwards.
//
//     CWindowLife::CFrame frame(m_life);
//     result = OnClose(...);
//     if (!frame.Alive()) return result;

namespace Veneer {

class CWindowLife {
public:
    CWindowLife() = default;
    CWindowLife(const CWindowLife&) = delete;
    CWindowLife& operator=(const CWindowLife&) = delete;
    // The frames still open on the object learn that it is gone.
    ~CWindowLife();

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
    // The open frames, innermost first.
    static CFrame* s_frames;
};

}  // namespace Veneer
