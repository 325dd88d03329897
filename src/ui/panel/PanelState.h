#pragma once

#include "ReadingHistory.h"
#include "protocol/MessageCatalogue.h"

#include <QString>
#include <cstdint>
#include <optional>

// The program-wide state every window may read: what the instrument reported, the service
// switches read at start, the channel the channel window configures, the countdown to the next
// reading poll and the reading history. It lives as long as the program.
struct PanelState {
    // "Vxxx" until the status reply names the model ("V420", "V630").
    QString ModelName = QStringLiteral("Vxxx");
    QString FirmwareVersion = QStringLiteral("1.0");
    // Thermocouple or resistance inputs; unset until the first status reply.
    std::optional<protocol::InputFamily> InputMode;
    // "Diagnostic Level", read once at start (DiagnosticLevel.h names its bits).
    int DiagnosticLevel = 0;
    // 0 to 8: the channel the channel window shows.
    int SelectedChannel = 1;
    // Ticks of the polling timer left until the next reading poll; another window may set it to
    // postpone that poll.
    int PollCountdown = 2;
    ReadingHistory History;
    // Reading replies handled since the start: a new count tells a reading that has just come
    // from a display text left standing by a silent link.
    std::uint64_t ReadingsReceived = 0;
    // Set once the program has begun to close: every wait for the instrument and every bulk
    // exchange ends at its next step, so the process can exit.
    bool Closing = false;

    bool HasDiagnosticBit(int bit) const { return (DiagnosticLevel & bit) != 0; }
    protocol::Model InstrumentModel() const {
        return protocol::ModelNamed(ModelName.toStdString());
    }
    bool ResistanceInputs() const { return InputMode == protocol::InputFamily::Resistance; }
};
