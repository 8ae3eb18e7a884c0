#pragma once
// The controls of ui/controls under their skin element names, entered in the skin
// builder's element table (ui/core/base/ControlFactory.h).

namespace Veneer {

// Enters every control class of this folder; the program calls it once at start, before
// any skin is built. False when memory ran out.
bool RegisterControls();

}  // namespace Veneer
