#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

// The pick-one-item and enter-a-value dialogs as their callers use them: a legend, the content,
// the pointer position that places the dialog above and to the left of it, and the result only
// when the operator accepted with OK or Enter.
class ItemSelection {
public:
    virtual ~ItemSelection() = default;
    // The index of the chosen item; nothing after Cancel, Esc, the close box, or OK with no
    // item selected.
    virtual std::optional<int> SelectItem(const QString& legend, const QStringList& items,
                                          int selected, const QPoint& pointer) = 0;
};

class ValueEntry {
public:
    virtual ~ValueEntry() = default;
    // The text entered; nothing after Cancel, Esc or the close box.
    virtual std::optional<QString> EnterValue(const QString& legend, const QString& value,
                                              const QPoint& pointer) = 0;
};

// The MQTT broker's settings dialog, opened from the configuration window.
class BrokerSetup {
public:
    virtual ~BrokerSetup() = default;
    // Shows the dialog modally; what the operator accepts is stored and publishing restarts.
    virtual void EditBrokerSettings() = 0;
};
