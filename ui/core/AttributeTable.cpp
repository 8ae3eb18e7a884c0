#include "ui/core/AttributeTable.h"

#include <cstring>

namespace Veneer {

const TAttributeInfo* FindAttribute(const TAttributeTable& table, const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (const TAttributeTable* t = &table; t != nullptr; t = t->base) {
        for (int i = 0; i < t->count; ++i) {
            if (std::strcmp(t->rows[i].name, name) == 0)
                return &t->rows[i];
        }
        if (t->shared != nullptr) {
            if (const TAttributeInfo* row = FindAttribute(*t->shared, name))
                return row;
        }
    }
    return nullptr;
}

bool ApplyAttribute(const TAttributeTable& table, IControlUI& control, const char* name,
                    const char* value)
{
    const TAttributeInfo* row = FindAttribute(table, name);
    if (row == nullptr || row->apply == nullptr)
        return false;
    row->apply(control, value != nullptr ? value : "");
    return true;
}

}  // namespace Veneer
