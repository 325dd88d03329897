#include "Engineering.h"

#include "RegisterFile.h"
#include "instrument/SendChecks.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/WindowPlacement.h"
#include "ui_Engineering.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace {

// "Left6", "Top6", "Visible6".
constexpr int kWindowNumber = 6;

// Where the register boxes and their labels stand inside gbRegister: 16 columns, two rows.
constexpr int kColumns = 16;
constexpr int kColumnStep = 40;
constexpr int kBoxLeft = 24;
constexpr int kLabelLeft = 28;
constexpr int kBoxTop[] = {32, 80};
constexpr int kLabelTop[] = {18, 66};
constexpr int kCellWidth = 25;
constexpr int kCellHeight = 21;
constexpr int kBoxFontPoints = 12;

const QColor kAwaited(255, 0, 0);     // red: a refresh was asked for
const QColor kFilled(0, 255, 0);      // lime: the register reply filled the box
const QColor kClicked(166, 202, 240); // sky blue: the operator touched the box

// ETX: no register text holds it.
constexpr char16_t kEndOfText = 0x03;

const QString kRegisterFileFilter = QStringLiteral("Text files (*.txt)|*.TXT|All files (*.*)|*.*");

} // namespace

TfRTC::TfRTC(const PanelContext& context, QWidget* parent)
    : SecondaryForm(kWindowNumber, context.settings, context.operatorInteraction, parent),
      ui(std::make_unique<Ui::TfRTC>()), context_(context) {
    ui->setupUi(this);
    // A single-line border: the window keeps its size.
    setFixedSize(size());

    connect(ui->bRefresh, &QPushButton::clicked, this, &TfRTC::bRefreshClick);
    connect(ui->bSend, &QPushButton::clicked, this, &TfRTC::bSendClick);
    connect(ui->bLoad, &QPushButton::clicked, this, &TfRTC::bLoadClick);
    connect(ui->bSave, &QPushButton::clicked, this, &TfRTC::bSaveClick);
    connect(ui->bFilterConstantRefresh, &QPushButton::clicked, this,
            &TfRTC::bFilterConstantRefreshClick);
    connect(ui->bFilterConstantSend, &QPushButton::clicked, this, &TfRTC::bFilterConstantSendClick);
    connect(ui->bLogComms, &QPushButton::clicked, this, &TfRTC::bLogCommsClick);
    connect(ui->bClose, &QPushButton::clicked, this, &TfRTC::bCloseClick);

    FormCreate();
}

TfRTC::~TfRTC() = default;

void TfRTC::FormCreate() {
    ui->lFilename->hide();
    const bool visible = WindowPlacement::Restore(*this, context_.settings, kWindowNumber);
    if (visible && context_.state.HasDiagnosticBit(DiagnosticBit::kEngineeringWindow)) {
        show();
    }
    CreateRegisterBoxes();
}

void TfRTC::CreateRegisterBoxes() {
    for (int i = 0; i < kRegisterCount; ++i) {
        const int column = i % kColumns;
        const int row = i / kColumns;

        auto* box = new QLineEdit(QStringLiteral("--"), ui->gbRegister);
        box->setObjectName(QStringLiteral("ereg%1").arg(i));
        box->setGeometry(kBoxLeft + kColumnStep * column, kBoxTop[row], kCellWidth, kCellHeight);
        QFont font = box->font();
        font.setPointSize(kBoxFontPoints);
        box->setFont(font);
        box->setTextMargins(0, 0, 0, 0);
        box->setMaxLength(2);
        box->setToolTip(QStringLiteral("RTC register value"));
        box->setAccessibleName(QStringLiteral("RTC register ") +
                               QString::fromStdString(RegisterName(i)));
        box->installEventFilter(this);
        // Typing into a box marks it as a click does.
        connect(box, &QLineEdit::textEdited, this, [this, box] { eregChange(box); });
        ereg_[i] = box;
        // The window may already be showing: a child added later shows only when told.
        box->show();

        auto* label = new QLabel(QString::fromStdString(RegisterName(i)), ui->gbRegister);
        label->setObjectName(QStringLiteral("lreg%1").arg(i));
        label->setGeometry(kLabelLeft + kColumnStep * column, kLabelTop[row], kCellWidth,
                           kCellHeight);
        label->show();
    }
    // Made after the buttons, the boxes follow them round the Tab cycle as they stand above
    // them; the window opens on the first register.
    ereg_[0]->setFocus();
}

