#include "KeyboardAccess.h"

#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

const QString kPressName = QStringLiteral("keyboardPress");

// Runs an action, in place of the control's own handling, when a key it answers to is pressed
// on the control it watches.
class KeyAction final : public QObject {
public:
    using Match = std::function<bool(const QKeyEvent&)>;

    KeyAction(QWidget& control, Match match, std::function<void()> action)
        : QObject(&control), match_(std::move(match)), action_(std::move(action)) {
        control.installEventFilter(this);
    }

    void Run() const { action_(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && match_(*static_cast<QKeyEvent*>(event))) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Match match_;
    std::function<void()> action_;
};

// A label shows no focus of its own: a frame in its text colour does, while it has it.
class FocusFrame final : public QObject {
public:
    explicit FocusFrame(QLabel& label) : QObject(&label), label_(label) {
        label.setFrameShadow(QFrame::Plain);
        label.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            label_.setFrameShape(event->type() == QEvent::FocusIn ? QFrame::Box : QFrame::NoFrame);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel& label_;
};

bool Unmodified(const QKeyEvent& key) {
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

const KeyAction* PressOf(const QObject* label) {
    return dynamic_cast<const KeyAction*>(
        label->findChild<QObject*>(kPressName, Qt::FindDirectChildrenOnly));
}

// A pressable label as a screen reader meets it: a button with its name, described by the
// text the label shows at the moment.
class PressableLabelInterface final : public QAccessibleWidget {
public:
    explicit PressableLabelInterface(QLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Description ? static_cast<const QLabel*>(widget())->text()
                                                : QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& action) override {
        const KeyAction* press = PressOf(widget());
        if (action == pressAction() && press != nullptr) {
            press->Run();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

QAccessibleInterface* PressableLabels(const QString& /*className*/, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    return label != nullptr && PressOf(label) != nullptr ? new PressableLabelInterface(label)
                                                         : nullptr;
}

} // namespace

namespace KeyboardAccess {

void MakePressable(QLabel& label, const QString& name, std::function<void()> press) {
    static const bool factoryInstalled = (QAccessible::installFactory(&PressableLabels), true);
    Q_UNUSED(factoryInstalled);
    const auto pressKey = [](const QKeyEvent& key) {
        return Unmodified(key) && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
                                   key.key() == Qt::Key_Space);
    };
    auto* action = new KeyAction(label, pressKey, std::move(press));
    action->setObjectName(kPressName);
    new FocusFrame(label);
    label.setFocusPolicy(Qt::StrongFocus);
    label.setAccessibleName(name);
    // A label is known to the screen reader as text from its first text on: it is met afresh.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(&label);
    if (dynamic_cast<PressableLabelInterface*>(known) == nullptr && known != nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
    }
}

void OnKeys(QWidget& control, std::initializer_list<int> keys, std::function<void()> action) {
    const QList<int> answered(keys);
    new KeyAction(
        control,
        [answered](const QKeyEvent& key) {
            return Unmodified(key) && answered.contains(key.key());
        },
        std::move(action));
}

void ContextMenuOnShiftF10(QWidget& control) {
    new KeyAction(
        control,
        [](const QKeyEvent& key) {
            return key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier;
        },
        [&control] {
            // Where the menu key opens it: at the control's cursor, or its current cell.
            const QPoint at = control.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, at, control.mapToGlobal(at));
            QCoreApplication::sendEvent(&control, &request);
        });
}

void SetTabOrder(const QList<QWidget*>& controls) {
    for (qsizetype i = 1; i < controls.size(); ++i) {
        QWidget::setTabOrder(controls[i - 1], controls[i]);
    }
}

} // namespace KeyboardAccess
