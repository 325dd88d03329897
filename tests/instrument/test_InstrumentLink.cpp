// The link as both front ends open it, on real pseudo-terminals: why a port does not open, the
// loss of its device with why and its return, and the panel's port settings.
#include "instrument/InstrumentLink.h"
#include "serial/UiPump.h"
#include "support/MemorySettingsStore.h"
#include "support/PseudoTerminal.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

std::unique_ptr<InstrumentLink> LinkOn(UiPump& pump, const std::string& port) {
    std::string failure;
    return InstrumentLink::Make(pump.Queue(), SystemClock(), {port, {}}, failure);
}

TEST(InstrumentLink, APortThatDoesNotOpenSaysWhyByKind) {
    UiPump pump;
    MemorySettingsStore settings;
    // A device in use, or one without permission, cannot be made to refuse root.
    struct Case {
        std::string port;
        LinkProblem::Kind kind;
        std::uint32_t error;
    };
    const Case cases[] = {
        {"/nonexistent/vxxx", LinkProblem::Kind::NoSuchDevice, ENOENT},
        {"/", LinkProblem::Kind::Other, EISDIR},
    };
    for (const Case& c : cases) {
        const auto link = LinkOn(pump, c.port);
        const std::optional<LinkProblem> problem = link->Open(settings);
        ASSERT_TRUE(problem.has_value()) << c.port;
        EXPECT_EQ(problem->kind, c.kind) << c.port;
        EXPECT_EQ(problem->systemError, c.error) << c.port;
        EXPECT_EQ(problem->message, "Error reopening Port");
        EXPECT_EQ(link->Problem()->kind, c.kind);
    }
}

TEST(InstrumentLink, TheLossOfTheDeviceIsReportedWithWhyAndTheRunsPortIsNeverStored) {
    UiPump pump;
    PseudoTerminal terminal;
    MemorySettingsStore settings;
    settings.Set("Comms", "CommPort", "ttyUSB7");
    settings.Set("Comms", "Active", "1");
    const auto link = LinkOn(pump, terminal.SlavePath());
    int changes = 0;
    link->SetOnDeviceChange([&changes] { ++changes; });
    link->RestoreSettings(settings);
    EXPECT_FALSE(link->Active()); // restoring never opens
    ASSERT_EQ(link->Open(settings), std::nullopt);
    EXPECT_EQ(link->CommPort(), terminal.SlavePath());
    EXPECT_EQ(cfgetospeed(&static_cast<const termios&>(terminal.TerminalSettings())), B38400);

    terminal.CloseMaster();
    ASSERT_TRUE(pump.RunUntil([&] { return changes == 1; }, 3s));
    EXPECT_TRUE(link->DeviceLost());
    ASSERT_TRUE(link->Problem().has_value());
    EXPECT_EQ(link->Problem()->message, "Error device lost");
    EXPECT_EQ(link->Problem()->systemError, static_cast<std::uint32_t>(EIO));

    link->StoreSettings(settings);
    EXPECT_EQ(settings.Get("Comms", "CommPort"), "ttyUSB7");
    EXPECT_EQ(settings.Get("Comms", "BaudRate"), "38400");
}

} // namespace
