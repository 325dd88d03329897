#include "MqttOptions.h"

#include "Messages.h"
#include "base/BoundedFile.h"
#include "instrument/TextEncoding.h"
#include "mqtt/BrokerPassword.h"
#include "mqtt/InstrumentMessages.h"
#include "mqtt/TlsSupport.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kPasswordVariable = "VXXX_MQTT_PASSWORD";
// Far beyond the system's whole bundle of authorities: a file this large is not one of them.
constexpr std::size_t kLargestCaFile = 16 * 1024 * 1024;

struct Password {
    std::string text;
    ExitCode problem = ExitCode::Done; // the exit status when it cannot be had, the reason told
};

// The password from the service's credential, else the file, else the environment.
Password PasswordOf(const MqttOptions& given) {
    if (!given.passwordCredential.empty()) {
        const mqtt::BrokerPassword read = mqtt::ReadPasswordCredential(given.passwordCredential);
        if (!read.error.empty()) {
            Tell("no MQTT password: " + read.error);
            return {{}, ExitCode::Usage};
        }
        return {read.password};
    }
    if (!given.passwordFile.empty()) {
        const mqtt::BrokerPassword read = mqtt::ReadPasswordFile(given.passwordFile);
        if (!read.error.empty()) {
            Tell("cannot read the MQTT password file " + read.error);
            return {{}, ExitCode::FileError};
        }
        return {read.password};
    }
    const char* password = std::getenv(kPasswordVariable);
    return {password ? password : ""};
}

// Whether the CA file can be read, the reason told when not.
bool CaFileReadable(const std::string& path) {
    const BoundedFile read = ReadBoundedFile(path, kLargestCaFile);
    if (!read.error.empty()) {
        Tell("cannot read the MQTT CA file " + path + ": " + read.error);
    }
    return read.error.empty();
}

} // namespace

void AddMqttOptions(CLI::App& command, MqttOptions& options) {
    CLI::Option* mqtt =
        command
            .add_option(
                "--mqtt", options.url,
                "Also publish every reading to an MQTT broker, URL = "
                "mqtt://[USER@]HOST[:PORT]/PREFIX (port 1883)" +
                    std::string(mqtt::MqttsHelp()) +
                    ": PREFIX/ID/channel/0 to 8 with QoS 1, PREFIX/ID/status "
                    "(online/offline) and PREFIX/ID/info retained. A broker away never stops "
                    "the readings; one that refuses the login or whose certificate fails "
                    "verification ends the run with status 5. A wrong URL or a credential "
                    "not handed over ends it with status 2 and an unreadable password or CA "
                    "file with status 4, before anything is sent")
            ->check([](const std::string& url) { return mqtt::ParseBrokerUrl(url).error; })
            ->type_name("URL");
    CLI::Option* credential =
        command
            .add_option("--mqtt-password-credential", options.passwordCredential,
                        "The broker's password: the service manager's credential NAME, in "
                        "$CREDENTIALS_DIRECTORY (the logging service's is mqtt-password)")
            ->type_name("NAME")
            ->needs(mqtt);
    command
        .add_option("--mqtt-password-file", options.passwordFile,
                    "The broker's password: the first line of FILE, which only its owner may "
                    "read (else the environment variable VXXX_MQTT_PASSWORD; never on the "
                    "command line)")
        ->type_name("FILE")
        ->needs(mqtt)
        ->excludes(credential);
    command
        .add_option("--mqtt-ca", options.caFile,
                    "For mqtts://, the certificate authorities to trust, in PEM (default: the "
                    "system's)")
        ->type_name("FILE")
        ->needs(mqtt);
    command
        .add_option("--mqtt-id", options.id,
                    "The instrument's topic level and client id (default: the model and the "
                    "port's base name, e.g. V630-ttyUSB0; V630-sim with --simulate)")
        ->type_name("ID")
        ->needs(mqtt);
    command
        .add_option("--mqtt-queue", options.queueReadings,
                    "Readings kept while the broker is away, sent in order on its return "
                    "(default 10000, at most 1000000); beyond that the oldest are dropped and "
                    "counted")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1'000'000}))
        ->type_name("N")
        ->needs(mqtt);
    command
        .add_option("--mqtt-discovery", options.discoveryPrefix,
                    "Also publish, retained, before the first reading and again when the unit "
                    "changes, each channel's sensor configuration for home-automation dashboards "
                    "that discover devices: PREFIX/sensor/ID/channel0 to 8/config (PREFIX "
                    "default: homeassistant)")
        ->expected(0, 1)
        ->default_str("homeassistant")
        ->type_name("[PREFIX]")
        ->needs(mqtt);
}

ExitCode CheckMqttOptions(const MqttOptions& given, mqtt::PublisherOptions& checked) {
    // Topics and the login are UTF-8: anything else would be refused by the broker, or worse.
    for (const auto& [option, text] : {std::pair{"--mqtt", &given.url}, {"--mqtt-id", &given.id}}) {
        if (!IsUtf8(*text)) {
            Tell(std::string(option) + " is not UTF-8 text");
            return ExitCode::Usage;
        }
    }
    const Password password = PasswordOf(given);
    if (password.problem != ExitCode::Done) {
        return password.problem;
    }
    if (!given.caFile.empty() && !CaFileReadable(given.caFile)) {
        return ExitCode::FileError;
    }
    checked.broker = mqtt::ParseBrokerUrl(given.url).url; // checked with the command line
    checked.password = password.text;
    checked.caFile = given.caFile;
    checked.queueReadings = given.queueReadings;
    checked.discoveryPrefix = given.discoveryPrefix;
    // A stand-in for the model, which the instrument tells only once asked.
    checked.id = MqttId(given, "V630", "sim");
    checked.log = [](const std::string& line) { Tell(line); };
    if (const std::string problem = mqtt::OptionsProblem(checked); !problem.empty()) {
        Tell(problem);
        return ExitCode::Usage;
    }
    return ExitCode::Done;
}

std::string MqttId(const MqttOptions& given, std::string_view model, std::string_view port) {
    if (!given.id.empty()) {
        return given.id;
    }
    return mqtt::DefaultId(model, port);
}
