// The serial port choice of the configuration window.
#include "Config.h"
#include "PortChoice.h"
#include "ui_Config.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

QString PortText(const std::string& name) {
    return QString::fromLocal8Bit(name);
}

// A click on the box's arrow, F4, or Alt with an arrow key.
bool DropsListDown(const QEvent& event) {
    if (event.type() == QEvent::MouseButtonPress) {
        return true;
    }
    if (event.type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_F4 || ((key.modifiers() & Qt::AltModifier) &&
                                       (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up));
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) {
        items.append(box.itemText(i));
    }
    return items;
}

} // namespace

void TForm3::FillPortChoice() {
    const QStringList offered = PortChoice::Offered(serialPort_);
    ui->cbPort->clear();
    ui->cbPort->addItems(offered);
    // The port in use is always offered, so a re-selection never moves the link elsewhere.
    ui->cbPort->setCurrentIndex(PortChoice::IndexOf(offered, PortText(serialPort_.CommPort())));
}

QString TForm3::SelectedPort() const {
    const int index = ui->cbPort->currentIndex();
    return index >= 0 ? ui->cbPort->itemText(index) : PortText(serialPort_.CommPort());
}

void TForm3::cbPortChange() {
    if (exchangeRunning_) {
        return;
    }
    const QString selected = SelectedPort();
    // Typed text that named no item has no business in the box any more.
    ui->cbPort->setEditText(selected);
    serialPort_.SetActive(false);
    serialPort_.SetCommPort(selected.toLocal8Bit().toStdString());
    serialPort_.SetActive(true);
    CarryOnOnPort(selected);
}

void TForm3::CarryOnOnPort(const QString& name) {
    ShowPortState();
    if (MainWindow* mainWindow = context_.windows.main) {
        mainWindow->ShowUnitText(PortText(serialPort_.CommPort()));
        mainWindow->ShowCommsCaption(name + QStringLiteral(" Interval"));
    }
    bRefreshClick();
}

void TForm3::DeviceGone() {
    ShowPortState();
    if (MainWindow* mainWindow = context_.windows.main) {
        mainWindow->ShowDisconnected();
    }
}

void TForm3::DeviceBack() {
    CarryOnOnPort(SelectedPort());
}

// Typed text that names a listed port (as the device it opens) chooses that item; any other
// text gives way to the selected item's name.
void TForm3::cbPortTextEntered() {
    const QString typed = ui->cbPort->currentText();
    const int index = PortChoice::IndexOf(Items(*ui->cbPort), typed);
    if (index < 0 || index == ui->cbPort->currentIndex()) {
        ui->cbPort->setEditText(SelectedPort());
        return;
    }
    ui->cbPort->setCurrentIndex(index);
    cbPortChange();
}

// The line holds two lines of text; the whole reason is in its hint.
void TForm3::ShowPortState() {
    const QString failure = QString::fromLocal8Bit(serialPort_.LastOpenFailure());
    const QString state = failure.isEmpty() ? QString() : QStringLiteral("Not open. ") + failure;
    ui->lPortState->setText(state);
    ui->lPortState->setToolTip(state.isEmpty() ? QStringLiteral("Why the serial port is not open")
                                               : state);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->cbPort->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        cbPortChange();
        return true;
    }
    // An adapter plugged in since the list was last filled is offered as the list drops down.
    if (watched == ui->cbPort && DropsListDown(*event)) {
        FillPortChoice();
    }
    return QWidget::eventFilter(watched, event);
}
