#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

class QLabel;
class QWidget;

// What an operator who works with the keyboard alone, or listens to a screen reader, needs of
// the controls that the mouse works with a double-click or a right-click. What the mouse does
// stays as it is.
namespace KeyboardAccess {

// A label that acts on a double-click becomes a button of its own: Tab reaches it, a frame shows
// that it has the focus, Enter, Return or Space run `press` as the double-click does, and a
// screen reader speaks `name` and then the text the label shows.
void MakePressable(QLabel& label, const QString& name, std::function<void()> press);

// Any of `keys`, pressed without Shift, Ctrl or Alt on the control, runs `action` in place of
// what the control would do with it.
void OnKeys(QWidget& control, std::initializer_list<int> keys, std::function<void()> action);

// Shift+F10 opens the control's context menu, as the menu key does, for keyboards that have none.
void ContextMenuOnShiftF10(QWidget& control);

// Tab visits the controls in this order.
void SetTabOrder(const QList<QWidget*>& controls);

} // namespace KeyboardAccess
