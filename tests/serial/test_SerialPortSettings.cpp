// The port's properties, setter rules, messages and settings, on a port that is not open.

#include "PortMessages.h"
#include "serial/HandOverQueue.h"
#include "serial/SerialPort.h"
#include "support/MemorySettingsStore.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const std::string kSection = "Comms";

// A store that keeps the order of writes and can fail a read of one name.
class RecordingStore final : public SettingsStore {
public:
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        if (name == failingRead) {
            throw SettingsStoreError("cannot read " + name);
        }
        const auto found = values.find(key + "\\" + section + "\\" + name);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void WriteValue(const std::string& key, const std::string& section, const std::string& name,
                    const std::string& value) override {
        if (name == failingWrite) {
            throw SettingsStoreError("cannot write " + name);
        }
        order.push_back(name);
        values[key + "\\" + section + "\\" + name] = value;
    }
    void Set(const std::string& name, const std::string& value) {
        values[kSettingsKey + "\\" + kSection + "\\" + name] = value;
    }
    std::optional<std::string> Get(const std::string& name) {
        return ReadValue(kSettingsKey, kSection, name);
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> order;
    std::string failingRead;
    std::string failingWrite;
};

class ClosedPort : public ::testing::Test {
protected:
    HandOverQueue handOver;
    TSerialPort port{handOver};
    PortMessages messages{port};
};

} // namespace

TEST_F(ClosedPort, StartsWithTheDefaults) {
    EXPECT_FALSE(port.Active());
    EXPECT_EQ(port.CommPort(), "COM2");
    EXPECT_EQ(port.BaudRate(), 9600u);
    EXPECT_EQ(port.ParityType(), 0);
    EXPECT_EQ(port.ParityErrorChar(), '\0');
    EXPECT_FALSE(port.ParityErrorReplacement());
    EXPECT_EQ(port.StopBits(), 0);
    EXPECT_EQ(port.DataBits(), 8);
    EXPECT_EQ(port.XONChar(), 17);
    EXPECT_EQ(port.XOFFChar(), 19);
    EXPECT_EQ(port.XONLimDiv(), 33);
    EXPECT_EQ(port.XOFFLimDiv(), 33);
    EXPECT_EQ(port.FlowControl(), 0);
    EXPECT_FALSE(port.StripNullChars());
    EXPECT_EQ(port.EventChar(), '\0');
    EXPECT_EQ(port.RTOCharDelayTime(), 1100u);
    EXPECT_EQ(port.RTOExtraDelayTime(), 250);
    EXPECT_EQ(port.ClusterSize(), 3072);
    EXPECT_EQ(port.RxQueueSize(), 4096);
    EXPECT_EQ(port.TxQueueSize(), 4096);
    EXPECT_EQ(port.WTOCharDelayTime(), 1100u);
    EXPECT_EQ(port.WTOExtraDelayTime(), 250);
    EXPECT_TRUE(port.XTOAuto());
    EXPECT_TRUE(port.RTSState());
    EXPECT_TRUE(port.DTRState());
    EXPECT_FALSE(port.BREAKState());
    EXPECT_EQ(port.ErrorNoise(), 255);
    EXPECT_FALSE(port.ReadRequest());
    EXPECT_FALSE(port.ThreadQuietMode());
    EXPECT_FALSE(port.AutoReadRequest());
    EXPECT_EQ(port.ComHandle(), 0xFFFFFFFFu);
    EXPECT_FALSE(port.SendInProgress());
}

TEST_F(ClosedPort, AutomaticAllowancesFollowTheBaudRateWhileOn) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {38400, 290}, {50, 1100}, {300000, 43}};
    for (const auto& [baud, delay] : cases) {
        port.SetBaudRate(baud);
        EXPECT_EQ(port.RTOCharDelayTime(), delay) << baud;
        EXPECT_EQ(port.WTOCharDelayTime(), delay) << baud;
    }
    port.SetXTOAuto(false);
    port.SetBaudRate(38400);
    EXPECT_EQ(port.RTOCharDelayTime(), 43u);
    // Turning it on applies the allowances of the current speed at once.
    port.SetXTOAuto(true);
    EXPECT_EQ(port.RTOCharDelayTime(), 290u);
    EXPECT_EQ(port.WTOCharDelayTime(), 290u);
}

