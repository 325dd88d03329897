#include "Config.h"

#include "ui/panel/Windows1252.h"

TForm3::TForm3(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), serialPort_(serialPort), context_(context) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("System configuration"));
    resize(230, 300);
}

void TForm3::cbPortChange() {
    const std::string selected = serialPort_.CommPort();
    serialPort_.SetActive(false);
    serialPort_.SetCommPort(selected);
    serialPort_.SetActive(true);
    if (MainWindow* mainWindow = context_.windows.main) {
        mainWindow->ShowUnitText(FromWindows1252(serialPort_.CommPort()));
        mainWindow->ShowCommsCaption(FromWindows1252(selected) + QStringLiteral(" Interval"));
        mainWindow->ShowConnecting();
    }
    context_.frames.SendPoll('S');
}

void TForm3::ShowModelLayout(int width, bool zeroLogShown) {
    resize(width, height());
    zeroLogShown_ = zeroLogShown;
}
