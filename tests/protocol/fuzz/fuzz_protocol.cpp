// Feeds arbitrary bytes to the receive side (clusters through the frame layer and the
// dispatcher, with handlers that read every field) and to every field accessor and builder,
// and traps on any broken invariant.
#include "../ProtocolFakes.h"
#include "protocol/FrameCharacters.h"
#include "protocol/FrameLayer.h"
#include "protocol/MessageCatalogue.h"
#include "protocol/PayloadNumbers.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/RequestBuilders.h"
#include "support/FuzzRequire.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace protocol;

namespace {

void RequireText(const std::string& text, std::size_t width) {
    REQUIRE(text.size() <= width);
}

// A reading of a decimal or hex number never disagrees with the number written back.
void CheckNumbers(std::string_view text) {
    if (const auto value = ParseDecimal(text)) {
        REQUIRE(ParseDecimal(std::to_string(*value)) == value);
    }
    if (const auto value = ParseHex(text)) {
        REQUIRE(*value >= 0);
    }
}

void ReadChannelConfiguration(const std::string& p) {
    if (const auto channel = ChannelConfigurationReply::Channel(p)) {
        REQUIRE(*channel >= 0 && *channel <= 9);
    }
    if (const auto type = ChannelConfigurationReply::SensorType(p)) {
        REQUIRE(*type >= -9 && *type <= 99);
    }
    RequireText(ChannelConfigurationReply::ScalingM(p), 8);
    RequireText(ChannelConfigurationReply::ScalingC(p), 8);
}

void ReadStatus(const std::string& p) {
    RequireText(StatusReply::DateText(p), 8);
    RequireText(StatusReply::TimeText(p), 8);
    RequireText(StatusReply::SystemFlagText(p), 2);
    REQUIRE(StatusReply::SystemFlags(p) >= 0 && StatusReply::SystemFlags(p) <= 0xFF);
    REQUIRE(StatusReply::AutoscanInterval(p) >= 0 && StatusReply::AutoscanInterval(p) <= 0xFF);
    REQUIRE(StatusReply::LoggedRecordCount(p) >= 0 && StatusReply::LoggedRecordCount(p) <= 0xFFFF);
    REQUIRE(StatusReply::LoggingInterval(p) >= 0 && StatusReply::LoggingInterval(p) <= 0xFFFF);
    RequireText(StatusReply::ModelName(p), 4);
    RequireText(StatusReply::FirmwareVersion(p), 3);
    RequireText(StatusReply::Caption(p), 17);
    const InstrumentStatus status = StatusReply::Decode(p);
    REQUIRE(status.flags == StatusReply::SystemFlags(p) &&
            status.caption == StatusReply::Caption(p));
}

void ReadReadings(const std::string& p) {
    for (int channel = -1; channel <= 9; ++channel) {
        RequireText(ReadingsReply::ReadingText(p, channel), 8);
        RequireText(ResistanceReply::ReadingText(p, channel), 8);
    }
    if (const auto flags = ReadingsReply::UnitFlags(p)) {
        REQUIRE(*flags >= -9 && *flags <= 99);
    }
    if (const auto readings = ReadingsReply::Decode(p)) {
        for (const std::string& text : readings->texts) {
            RequireText(text, 8);
        }
    }
}

void ReadAlarmOutput(const std::string& p) {
    const AlarmOutputSetting setting = AlarmOutputReply::Setting(p);
    // Whatever the reply held, its fields fit the request and read back the same.
    const std::string request = AlarmOutputRequest(setting);
    REQUIRE(request.size() == 30);
    REQUIRE(AlarmOutputReply::Setting(request) == setting);
}

void ReadLoggedRecord(const std::string& p) {
    RequireText(LoggedRecordReply::RecordNumberText(p), 4);
    RequireText(LoggedRecordReply::DateText(p) + LoggedRecordReply::TimeText(p), 16);
    REQUIRE(!LoggedRecordReply::Readable(p) || p.size() >= 81);
    for (int channel = 0; channel <= 9; ++channel) {
        const std::string text = LoggedRecordReply::ChannelText(p, channel);
        RequireText(text, 8);
        const double value = LoggedRecordReply::ChannelValue(p, channel);
        REQUIRE(value == value); // never NaN
        if (text.size() < 8) {
            REQUIRE(value == 0.0);
        }
    }
}

void ReadSmallReplies(const std::string& p) {
    if (const auto states = OutputStatesReply::States(p)) {
        REQUIRE(*states >= 0 && *states <= 0xFF);
    }
    for (int k = -1; k <= RegistersReply::kRegisterCount; ++k) {
        RequireText(RegistersReply::RegisterText(p, k), 2);
    }
    RequireText(FilterConstantReply::ConstantText(p), 2);
    if (const auto mains = FilterConstantReply::MainsFlag(p)) {
        REQUIRE(*mains >= -9 && *mains <= 99);
    }
    const std::string serial = SerialNumberReply::SerialNumber(p);
    REQUIRE(serial.size() + 4 <= p.size() || serial.empty());
}

// Handlers as the windows write them: read the fields, end on a strict field that is not a
// number (here: by throwing, which the frame layer must contain).
class FieldReadingHandler final : public ReplyHandler {
public:
    explicit FieldReadingHandler(bool throwOnStrictFailure) : throw_(throwOnStrictFailure) {}
    void OnReadings(const std::string& p) override {
        Handled(p, "TM");
        ReadReadings(p);
    }
    void OnResistanceReadings(const std::string& p) override {
        Handled(p, "Rr");
        ReadReadings(p);
    }
    void OnStatus(const std::string& p) override {
        Handled(p, "S");
        ReadStatus(p);
    }
    void OnOutputStates(const std::string& p) override {
        Handled(p, "O");
        if (!OutputStatesReply::States(p)) {
            Fail();
        }
    }
    void OnChannelConfiguration(const std::string& p) override {
        Handled(p, "012345678");
        ReadChannelConfiguration(p);
        if (!ChannelConfigurationReply::SensorType(p)) {
            Fail();
        }
    }
    void OnAlarmOutput(const std::string& p) override {
        Handled(p, "A");
        ReadAlarmOutput(p);
    }
    void OnRegisters(const std::string& p) override {
        Handled(p, "X");
        ReadSmallReplies(p);
    }
    void OnSerialNumber(const std::string& p) override {
        Handled(p, "Z");
        ReadSmallReplies(p);
    }
    void OnFilterConstant(const std::string& p) override {
        Handled(p, "f");
        if (!FilterConstantReply::MainsFlag(p)) {
            Fail();
        }
    }

