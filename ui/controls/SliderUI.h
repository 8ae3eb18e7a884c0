#pragma once
// CSliderUI: a progress bar with a thumb the user drags, clicks to or turns with the mouse
// wheel. Each release of the button and each wheel notch is told with "valuechanged";
// dragging moves the thumb without telling.

#include <windows.h>

#include "ui/controls/ProgressUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

// The states the thumb has an image for.
enum class TThumbImage { Normal, Hot, Pushed, Count };

class CSliderUI : public CProgressUI {
public:
    CSliderUI() = default;

    const char* GetClass() const override;
    // "Slider", "Progress", "Label" and "Control".
    void* GetInterface(const char* name) override;
    // Sets the cursor while enabled; never a tab stop.
    UINT GetControlFlags() const override;
    // Disabling resets the state.
    void SetEnabled(bool enabled = true) override;

    // Value change per wheel notch.
    int GetChangeStep() const { return m_step; }
    void SetChangeStep(int step) { m_step = step; }
    SIZE GetThumbSize() const { return m_thumbSize; }
    void SetThumbSize(SIZE size) { m_thumbSize = size; }
    // Where the thumb of the current value lies, in window coordinates.
    RECT GetThumbRect() const;
    // UISTATE_* bits: hot, captured (the thumb is dragged).
    UINT GetButtonState() const { return m_buttonState; }
    const char* GetThumbImage(TThumbImage state) const;
    // An image attribute string for one state; repaints.
    void SetThumbImage(TThumbImage state, const char* image);

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    // The bar, then the thumb in its state's image.
    void PaintStatusImage(HDC dc) override;

private:
    // The value the thumb takes with its middle at a point; the ends reach as far as half
    // a thumb beyond them.
    int ValueAt(POINT pt) const;
    // Stores the value, brought into the range first: the user never moves it outside.
    void MoveValue(long long value);
    void OnRelease(const TUIEvent& event);
    void OnWheel(bool towardsUser);
    // Tells "valuechanged" and repaints; the receivers may destroy the slider.
    void NotifyValueChanged();
    CUIString& ThumbImage(TThumbImage state) { return m_thumbImages[static_cast<int>(state)]; }

    SIZE m_thumbSize = {10, 10};
    UINT m_buttonState = 0;
    int m_step = 1;
    CUIString m_thumbImages[static_cast<int>(TThumbImage::Count)];
};

}  // namespace Veneer
