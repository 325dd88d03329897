// Every control that Tab or a click can reach, in every window of the program, carries a name
// a screen reader speaks; what the mouse does with a double-click or a right-click, a key does.
#include "ui/support/LivePanel.h"

#include <QAccessible>
#include <QMenu>
#include <QTest>
#include <functional>
#include <tuple>

namespace {

// The controls of `window` under `node` that take the focus and have no name. Cells and items
// belong to their view; a combo box's edit and list belong to the box.
QStringList Unnamed(const QWidget* window, QAccessibleInterface* node) {
    QStringList unnamed;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        auto* control = child != nullptr ? qobject_cast<QWidget*>(child->object()) : nullptr;
        if (control == nullptr || control->focusProxy() != nullptr || control->window() != window) {
            continue;
        }
        if (child->state().focusable && child->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed.append(control->objectName());
        }
        unnamed += Unnamed(window, child);
    }
    return unnamed;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        live.Start();
        // The configuration window shows the alarm outputs table once the V630 has reported.
        QTRY_VERIFY_WITH_TIMEOUT(live.Form().windowTitle().startsWith("V630"), 10000);
    }

    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"Form1", "Form2", "Form3", "fChannel", "fCalibrate", "fRTC",
                                   "fSelect", "fEnter", "fAbout", "fBroker"}) {
            QTest::newRow(window) << window;
        }
    }

    void everyControlIsNamed() {
        QFETCH(QString, window);
        QWidget* shown = LivePanel::Window(window);
        QVERIFY(shown != nullptr);
        QCOMPARE(Unnamed(shown, QAccessible::queryAccessibleInterface(shown)).join(", "),
                 QString());
    }

    // A key does what a double-click or a right-click does, on the control that has the focus.
    void mouseActionsHaveKeys() {
        const auto asked = [this](const char* question) -> std::function<bool()> {
            return [this, question] { return live.operatorAnswers.questions.contains(question); };
        };
        const auto shows = [](const char* window, const char* child) -> std::function<bool()> {
            return
                [=] { return LivePanel::Window(window)->findChild<QWidget*>(child)->isVisible(); };
        };
        const std::tuple<const char*, const char*, Qt::Key, Qt::KeyboardModifiers,
                         std::function<bool()>>
            cases[] = {
                {"Form1", "lDispx3", Qt::Key_Return, {}, shows("fChannel", "cbTCType")},
                {"Form1", "lComm_count", Qt::Key_Space, {}, asked("Reset Comms error?")},
                {"Form1", "lBCC_error", Qt::Key_Enter, Qt::KeypadModifier,
                 asked("Reset BCC error?")},
                {"fCalibrate", "lSerial", Qt::Key_Space, {}, shows("fCalibrate", "PopupMenu1")},
                {"Form3", "sgOP", Qt::Key_F10, Qt::ShiftModifier, shows("Form3", "PopupMenu1")},
            };
        for (const auto& [window, control, key, modifiers, done] : cases) {
            QTest::keyClick(LivePanel::Window(window)->findChild<QWidget*>(control), key,
                            modifiers);
            QVERIFY2(done(), control);
        }
    }

private:
    LivePanel live;
};

QTEST_MAIN(AccessibilityTest)
#include "test_Accessibility.moc"
