#include "Config.h"

#include "ui/main/Main.h"
#include "ui/main/Windows1252.h"

TForm3::TForm3(TForm1& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("System configuration"));
    resize(230, 300);
}

void TForm3::cbPortChange() {
    InstrumentPort& port = mainWindow_.SerialPort1();
    const std::string selected = port.CommPort();
    port.SetActive(false);
    port.SetCommPort(selected);
    port.SetActive(true);
    mainWindow_.ShowUnitText(FromWindows1252(port.CommPort()));
    mainWindow_.ShowCommsCaption(FromWindows1252(selected) + QStringLiteral(" Interval"));
    mainWindow_.setWindowTitle(QStringLiteral("Control Panel - connecting"));
    mainWindow_.Frames().SendPoll('S');
}

void TForm3::ApplyStatus(const InstrumentStatus& status) {
    status_ = status;
}

void TForm3::ShowModelLayout(int width, bool zeroLogShown) {
    resize(width, height());
    zeroLogShown_ = zeroLogShown;
}

void TForm3::ShowAlarmOutput(const AlarmOutputSetting&) {}

void TForm3::StoreLoggedRecord(const std::string&) {}
