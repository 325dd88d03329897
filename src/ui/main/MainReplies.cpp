// What the reply handlers show on the main window: readings, unit, output LEDs, and the
// captions that follow the model and input mode of the status reply.
#include "Main.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui_Main.h"

void TForm1::ShowUnit(const QString& unitText) {
    ui->lUnit->setText(unitText);
}

void TForm1::ShowReading(int channel, const QString& text) {
    displays_.ShowReading(channel, text);
}

void TForm1::ShowOutputStates(unsigned states) {
    displays_.ShowOutputStates(states);
}

void TForm1::AdaptToStatus(const QString& caption) {
    AdaptToModel();
    setWindowTitle(caption);
    AdaptToInputMode();
}

void TForm1::AdaptToModel() {
    if (state_.InstrumentModel() == protocol::Model::V420) {
        displays_.ShowBothLeds(false);
    } else if (state_.InstrumentModel() == protocol::Model::V630) {
        // Until the next output states reply leaves one of the two.
        displays_.ShowBothLeds(true);
    }
}

void TForm1::AdaptToInputMode() {
    if (state_.ResistanceInputs()) {
        ui->rbMilliVolt->setText(QStringLiteral("Resistance"));
        ui->rbLead->show();
    } else {
        ui->rbMilliVolt->setText(
            state_.HasDiagnosticBit(DiagnosticBit::kMilliVoltRAndColdJunctionCalibration)
                ? QStringLiteral("MilliVolt/R")
                : QStringLiteral("MilliVolt"));
        ui->rbLead->hide();
    }
}
