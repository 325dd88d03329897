// Shows the three small dialogs at once, filled as the alarm outputs table would fill them,
// for screenshots: the About box near the top left, the enter and pick dialogs opening above
// and to the left of two pointer positions. Runs until closed.
#include "ui/dialogs/About.h"
#include "ui/dialogs/Enter.h"
#include "ui/dialogs/Select.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    TfAbout about([] { return QStringLiteral("V630"); });
    about.move(10, 10);
    about.show();
    TfEnter enter;
    TfSelect select;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            select.SelectItem(QStringLiteral("Select Output Type:"),
                              {"OFF", "ON", "HIGH", "LOW", "BAND"}, 2, QPoint(400, 420));
        });
        enter.EnterValue(QStringLiteral("Enter Trigger Value:"), QStringLiteral("20"),
                         QPoint(200, 420));
    });
    return application.exec();
}
