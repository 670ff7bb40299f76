#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

namespace ui {

// Lets a window read the key presses of its controls before they do, as a desktop
// form with KeyPreview: the handler gets the control the key was sent to and returns
// true when it took the key. A key press is offered once, not again while an ignored
// key travels on to the control's parents. The preview lives as long as the window.
using KeyHandler = std::function<bool(QWidget* target, QKeyEvent* event)>;
void previewKeys(QWidget* form, KeyHandler handler);

// Whether the key is Enter (main keyboard or keypad) without other modifiers.
bool isEnterKey(const QKeyEvent* event);

} // namespace ui
