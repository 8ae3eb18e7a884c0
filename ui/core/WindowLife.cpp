#include "ui/core/WindowLife.h"

#include "ui/core/WindowWnd.h"

namespace Veneer {

CWindowLife::CFrame* CWindowLife::s_frames = nullptr;

CWindowLife::~CWindowLife()
{
    for (CFrame* frame = s_frames; frame != nullptr; frame = frame->m_outer) {
        if (frame->m_life == this)
            frame->m_life = nullptr;
    }
}

bool CWindowLife::Busy() const
{
    for (const CFrame* frame = s_frames; frame != nullptr; frame = frame->m_outer) {
        if (frame->m_life == this)
            return true;
    }
    return false;
}

void CWindowLife::EndWhenIdle(CWindowWnd* object)
{
    if (Busy())
        m_ended = object;
    else
        delete object;
}

CWindowLife::CFrame::CFrame(const CWindowLife& life) : m_life(&life), m_outer(s_frames)
{
    s_frames = this;
}

CWindowLife::CFrame::~CFrame()
{
    s_frames = m_outer;
    if (m_life != nullptr && m_life->m_ended != nullptr && !m_life->Busy())
        delete m_life->m_ended;
}

}  // namespace Veneer
