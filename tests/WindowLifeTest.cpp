#include "ui/core/WindowLife.h"

#include <gtest/gtest.h>

#include "ui/core/WindowWnd.h"

namespace Veneer {
namespace {

// A window object that only records its deletion; no native window is needed.
class CLifeWnd : public CWindowWnd {
public:
    explicit CLifeWnd(bool& deleted) : m_deleted(deleted) {}
    ~CLifeWnd() override { m_deleted = true; }
    const char* GetWindowClassName() const override { return "LifeTestWnd"; }

    CWindowLife life;

private:
    bool& m_deleted;
};

TEST(WindowLifeTest, FramesOnADeletedObjectLearnItIsGoneAndOthersDoNot)
{
    bool deleted = false;
    bool otherDeleted = false;
    CLifeWnd* window = new CLifeWnd(deleted);
    CLifeWnd other(otherDeleted);
    CWindowLife::CFrame outer(window->life);
    CWindowLife::CFrame foreign(other.life);
    CWindowLife::CFrame inner(window->life);
    delete window;
    EXPECT_FALSE(inner.Alive());
    EXPECT_FALSE(outer.Alive());
    EXPECT_TRUE(foreign.Alive());
}

TEST(WindowLifeTest, AnObjectEndedWhileBusyIsDeletedAsItsLastFrameCloses)
{
    bool deleted = false;
    CLifeWnd* window = new CLifeWnd(deleted);
    EXPECT_FALSE(window->life.Busy());
    {
        CWindowLife::CFrame outer(window->life);
        {
            CWindowLife::CFrame inner(window->life);
            EXPECT_TRUE(window->life.Busy());
            window->life.EndWhenIdle(window);
            EXPECT_FALSE(deleted);
        }
        EXPECT_FALSE(deleted);
        EXPECT_TRUE(outer.Alive());
    }
    EXPECT_TRUE(deleted);

    bool idleDeleted = false;
    CLifeWnd* idle = new CLifeWnd(idleDeleted);
    idle->life.EndWhenIdle(idle);
    EXPECT_TRUE(idleDeleted);
}

}  // namespace
}  // namespace Veneer
