#pragma once
// CProgressUI: a label that shows a value between a minimum and a maximum by drawing its
// fore image over the filled part of its area, growing from the left or from the bottom.

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

// A range with its maximum above its minimum and a value inside it.
struct TValueRange {
    int min;
    int max;
    int value;
};

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    const char* GetClass() const override;
    // "Progress", "Label" and "Control".
    void* GetInterface(const char* name) override;

    bool IsHorizontal() const { return m_horizontal; }
    // False: the bar grows from the bottom up.
    void SetHorizontal(bool horizontal);
    // The range's ends and the value are kept as set, whatever their order (a skin may
    // name them in any order); painting repairs them.
    int GetMinValue() const { return m_min; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_max; }
    void SetMaxValue(int max);
    // Always inside the repaired range.
    int GetValue() const { return Range().value; }
    void SetValue(int value);
    const char* GetForeImage() const { return m_foreImage; }
    void SetForeImage(const char* image);

    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // The fore image over the filled part.
    void PaintStatusImage(HDC dc) override;

protected:
    // The range as painted: a maximum not above the minimum becomes the minimum + 1, then
    // the value is brought inside.
    TValueRange Range() const;
    // Stores the repaired range.
    void NormalizeRange();

    bool m_horizontal = true;
    int m_max = 100;
    int m_min = 0;
    int m_value = 0;
    CUIString m_foreImage;
};

}  // namespace Veneer
