#pragma once

// How a run of vxxx ended, as its exit status.
enum class ExitCode {
    Done = 0,
    NotDone = 1,         // the instrument did not answer or refused; records or outputs missing
    Usage = 2,           // a wrong command line, or a value refused before anything was sent
    PortUnavailable = 3, // the port cannot be opened
    FileError = 4,       // a file cannot be read or written
    // The MQTT broker refused the login or its certificate failed verification: trying again
    // would not help (and could lock the account).
    BrokerRefused = 5,
};

// The exit statuses as the help text lists them.
inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 done; 1 the instrument did not answer or refused, or records or outputs are "
    "missing; 2 usage error or a value refused before sending; 3 the port cannot be opened; 4 a "
    "file "
    "cannot be read or written; 5 the MQTT broker refused the login or its certificate.";
