#pragma once
#include "ui/FormLayout.h"

namespace qvn {

// The in-use prompt's controls, in tab order: Retry first, so that the focus
// starts on the default button; "Close Quorvane" and "Remove at Restart" come
// last and are never the default. On screen the buttons read "Close Quorvane",
// "Remove at Restart", "Retry", "Cancel" from the left; a prompt that has no
// program to close leaves the first place empty.
enum : int { kInUseText = 400, kInUseRetry, kInUseCancel, kInUseClose, kInUseRemoveAtRestart };

inline constexpr ControlLayout kInUsePromptControls[] = {
    {kInUseText, ControlKind::Label, L"", 240, 240, 6720, 2700, nullptr, Alignment::Left},
    {kInUseRetry, ControlKind::DefaultButton, L"Retry", 4440, 3180, 1200, 375, nullptr, Alignment::Centre},
    {kInUseCancel, ControlKind::Button, L"Cancel", 5760, 3180, 1200, 375, nullptr, Alignment::Centre},
    {kInUseClose, ControlKind::Button, L"Close Quorvane", 240, 3180, 1980, 375, nullptr, Alignment::Centre},
    {kInUseRemoveAtRestart, ControlKind::Button, L"Remove at Restart", 2340, 3180, 1980, 375, nullptr,
     Alignment::Centre},
};

inline constexpr WindowLayout kInUsePromptLayout{L"QvnRemove", 7200, 3795, kInUsePromptControls,
                                                 sizeof kInUsePromptControls / sizeof kInUsePromptControls[0]};

}  // namespace qvn
