#include "ui/core/base/EventSource.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/core/base/Heap.h"

using namespace Veneer;

namespace {

// Appends its letter to the log it is given and answers as it was told.
class Recorder {
public:
    Recorder(char letter, bool answer) : m_letter(letter), m_answer(answer) {}
    bool Invoke(void* param)
    {
        *static_cast<std::string*>(param) += m_letter;
        return m_answer;
    }

private:
    char m_letter;
    bool m_answer;
};

int g_deleted = 0;

class CountedDelegate : public CDelegateBase {
public:
    ~CountedDelegate() override { ++g_deleted; }
    bool Invoke(void*) override { return true; }
};

bool AppendZ(void* param)
{
    *static_cast<std::string*>(param) += 'z';
    return true;
}

TEST(EventSourceTest, FiresInOrderUntilADelegateAnswersFalse)
{
    Recorder a('a', true), b('b', false), c('c', true);
    CEventSource source;
    EXPECT_FALSE(source.HasDelegates());
    std::string log;
    EXPECT_TRUE(source.Fire(&log));

    ASSERT_TRUE(source.Add(MakeDelegate(&a, &Recorder::Invoke)));
    ASSERT_TRUE(source.Add(MakeDelegate(AppendZ)));
    EXPECT_TRUE(source.Fire(&log));
    EXPECT_EQ("az", log);

    ASSERT_TRUE(source.Add(MakeDelegate(&b, &Recorder::Invoke)));
    ASSERT_TRUE(source.Add(MakeDelegate(&c, &Recorder::Invoke)));
    log.clear();
    EXPECT_FALSE(source.Fire(&log));
    EXPECT_EQ("azb", log);
    EXPECT_EQ(4, source.GetCount());
}

TEST(EventSourceTest, OwnsItsDelegatesAndDeletesOnesItCannotStore)
{
    g_deleted = 0;
    {
        CEventSource source;
        EXPECT_FALSE(source.Add(nullptr));
        // Fill the first block, so that the next delegate needs a larger one.
        for (int i = 0; i < 11; ++i)
            ASSERT_TRUE(source.Add(new CountedDelegate));
        Heap::FailNthAllocation(1);
        EXPECT_FALSE(source.Add(new CountedDelegate));
        Heap::FailNthAllocation(0);
        EXPECT_EQ(1, g_deleted);
        EXPECT_EQ(11, source.GetCount());
    }
    EXPECT_EQ(12, g_deleted);
}

// A source on the heap, as a control's are; the delegates below get it as their parameter.
struct Owner {
    CEventSource source;
    int depth = 0;
};

bool Never(void*)
{
    ADD_FAILURE() << "a delegate ran after its source was destroyed";
    return true;
}

// Fires the source once more from inside itself; the innermost call destroys it.
bool ReenterThenDestroy(void* param)
{
    Owner* owner = static_cast<Owner*>(param);
    if (owner->depth++ < 2)
        EXPECT_FALSE(owner->source.Fire(owner));
    else
        delete owner;
    return true;
}

TEST(EventSourceTest, ADelegateThatDestroysItsSourceEndsEveryFiringOfIt)
{
    // The host build's address sanitizer catches any read of the freed source.
    Owner* owner = new Owner;
    ASSERT_TRUE(owner->source.Add(MakeDelegate(ReenterThenDestroy)));
    ASSERT_TRUE(owner->source.Add(MakeDelegate(Never)));
    EXPECT_FALSE(owner->source.Fire(owner));
}

}  // namespace
