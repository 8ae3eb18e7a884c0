#include "ui/core/IControlUI.h"

#include "ui/core/ControlWatch.h"

namespace Veneer {

IControlUI::~IControlUI()
{
    CControlWatch::Forget(this);
}

}  // namespace Veneer