bool TfRTC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (QLineEdit* box : ereg_) {
            if (watched == box) {
                eregChange(box);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfRTC::ColourBox(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

QStringList TfRTC::ScreenRegisters() const {
    QStringList texts;
    for (const QLineEdit* box : ereg_) {
        texts.append(box->text());
    }
    return texts;
}

QString TfRTC::Stamp() const {
    return DateTimeStamp(ToLocalDateTime(context_.clock.Now()));
}

void TfRTC::Report(const QString& message) {
    if (context_.state.Closing) {
        qWarning().noquote() << message;
    } else {
        context_.operatorInteraction.ReportError(message);
    }
}

void TfRTC::eregChange(QLineEdit* box) {
    ColourBox(box, kClicked);
}

void TfRTC::bRefreshClick() {
    if (!context_.operatorInteraction.Ask(
            QStringLiteral("Refresh the screen with RTC registers?"))) {
        return;
    }
    for (QLineEdit* box : ereg_) {
        ColourBox(box, kAwaited);
    }
    context_.exchange.Send(protocol::Question::Poll(protocol::Poll::kRegisters));
}

void TfRTC::bSendClick() {
    // What was checked is what goes out, whatever arrives while the question is open.
    const QStringList texts = ScreenRegisters();
    protocol::RegisterTexts registers;
    for (int i = 0; i < kRegisterCount; ++i) {
        registers[static_cast<std::size_t>(i)] = texts[i].toUpper().toStdString();
    }
    if (const auto bad = FirstBadRegister(registers)) {
        Report(QStringLiteral("RTC register %1 must hold two hexadecimal digits. Nothing was sent.")
                   .arg(QString::fromStdString(RegisterName(*bad))));
        return;
    }
    if (!context_.operatorInteraction.Ask(
            QStringLiteral("Warning! Incorrect register value can stop RTC. Overwrite?"))) {
        return;
    }
    // The registers' reply to the read back fills the boxes.
    context_.exchange.ChangeAndReadBack(
        *protocol::Question::Request(protocol::RegisterWriteRequest(registers)),
        protocol::Question::Poll(protocol::Poll::kRegisters), protocol::ReadBack::ToHandlers);
}

void TfRTC::bSaveClick() {
    if (!context_.operatorInteraction.Ask(QStringLiteral("Save screen value to file?"))) {
        return;
    }
    const QString name = QStringLiteral("RTC ") + Stamp();
    RecordFile file;
    QString error;
    if (!file.Open(name + QStringLiteral(".txt"), RecordFile::Mode::Replace, &error) ||
        !file.Write(RegisterFileText(ScreenRegisters()), &error)) {
        Report(error);
        return;
    }
    file.Close();
    ui->lSaveName->setText(QStringLiteral("to: ") + name);
}

void TfRTC::bLoadClick() {
    if (!context_.operatorInteraction.Ask(
            QStringLiteral("This will overwrite the value on the screen?"))) {
        return;
    }
    const QString path = context_.operatorInteraction.OpenFile(kRegisterFileFilter);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    const std::optional<QStringList> registers = ReadRegisterFile(path, &error);
    if (!registers) {
        Report(error);
        return;
    }
    ui->lSaveName->setText(QStringLiteral("from: ") + QFileInfo(path).fileName());
    for (int i = 0; i < kRegisterCount; ++i) {
        ereg_[static_cast<std::size_t>(i)]->setText(registers->at(i));
    }
}

void TfRTC::bFilterConstantRefreshClick() {
    if (context_.operatorInteraction.Ask(QStringLiteral("Refresh filter constant?"))) {
        context_.exchange.Send(protocol::Question::Poll(protocol::Poll::kFilterConstant));
    }
}

void TfRTC::bFilterConstantSendClick() {
    const std::optional<int> constant =
        FilterConstantValue(ui->eFilterConstant->text().toStdString());
    if (!constant) {
        Report(QStringLiteral(
            "Filter constant must be a whole number from 2 to 25. Nothing was sent."));
        return;
    }
    const bool sixtyHertz = ui->cb60Hz->isChecked();
    if (!context_.operatorInteraction.Ask(
            QStringLiteral("Do you want to send the filter constant?"))) {
        return;
    }
    context_.exchange.ChangeAndReadBack(
        *protocol::Question::Request(
            protocol::FilterConstantRequest(std::to_string(*constant), sixtyHertz)),
        protocol::Question::Poll(protocol::Poll::kFilterConstant), protocol::ReadBack::ToHandlers);
}

void TfRTC::bLogCommsClick() {
    if (!commsLog_.Active()) {
        if (!context_.operatorInteraction.Ask(
                QStringLiteral("Log all Comms transactions to file?"))) {
            return;
        }
        const QString name = QStringLiteral("CT") + Stamp();
        QString error;
        if (!commsLog_.Start(name + QStringLiteral(".txt"), &error)) {
            Report(error);
            return;
        }
        ui->lFilename->setText(QStringLiteral("To: ") + name);
        ShowLogging(true);
    } else if (context_.operatorInteraction.Ask(
                   QStringLiteral("Stop logging Comms transactions?"))) {
        StopCommsLog();
    }
}

void TfRTC::ShowLogging(bool logging) {
    if (logging) {
        ui->lFilename->show();
    }
    ui->bLogComms->setText(logging ? QStringLiteral("Logging") : QStringLiteral("Start"));
    ui->bLogComms->setToolTip(logging ? QStringLiteral("Click to STOP")
                                      : QStringLiteral("Click to START"));
}

void TfRTC::StopCommsLog() {
    commsLog_.Stop();
    ShowLogging(false);
}

bool TfRTC::CommsLogActive() {
    return commsLog_.Active();
}

void TfRTC::WriteCommsLogLine(const std::string& line) {
    QString error;
    if (commsLog_.Write(line, &error)) {
        return;
    }
    ShowLogging(false);
    // Told once, after the receive handler has handed the cluster back: a box opened inside it
    // would hold up reception.
    QTimer::singleShot(0, this, [this, error] {
        Report(error + QStringLiteral("\nLogging of Comms transactions has stopped."));
    });
}

void TfRTC::ShowRegisters(const QStringList& registers) {
    // The register fields run on into the frame's end; a short reply puts its ETX where a
    // register would stand. The boxes the register data do not reach keep waiting (red).
    QString data = registers.join(QString());
    if (const qsizetype end = data.indexOf(QChar(kEndOfText)); end >= 0) {
        data.truncate(end);
    }
    for (int i = 0; i < kRegisterCount && 2 * i < data.size(); ++i) {
        QLineEdit* box = ereg_[static_cast<std::size_t>(i)];
        box->setText(data.mid(2 * i, 2));
        ColourBox(box, kFilled);
    }
}

void TfRTC::ShowFilterConstant(const QString& constant, std::optional<bool> sixtyHertz) {
    ui->eFilterConstant->setText(constant);
    if (sixtyHertz) {
        ui->cb60Hz->setChecked(*sixtyHertz);
    }
}

bool TfRTC::MayShow() const {
    return context_.state.HasDiagnosticBit(DiagnosticBit::kEngineeringWindow);
}

void TfRTC::bCloseClick() {
    close();
}

void TfRTC::CloseWindow() {
    StopCommsLog();
    FormClose();
}
