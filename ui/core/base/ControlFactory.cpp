#include "ui/core/base/ControlFactory.h"

#include "ui/core/base/StringMap.h"

namespace Veneer {
namespace {

CStringMap& Table()
{
    static CStringMap table;  // element name -> const TControlClass
    return table;
}

}  // namespace

bool CControlFactory::Register(const TControlClass* classes, int count)
{
    for (int i = 0; i < count; ++i) {
        void* row = const_cast<TControlClass*>(&classes[i]);
        Table().Set(classes[i].element, row);
        if (Table().Find(classes[i].element) != row)
            return false;
    }
    return true;
}

IControlUI* CControlFactory::Create(const char* element)
{
    const auto* row = static_cast<const TControlClass*>(Table().Find(element));
    return row != nullptr ? row->create() : nullptr;
}

}  // namespace Veneer
