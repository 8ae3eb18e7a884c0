#include "ui/controls/ControlClasses.h"

#include <iterator>
#include <new>

#include "ui/controls/ActiveXUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/ControlUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ListContainerElementUI.h"
#include "ui/controls/ListElementUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/base/ControlFactory.h"

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
    {"Container", Construct<CContainerUI>},
    {"VerticalLayout", Construct<CVerticalLayoutUI>},
    {"HorizontalLayout", Construct<CHorizontalLayoutUI>},
    {"TileLayout", Construct<CTileLayoutUI>},
    {"TabLayout", Construct<CTabLayoutUI>},
    {"ScrollBar", Construct<CScrollBarUI>},
    {"Label", Construct<CLabelUI>},
    {"Button", Construct<CButtonUI>},
    {"Option", Construct<COptionUI>},
    {"Text", Construct<CTextUI>},
    {"List", Construct<CListUI>},
    {"ListHeader", Construct<CListHeaderUI>},
    {"ListHeaderItem", Construct<CListHeaderItemUI>},
    {"ListLabelElement", Construct<CListLabelElementUI>},
    {"ListTextElement", Construct<CListTextElementUI>},
    {"ListContainerElement", Construct<CListContainerElementUI>},
    {"Edit", Construct<CEditUI>},
    {"Progress", Construct<CProgressUI>},
    {"Slider", Construct<CSliderUI>},
    {"Combo", Construct<CComboUI>},
    {"ActiveX", Construct<CActiveXUI>},
    {"RichEdit", Construct<CRichEditUI>},
};

}  // namespace

bool RegisterControls()
{
    return CControlFactory::Register(kControlClasses, static_cast<int>(std::size(kControlClasses)));
}

}  // namespace Veneer
