#pragma once
// The classic key codes and modifier state the grid and editor handlers work
// with (Delete 46, Backspace 8, Enter 13, keypad digits 96 to 105, ...).
#include <Qt>

class QKeyEvent;

namespace avelin {

// The classic (virtual-key) code of a key press; 0 for a key that has none.
int ClassicKeyCode(const QKeyEvent& event);

// Shift 1 + Ctrl 2 + Alt 4.
int ClassicShiftState(Qt::KeyboardModifiers modifiers);

// True for the keys that are only modifiers (Shift, Ctrl, Alt, Meta and the
// lock keys).
bool IsModifierKeyCode(int keyCode);

} // namespace avelin
