#include "BrokerDialog.h"

#include "mqtt/Publisher.h"
#include "ui_BrokerDialog.h"

#include <QFileInfo>

TfBroker::TfBroker(SettingsStore& settings, PasswordKeyring& keyring, std::function<void()> restart,
                   QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfBroker>()), store_(settings), keyring_(keyring),
      restart_(std::move(restart)) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->bOK, &QPushButton::clicked, this, &TfBroker::bOKClick);
    connect(ui->bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfBroker::~TfBroker() = default;

void TfBroker::EditBrokerSettings() {
    const BrokerSettings settings = ReadBrokerSettings(store_);
    ui->eUrl->setText(QString::fromStdString(settings.url));
    ui->eId->setText(QString::fromStdString(settings.id));
    ui->eQueue->setValue(static_cast<int>(settings.queueReadings));
    ui->eCaFile->setText(QString::fromStdString(settings.caFile));
    ui->ePassword->clear();
    ui->cbDiscovery->setChecked(settings.discovery);
    ui->lProblem->clear();
    ui->eUrl->setFocus();
    exec();
}

BrokerSettings TfBroker::Entered() const {
    BrokerSettings settings;
    settings.url = ui->eUrl->text().trimmed().toStdString();
    settings.id = ui->eId->text().trimmed().toStdString();
    settings.discovery = ui->cbDiscovery->isChecked();
    settings.queueReadings = static_cast<std::size_t>(ui->eQueue->value());
    settings.caFile = ui->eCaFile->text().trimmed().toStdString();
    return settings;
}

QString TfBroker::Problem(const BrokerSettings& settings) const {
    if (settings.url.empty()) {
        return {}; // publishing off
    }
    const mqtt::ParsedBrokerUrl parsed = mqtt::ParseBrokerUrl(settings.url);
    if (!parsed.error.empty()) {
        return QString::fromStdString(parsed.error);
    }
    mqtt::PublisherOptions options;
    options.broker = parsed.url;
    // The default id is made of the model and the port, both fit for a topic level.
    options.id = settings.id.empty() ? "id" : settings.id;
    options.password = ui->ePassword->text().toStdString();
    options.caFile = settings.caFile;
    options.queueReadings = settings.queueReadings;
    if (const std::string problem = mqtt::OptionsProblem(options); !problem.empty()) {
        return QString::fromStdString(problem);
    }
    const QFileInfo caFile(QString::fromStdString(settings.caFile));
    if (!settings.caFile.empty() && !(caFile.isFile() && caFile.isReadable())) {
        return QStringLiteral("the CA file cannot be read");
    }
    return {};
}

void TfBroker::bOKClick() {
    const BrokerSettings settings = Entered();
    if (const QString problem = Problem(settings); !problem.isEmpty()) {
        ui->lProblem->setText(QStringLiteral("Not taken: ") + problem);
        return;
    }
    try {
        WriteBrokerSettings(store_, settings);
    } catch (const SettingsStoreError& error) {
        ui->lProblem->setText(QStringLiteral("Not stored: ") +
                              QString::fromLocal8Bit(error.what()));
        return;
    }
    accept();
    const std::string password = ui->ePassword->text().toStdString();
    ui->ePassword->clear();
    const mqtt::BrokerUrl broker = mqtt::ParseBrokerUrl(settings.url).url;
    if (password.empty() || broker.user.empty()) {
        restart_();
        return;
    }
    // Publishing restarts once the keyring holds the new password, or has said why not.
    keyring_.WritePassword(PasswordKey(broker.user, broker.host, broker.port), password,
                           [restart = restart_](const QString&) { restart(); });
}
