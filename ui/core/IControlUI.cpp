#include "ui/core/IControlUI.h"

#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/ControlWatch.h"

namespace Veneer {

IControlUI::~IControlUI()
{
    CControlWatch::Forget(this);
}

void IControlUI::ApplyAttributeList(const char* list)
{
    // An attribute may set off handlers that end the control: the rest goes nowhere.
    const CControlWatch self(this);
    ForEachAttribute(list, [&self](const char* name, const char* value) {
        if (self)
            self.Get()->SetAttribute(name, value);
    });
}

}  // namespace Veneer
