// The tab order on a small tree without a window: which stop the focus moves to.

#include "ui/core/TabOrder.h"

#include <gtest/gtest.h>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ControlUI.h"

namespace Veneer {
namespace {

class CStopUI : public CControlUI {
public:
    UINT GetControlFlags() const override { return UIFLAG_TABSTOP; }
};

// root: s1, plain, s2, hidden, disabled, box [s3]
class TabOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CControlUI* control : {s1, plain, s2, hidden, disabled})
            root.Add(control);
        hidden->SetVisible(false);
        disabled->SetEnabled(false);
        box->Add(s3);
        root.Add(box);
    }

    CContainerUI root;
    CControlUI* s1 = new CStopUI;
    CControlUI* plain = new CControlUI;
    CControlUI* s2 = new CStopUI;
    CControlUI* hidden = new CStopUI;
    CControlUI* disabled = new CStopUI;
    CContainerUI* box = new CContainerUI;
    CControlUI* s3 = new CStopUI;
};

TEST_F(TabOrderTest, StepsOverWhatTakesNoFocusAndGoesRoundAtTheEnds)
{
    // A control outside the order (hidden, disabled) starts from an end.
    const CTabOrder order(&root);
    struct TCase {
        IControlUI* from;
        bool forward;
        IControlUI* next;
    };
    const TCase cases[] = {
        {nullptr, true, s1}, {nullptr, false, s1}, {s1, true, s2},        {s2, true, s3},
        {s3, true, s1},      {s1, false, s3},      {s3, false, s2},       {plain, true, s2},
        {plain, false, s1},  {hidden, true, s1},   {disabled, false, s3},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(order.Next(c.from, c.forward), c.next)
            << "from " << c.from << (c.forward ? " forward" : " backward");
    }
}

TEST_F(TabOrderTest, BeforeIsTheStopJustBeforeOrNoneForTheFirst)
{
    const CTabOrder order(&root);
    EXPECT_EQ(order.Before(s3), s2);
    EXPECT_EQ(order.Before(plain), s1);
    EXPECT_EQ(order.Before(s1), nullptr);
    EXPECT_EQ(CTabOrder(nullptr).Next(nullptr, true), nullptr) << "no tree";
    EXPECT_EQ(CTabOrder(nullptr).Before(s1), nullptr);
}

}  // namespace
}  // namespace Veneer
