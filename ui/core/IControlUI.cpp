#include "ui/core/IControlUI.h"

#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

IControlUI::~IControlUI()
{
    CControlWatch::Forget(this);
}

void IControlUI::ApplyAttributeList(const char* list)
{
    ForEachAttribute(list, [this](const char* name, const char* value) {
        SetAttribute(name, value);
    });
}

}  // namespace Veneer