TEST_F(ClosedPort, FlowLimitsAboveAHundredPercentAreWarnedAndCut) {
    port.SetXONLimDiv(150);
    port.SetXOFFLimDiv(101);
    port.SetXOFFLimDiv(100); // now equal: nothing
    EXPECT_EQ(port.XONLimDiv(), 100);
    EXPECT_EQ(port.XOFFLimDiv(), 100);
    EXPECT_EQ(messages.all,
              (std::vector<PortMessage>{{100, 150, "Warning XOnLimDef set to 100", 1},
                                        {100, 101, "Warning XOffLimDef set to 100", 1}}));
}

TEST_F(ClosedPort, QueueSizesAndOutputsNeedAnOpenDevice) {
    port.SetRxQueueSize(2048);
    port.SetTxQueueSize(1024);
    port.SetTxQueueSize(1024);
    EXPECT_EQ(port.RxQueueSize(), 2048);
    EXPECT_EQ(port.TxQueueSize(), 1024);
    EXPECT_EQ(messages.all,
              (std::vector<PortMessage>{{101, EBADF, "Error can not set Quesize", 0},
                                        {102, EBADF, "Error can not set Quesize", 0}}));

    // The outputs keep their values while closed.
    port.SetRTSState(false);
    port.SetDTRState(false);
    port.SetBREAKState(true);
    EXPECT_TRUE(port.RTSState());
    EXPECT_TRUE(port.DTRState());
    EXPECT_FALSE(port.BREAKState());
}

TEST_F(ClosedPort, SendsOnAClosedDeviceFailAndEmptyTextsSendNothing) {
    int writesDone = 0;
    port.OnWriteDone = [&](TSerialPort&) { ++writesDone; };
    port.SendText("");
    EXPECT_TRUE(messages.all.empty());
    port.SendText("abc");
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{903, EBADF, "Error writing Data", 0}}));
    EXPECT_FALSE(port.SendInProgress());
    EXPECT_EQ(writesDone, 0);
}

TEST_F(ClosedPort, AnEmptyQueueHasNoClusters) {
    EXPECT_EQ(port.PeekClusterSize(), -1);
    EXPECT_EQ(port.PeekClusterError(), -1);
    EXPECT_EQ(port.TakeClusterText(), "");
    EXPECT_EQ(port.PeekClusterSize(), -1);
}

TEST_F(ClosedPort, ErrorNoiseChoosesWhatIsReported) {
    // Opening a device that does not exist gives a message (110) and an error (112); a flow
    // limit above 100 gives a warning.
    struct Case {
        std::uint8_t noise;
        std::vector<std::uint32_t> places;
    };
    const Case cases[] = {
        {0, {112}}, {1, {100, 112}}, {2, {100, 110, 112}}, {255, {100, 110, 112}}};
    for (const auto& c : cases) {
        HandOverQueue queue;
        TSerialPort fresh(queue);
        PortMessages seen(fresh);
        fresh.SetCommPort("no-such-port-here");
        fresh.SetErrorNoise(c.noise);
        fresh.SetXONLimDiv(200);
        fresh.SetActive(true);
        EXPECT_EQ(seen.Places(), c.places) << "ErrorNoise " << int(c.noise);
    }
}

