#pragma once
// The element table of the skin builder: skin element names ("Button", "VerticalLayout")
// to the constructors of their control classes. ui/core cannot name those classes, so
// ui/controls fills the table in one call (RegisterControls, ui/controls/ControlClasses.h)
// and the builder makes controls by name through it.

namespace Veneer {

class IControlUI;

// A new control of one class; null when memory runs out.
using CreateControlProc = IControlUI* (*)();

// One row of the table. Rows are read where they stand: keep them in static arrays.
struct TControlClass {
    const char* element;  // compared byte for byte, with case
    CreateControlProc create;
};

class CControlFactory {
public:
    // Enters count rows; a name entered again takes the later row. False when memory ran
    // out, with the rows before the failing one entered.
    static bool Register(const TControlClass* classes, int count);
    // A new control for the element name; null for a name nobody entered (or a null
    // name), or when memory runs out.
    static IControlUI* Create(const char* element);
};

}  // namespace Veneer
