#include "ui/controls/ControlClasses.h"

#include <iterator>
#include <new>

#include "ui/controls/ControlUI.h"
#include "ui/core/ControlFactory.h"

namespace Veneer {
namespace {

template <class Control>
IControlUI* Construct()
{
    return new (std::nothrow) Control;
}

// One row per element name; each control class adds its own.
const TControlClass kControlClasses[] = {
    {"Control", Construct<CControlUI>},
};

}  // namespace

bool RegisterControls()
{
    return CControlFactory::Register(kControlClasses, static_cast<int>(std::size(kControlClasses)));
}

}  // namespace Veneer