TEST_F(ClosedPort, StoresEveryValueInOrderAsText) {
    RecordingStore store;
    port.SetCommPort("ttyUSB3");
    port.SetXONChar('Q');
    port.SetFlowControl(-2);
    port.SetErrorNoise(2);
    messages.all.clear();
    port.StoreSettings(store, kSettingsKey, kSection);

    // clang-format off
    EXPECT_EQ(store.order,
              (std::vector<std::string>{"CommPort", "BaudRate", "ParityType", "ParityErrorChar",
                                        "ParityErrorReplacement", "StopBits", "DataBits", "XONChar",
                                        "XOFFChar", "XONLimDiv", "XOFFLimDiv", "FlowControl",
                                        "StripNullChars", "EventChar", "RTOCharDelayTime",
                                        "RTOExtraDelayTime", "ClusterSize", "ClusterOnFrame",
                                        "RxQueueSize", "TxQueueSize", "WTOCharDelayTime", "WTOExtraDelayTime",
                                        "XTOAuto", "RTSState", "DTRState", "BREAKState",
                                        "ErrorNoise", "Active"}));
    // clang-format on
    EXPECT_EQ(store.Get("CommPort"), "ttyUSB3");
    EXPECT_EQ(store.Get("BaudRate"), "9600");
    EXPECT_EQ(store.Get("XONChar"), "Q");
    EXPECT_EQ(store.Get("ParityErrorChar"), std::string(1, '\0'));
    EXPECT_EQ(store.Get("FlowControl"), "-2");
    EXPECT_EQ(store.Get("XTOAuto"), "1");
    EXPECT_EQ(store.Get("BREAKState"), "0");
    EXPECT_EQ(store.Get("ErrorNoise"), "2");
    EXPECT_EQ(store.Get("Active"), "0");
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{501, 0, "Settings saved", 2}}));
}

TEST_F(ClosedPort, AFailingWriteStopsStoring) {
    RecordingStore store;
    store.failingWrite = "DataBits";
    port.StoreSettings(store, kSettingsKey, kSection);
    EXPECT_TRUE(store.Get("StopBits"));
    EXPECT_FALSE(store.Get("XONChar"));
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{502, 0, "Error saving Settings", 0}}));
}

TEST_F(ClosedPort, RestoringAnEmptyStoreGivesTheDefaults) {
    RecordingStore store;
    port.SetBaudRate(19200);
    port.SetClusterSize(10);
    port.SetClusterOnFrame(false);
    port.RestoreSettings(store, kSettingsKey, kSection);
    EXPECT_TRUE(port.ClusterOnFrame());
    EXPECT_FALSE(port.Active());
    EXPECT_EQ(port.CommPort(), "COM2");
    EXPECT_EQ(port.BaudRate(), 9600u);
    EXPECT_EQ(port.ClusterSize(), 3072);
    EXPECT_EQ(port.RTOCharDelayTime(), 1100u);
    EXPECT_TRUE(port.XTOAuto());
    EXPECT_EQ(port.ErrorNoise(), 2);
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{401, 0, "Settings readed", 2}}));
}

// A value the property cannot hold is never cut to its width: ClusterSize=65536 would become 0,
// a cluster for every byte.
TEST_F(ClosedPort, RestoringValuesOutOfRangeGivesTheirDefaultsWithOneNotice) {
    RecordingStore store;
    const std::string longName(300, 'x');
    store.Set("CommPort", longName);
    store.Set("BaudRate", "fast");
    store.Set("XTOAuto", "yes");
    store.Set("StripNullChars", "7");
    store.Set("XONLimDiv", "150");
    store.Set("XOFFLimDiv", "300");
    store.Set("ClusterSize", "65536");
    store.Set("DataBits", " 7");
    store.Set("ParityErrorChar", "");
    store.Set("XONChar", "AB");
    store.Set("FlowControl", "-1");
    store.Set("RTOCharDelayTime", "4294967295");
    store.Set("ErrorNoise", "99999999999999999999");
    port.RestoreSettings(store, kSettingsKey, kSection);

    EXPECT_EQ(port.CommPort(), longName);
    EXPECT_EQ(port.BaudRate(), 9600u);
    EXPECT_TRUE(port.XTOAuto());
    EXPECT_TRUE(port.StripNullChars());
    EXPECT_EQ(port.XONLimDiv(), 150); // stored directly: no warning, no cut to 100
    EXPECT_EQ(port.XOFFLimDiv(), 33);
    EXPECT_EQ(port.ClusterSize(), 3072);
    EXPECT_EQ(port.DataBits(), 8);
    EXPECT_EQ(port.ParityErrorChar(), '\0');
    EXPECT_EQ(port.XONChar(), 'A');
    EXPECT_EQ(port.FlowControl(), -1);
    EXPECT_EQ(port.RTOCharDelayTime(), 4294967295u);
    EXPECT_EQ(port.ErrorNoise(), 2);
    EXPECT_EQ(messages.all,
              (std::vector<PortMessage>{{403, 6,
                                         "Warning settings out of range, defaults used: "
                                         "BaudRate=fast, DataBits= 7, XOFFLimDiv=300, "
                                         "ClusterSize=65536, XTOAuto=yes, "
                                         "ErrorNoise=99999999999999999999",
                                         1},
                                        {401, 0, "Settings readed", 2}}));

    store.Set("XTOAuto", "0");
    port.RestoreSettings(store, kSettingsKey, kSection);
    EXPECT_FALSE(port.XTOAuto());
}

