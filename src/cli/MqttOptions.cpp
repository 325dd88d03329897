#include "MqttOptions.h"

#include "Messages.h"
#include "base/BoundedFile.h"
#include "mqtt/BrokerPassword.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

constexpr const char* kPasswordVariable = "VXXX_MQTT_PASSWORD";
// Far beyond the system's whole bundle of authorities: a file this large is not one of them.
constexpr std::size_t kLargestCaFile = 16 * 1024 * 1024;

// The password from the file, else from the environment; nothing, with the reason told, when
// the file cannot be read.
std::optional<std::string> Password(const MqttOptions& given) {
    if (!given.passwordFile.empty()) {
        const mqtt::BrokerPassword read = mqtt::ReadPasswordFile(given.passwordFile);
        if (!read.error.empty()) {
            Tell("cannot read the MQTT password file " + read.error);
            return std::nullopt;
        }
        return read.password;
    }
    const char* password = std::getenv(kPasswordVariable);
    return password ? password : "";
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
            .add_option("--mqtt", options.url,
                        "Also publish every reading to an MQTT broker, URL = "
                        "mqtt://[USER@]HOST[:PORT]/PREFIX (port 1883) or mqtts://... (TLS, port "
                        "8883): PREFIX/ID/channel/0 to 8 with QoS 1, PREFIX/ID/status "
                        "(online/offline) and PREFIX/ID/info retained. A broker away never stops "
                        "the readings; one that refuses the login ends the run with status 3. A "
                        "wrong URL ends it with status 2 and an unreadable password or CA file "
                        "with status 4, before anything is sent")
            ->check([](const std::string& url) { return mqtt::ParseBrokerUrl(url).error; })
            ->type_name("URL");
    command
        .add_option("--mqtt-password-file", options.passwordFile,
                    "The broker's password: the first line of FILE (else the environment "
                    "variable VXXX_MQTT_PASSWORD; never on the command line)")
        ->type_name("FILE")
        ->needs(mqtt);
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
}

ExitCode CheckMqttOptions(const MqttOptions& given, mqtt::PublisherOptions& checked) {
    const std::optional<std::string> password = Password(given);
    if (!password || (!given.caFile.empty() && !CaFileReadable(given.caFile))) {
        return ExitCode::FileError;
    }
    checked.broker = mqtt::ParseBrokerUrl(given.url).url; // checked with the command line
    checked.password = *password;
    checked.caFile = given.caFile;
    checked.queueReadings = given.queueReadings;
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
    return std::string(model) + "-" + std::filesystem::path(port).filename().string();
}