    int handled = 0;

private:
    // The reply reached the handler of its letter, still without its STX.
    void Handled(const std::string& p, std::string_view letters) {
        REQUIRE(!p.empty() && letters.find(p.front()) != std::string_view::npos);
        REQUIRE(p.size() < FrameLayer::kMaxCluster);
        ++handled;
    }
    void Fail() {
        if (throw_) {
            throw std::invalid_argument("strict field is not a number");
        }
    }
    bool throw_;
};

// The clusters of one input: its bytes after the first, split at 0xFF; the first byte chooses
// the diagnostic echo, the comms log, throwing handlers and line errors.
void ReceiveClusters(const std::string& input) {
    const unsigned options = input.empty() ? 0u : static_cast<unsigned char>(input[0]);
    FakeLink link;
    FakeObserver observer;
    observer.logActive = (options & 0x02) != 0;
    observer.failLogWrite = (options & 0x08) != 0;
    ManualClock clock;
    FrameLayer frames(link, observer, clock);
    frames.SetDiagnosticEcho((options & 0x01) != 0);
    FieldReadingHandler handler((options & 0x04) != 0);
    ReplyDispatcher dispatcher(frames, handler);

    std::string cluster;
    int queued = 0;
    for (std::size_t i = 1; i <= input.size(); ++i) {
        if (i == input.size() || static_cast<unsigned char>(input[i]) == 0xFF) {
            link.Queue(cluster, (options & 0x10) != 0 ? queued % 3 : 0);
            cluster.clear();
            ++queued;
        } else {
            cluster += input[i];
        }
    }
    link.Queue(input); // the whole input once more, however long
    ++queued;

    // A request is answered by whatever comes: every event ends its transaction.
    const Question request = *Question::Request("F");
    for (int event = 0; event <= queued; ++event) { // one event more than clusters queued
        REQUIRE(frames.Transmit(request, 1000, false));
        const int outstanding = frames.OutstandingCount();
        const int bccErrors = frames.BccErrorCount();
        frames.SerialPort1RxClusterEvent();
        REQUIRE(!frames.CommsBusy());
        REQUIRE(frames.OutstandingCount() >= 0 && frames.OutstandingCount() <= outstanding);
        REQUIRE(frames.BccErrorCount() >= bccErrors && frames.BccErrorCount() <= bccErrors + 1);
    }
    REQUIRE(link.queue.empty());
}

// Every request framed from the input is accepted by the receiving side's check.
void FrameRequest(const std::string& payload) {
    FakeLink link;
    FakeObserver observer;
    ManualClock clock;
    FrameLayer frames(link, observer, clock);
    const std::optional<Question> request = Question::Request(payload);
    const bool sent = request && frames.Transmit(*request, 1000, false);
    REQUIRE(sent == (payload.size() <= FrameLayer::kMaxPayload));
    if (!sent) {
        REQUIRE(link.sent.empty());
        return;
    }
    REQUIRE(link.sent.size() == 1 && link.sent[0].size() == payload.size() + 4);
    if (payload.find(kEtx) == std::string::npos) {
        REQUIRE(FrameLayer::CheckBcc(link.sent[0].substr(1)));
    }
}

// Any bytes can be judged; a reply made of the input is whole exactly at its last byte.
void JudgeCompleteness(const std::string& input) {
    FrameLayer::IsCompleteReply(input);
    std::string payload = input.substr(0, FrameLayer::kMaxCluster - 3);
    std::erase(payload, kEtx);
    const std::string reply = RequestFrame(payload).substr(1);
    for (std::size_t arrived = 0; arrived <= reply.size(); ++arrived) {
        REQUIRE(FrameLayer::IsCompleteReply(reply.substr(0, arrived)) == (arrived == reply.size()));
    }
}

void BuildRequests(const std::string& input) {
    const auto part = [&](std::size_t at, std::size_t width) {
        return PayloadField::Text(input, at, width);
    };
    const std::string status =
        StatusRequest({part(1, 8), part(9, 8), part(17, 2), part(19, 4), part(23, 4)});
    REQUIRE(status.size() <= 1 + 12 + 2 + 8 + 8);
    REQUIRE(ScalingField(input).size() <= 8);
    const int number = ParseDecimal(part(1, 11)).value_or(0);
    REQUIRE(AlarmOutputPoll(number).size() == 5);
    REQUIRE(LoggedRecordPoll(number).size() == 7);
    REQUIRE(FilterConstantRequest(input, number % 2 == 0).size() == 5);
    const auto serial = SerialNumberRequest(input);
    REQUIRE(serial.has_value() == !input.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckNumbers(input);
    CheckNumbers(input.substr(0, 4));
    ReadChannelConfiguration(input);
    ReadStatus(input);
    ReadReadings(input);
    ReadAlarmOutput(input);
    ReadLoggedRecord(input);
    ReadSmallReplies(input);
    ReceiveClusters(input);
    FrameRequest(input);
    JudgeCompleteness(input);
    BuildRequests(input);
    return 0;
}
