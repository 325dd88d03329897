// The port's settings in the per-user settings store: every value a text, numbers decimal,
// booleans "0" or "1", characters a text of that one character.

#include "SerialPort.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <type_traits>

namespace {

// Reads the values; a value that is not a number of the property's range gives the default and
// is noted, so that the port can say once which values it did not take.
class SettingsReader {
public:
    SettingsReader(SettingsStore& store, const std::string& key, const std::string& section)
        : store_(store), key_(key), section_(section) {}

    template <typename T> T Number(const std::string& name, T defaultValue) {
        const auto text = store_.ReadValue(key_, section_, name);
        if (!text) {
            return defaultValue;
        }
        const std::optional<T> value = ParseInRange<T>(*text);
        if (!value) {
            NoteUnused(name, *text);
        }
        return value.value_or(defaultValue);
    }

    bool Flag(const std::string& name, bool defaultValue) {
        return Number<long long>(name, defaultValue) != 0;
    }

    char Character(const std::string& name, char defaultValue) {
        const auto text = store_.ReadValue(key_, section_, name);
        if (!text) {
            return defaultValue;
        }
        return text->empty() ? '\0' : text->front();
    }

    std::string Text(const std::string& name, const std::string& defaultValue) {
        return store_.ReadValue(key_, section_, name).value_or(defaultValue);
    }

    // "Name=value, ..." of every value not taken; empty when all were.
    const std::string& Unused() const { return unused_; }
    std::uint32_t UnusedCount() const { return unusedCount_; }

private:
    void NoteUnused(const std::string& name, const std::string& text) {
        unused_ += (unused_.empty() ? "" : ", ") + name + "=" + text;
        ++unusedCount_;
    }

    SettingsStore& store_;
    const std::string& key_;
    const std::string& section_;
    std::string unused_;
    std::uint32_t unusedCount_ = 0;
};

class SettingsWriter {
public:
    SettingsWriter(SettingsStore& store, const std::string& key, const std::string& section)
        : store_(store), key_(key), section_(section) {}

    void Text(const std::string& name, const std::string& value) {
        store_.WriteValue(key_, section_, name, value);
    }
    template <typename T> void Number(const std::string& name, T value) {
        static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                      !std::is_same_v<T, char>);
        Text(name, std::to_string(value));
    }
    void Flag(const std::string& name, bool value) { Text(name, value ? "1" : "0"); }
    void Character(const std::string& name, char value) { Text(name, std::string(1, value)); }

private:
    SettingsStore& store_;
    const std::string& key_;
    const std::string& section_;
};

} // namespace

void TSerialPort::StoreSettings(SettingsStore& store, const std::string& key,
                                const std::string& section) {
    SettingsWriter out(store, key, section);
    try {
        out.Text("CommPort", commPort_);
        out.Number("BaudRate", line_.baudRate);
        out.Number("ParityType", line_.parityType);
        out.Character("ParityErrorChar", line_.parityErrorChar);
        out.Flag("ParityErrorReplacement", line_.parityErrorReplacement);
        out.Number("StopBits", line_.stopBits);
        out.Number("DataBits", line_.dataBits);
        out.Character("XONChar", line_.xonChar);
        out.Character("XOFFChar", line_.xoffChar);
        out.Number("XONLimDiv", line_.xonLimDiv);
        out.Number("XOFFLimDiv", line_.xoffLimDiv);
        out.Number("FlowControl", line_.flowControl);
        out.Flag("StripNullChars", line_.stripNullChars);
        out.Character("EventChar", line_.eventChar);
        out.Number("RTOCharDelayTime", RTOCharDelayTime());
        out.Number("RTOExtraDelayTime", RTOExtraDelayTime());
        out.Number("ClusterSize", ClusterSize());
        out.Flag("ClusterOnFrame", ClusterOnFrame());
        out.Number("RxQueueSize", line_.rxQueueSize);
        out.Number("TxQueueSize", txQueueSize_);
        out.Number("WTOCharDelayTime", WTOCharDelayTime());
        out.Number("WTOExtraDelayTime", WTOExtraDelayTime());
        out.Flag("XTOAuto", xtoAuto_);
        out.Flag("RTSState", rtsState_);
        out.Flag("DTRState", dtrState_);
        out.Flag("BREAKState", breakState_);
        out.Number("ErrorNoise", errorNoise_);
        out.Flag("Active", Active());
    } catch (const std::exception&) {
        Report(502, 0, "Error saving Settings", 0);
        return;
    }
    Report(501, 0, "Settings saved", 2);
}

void TSerialPort::RestoreSettings(SettingsStore& store, const std::string& key,
                                  const std::string& section) {
    SettingsReader in(store, key, section);
    try {
        const bool active = in.Flag("Active", false);
        const std::string name = in.Text("CommPort", "COM2");
        if (active) {
            SetCommPort(name);
        } else {
            SetActive(false);
            commPort_ = name;
        }
        line_.baudRate = in.Number<std::uint32_t>("BaudRate", 9600);
        line_.parityType = in.Number<std::uint8_t>("ParityType", 0);
        SetParityErrorChar(in.Character("ParityErrorChar", '\0'));
        line_.parityErrorReplacement = in.Flag("ParityErrorReplacement", false);
        line_.stopBits = in.Number<std::uint8_t>("StopBits", 0);
        line_.dataBits = in.Number<std::uint8_t>("DataBits", 8);
        line_.xonChar = in.Character("XONChar", 17);
        line_.xoffChar = in.Character("XOFFChar", 19);
        line_.xonLimDiv = in.Number<std::uint8_t>("XONLimDiv", 33);
        line_.xoffLimDiv = in.Number<std::uint8_t>("XOFFLimDiv", 33);
        line_.flowControl = in.Number<std::int32_t>("FlowControl", 0);
        line_.stripNullChars = in.Flag("StripNullChars", false);
        line_.eventChar = in.Character("EventChar", '\0');
        rtoCharDelayTime_ = in.Number<std::uint32_t>("RTOCharDelayTime", 1100);
        rtoExtraDelayTime_ = in.Number<std::uint16_t>("RTOExtraDelayTime", 250);
        clusterSize_ = in.Number<std::uint16_t>("ClusterSize", 3072);
        clusterOnFrame_ = in.Flag("ClusterOnFrame", true);
        line_.rxQueueSize = in.Number<std::uint16_t>("RxQueueSize", 4096);
        txQueueSize_ = in.Number<std::uint16_t>("TxQueueSize", 4096);
        wtoCharDelayTime_ = in.Number<std::uint32_t>("WTOCharDelayTime", 1100);
        wtoExtraDelayTime_ = in.Number<std::uint16_t>("WTOExtraDelayTime", 250);
        xtoAuto_ = in.Flag("XTOAuto", true);
        rtsState_ = in.Flag("RTSState", true);
        dtrState_ = in.Flag("DTRState", true);
        breakState_ = in.Flag("BREAKState", false);
        errorNoise_ = in.Number<std::uint8_t>("ErrorNoise", 2);
        SetActive(active);
    } catch (const std::exception&) {
        Report(402, 0, "Error reading Settings", 0);
        return;
    }
    if (in.UnusedCount() > 0) {
        Report(403, in.UnusedCount(),
               "Warning settings out of range, defaults used: " + in.Unused(), 1);
    }
    Report(401, 0, "Settings readed", 2);
}
