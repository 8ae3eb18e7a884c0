#include "ui/core/WindowLife.h"

namespace Veneer {

CWindowLife::CFrame* CWindowLife::s_frames = nullptr;

CWindowLife::~CWindowLife()
{
    for (CFrame* frame = s_frames; frame != nullptr; frame = frame->m_outer) {
        if (frame->m_life == this)
            frame->m_life = nullptr;
    }
}

CWindowLife::CFrame::CFrame(const CWindowLife& life) : m_life(&life), m_outer(s_frames)
{
    s_frames = this;
}

CWindowLife::CFrame::~CFrame()
{
    s_frames = m_outer;
}

}  // namespace Veneer