TEST_F(ClosedPort, AFailingReadStopsRestoringAndKeepsWhatWasRead) {
    RecordingStore store;
    store.Set("BaudRate", "1200");
    store.Set("ClusterSize", "64");
    store.failingRead = "DataBits";
    port.RestoreSettings(store, kSettingsKey, kSection);
    EXPECT_EQ(port.BaudRate(), 1200u);
    EXPECT_EQ(port.ClusterSize(), 3072);
    EXPECT_EQ(messages.all, (std::vector<PortMessage>{{402, 0, "Error reading Settings", 0}}));
}

TEST_F(ClosedPort, StoredSettingsComeBackUnchanged) {
    port.SetCommPort("ttyS1");
    port.SetXTOAuto(false);
    port.SetBaudRate(115200);
    port.SetParityType(2);
    port.SetParityErrorChar('?');
    port.SetParityErrorReplacement(true);
    port.SetStopBits(2);
    port.SetDataBits(7);
    port.SetXONChar('a');
    port.SetXOFFChar('b');
    port.SetXONLimDiv(10);
    port.SetXOFFLimDiv(90);
    port.SetFlowControl(0x0300);
    port.SetStripNullChars(true);
    port.SetEventChar('\n');
    port.SetRTOCharDelayTime(7);
    port.SetRTOExtraDelayTime(8);
    port.SetClusterSize(9);
    port.SetWTOCharDelayTime(11);
    port.SetWTOExtraDelayTime(12);
    port.SetErrorNoise(1);
    MemorySettingsStore store;
    port.StoreSettings(store, kSettingsKey, kSection);

    HandOverQueue queue;
    TSerialPort restored(queue);
    restored.RestoreSettings(store, kSettingsKey, kSection);
    EXPECT_EQ(restored.CommPort(), "ttyS1");
    EXPECT_FALSE(restored.XTOAuto());
    EXPECT_EQ(restored.BaudRate(), 115200u);
    EXPECT_EQ(restored.ParityType(), 2);
    EXPECT_EQ(restored.ParityErrorChar(), '?');
    EXPECT_TRUE(restored.ParityErrorReplacement());
    EXPECT_EQ(restored.StopBits(), 2);
    EXPECT_EQ(restored.DataBits(), 7);
    EXPECT_EQ(restored.XONChar(), 'a');
    EXPECT_EQ(restored.XOFFChar(), 'b');
    EXPECT_EQ(restored.XONLimDiv(), 10);
    EXPECT_EQ(restored.XOFFLimDiv(), 90);
    EXPECT_EQ(restored.FlowControl(), 0x0300);
    EXPECT_TRUE(restored.StripNullChars());
    EXPECT_EQ(restored.EventChar(), '\n');
    EXPECT_EQ(restored.RTOCharDelayTime(), 7u);
    EXPECT_EQ(restored.RTOExtraDelayTime(), 8);
    EXPECT_EQ(restored.ClusterSize(), 9);
    EXPECT_EQ(restored.WTOCharDelayTime(), 11u);
    EXPECT_EQ(restored.WTOExtraDelayTime(), 12);
    EXPECT_EQ(restored.ErrorNoise(), 1);
}

TEST_F(ClosedPort, RestoringAnActivePortOpensIt) {
    RecordingStore store;
    store.Set("Active", "1");
    store.Set("CommPort", "no-such-port-here");
    port.RestoreSettings(store, kSettingsKey, kSection);
    // The name goes through the setter, then Active opens it: one attempt, which fails.
    EXPECT_EQ(messages.Places(), (std::vector<std::uint32_t>{110, 112, 401}));
    EXPECT_EQ(messages.all[1].code, static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(port.Active());
}
