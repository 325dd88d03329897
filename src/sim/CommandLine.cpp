#include "sim/CommandLine.h"

#include "sim/FieldText.h"

#include <cctype>
#include <functional>
#include <map>
#include <optional>

namespace sim {

namespace {

using Setter = std::function<bool(ServerOptions&, const std::string&)>;

bool IsFirmware(const std::string& text) {
    return text.size() == 3 && std::isdigit(static_cast<unsigned char>(text[0])) &&
           text[1] == '.' && std::isdigit(static_cast<unsigned char>(text[2]));
}

Setter Rate(FaultRate FaultOptions::*field) {
    return [field](ServerOptions& options, const std::string& text) {
        const auto rate = ParseFaultRate(text);
        if (rate) {
            options.faults.*field = *rate;
        }
        return rate.has_value();
    };
}

// A whole number from `low` to `high` stored by `store`.
Setter Bounded(std::int64_t low, std::int64_t high,
               std::function<void(ServerOptions&, std::int64_t)> store) {
    return [low, high, store](ServerOptions& options, const std::string& text) {
        const auto number = ParseDecimal(text);
        if (!number || *number < low || *number > high || text.front() == ' ') {
            return false;
        }
        store(options, *number);
        return true;
    };
}

Setter Milliseconds(std::uint32_t FaultOptions::*field, std::int64_t high) {
    return Bounded(0, high, [field](ServerOptions& options, std::int64_t milliseconds) {
        options.faults.*field = static_cast<std::uint32_t>(milliseconds);
    });
}

Setter Seconds(std::optional<double> ServerOptions::*field) {
    return [field](ServerOptions& options, const std::string& text) {
        const auto seconds = ParseNumber(text);
        if (!seconds || *seconds < 0) {
            return false;
        }
        options.*field = *seconds;
        return true;
    };
}

const std::map<std::string, Setter>& ValueOptions() {
    static const std::map<std::string, Setter> table = {
        {"--model",
         [](ServerOptions& o, const std::string& v) {
             o.instrument.model = v;
             return v == "V420" || v == "V630";
         }},
        {"--inputs",
         [](ServerOptions& o, const std::string& v) {
             o.instrument.inputs =
                 v == "pt100" ? InputFamily::Resistance : InputFamily::Thermocouple;
             return v == "tc" || v == "pt100";
         }},
        {"--unit",
         [](ServerOptions& o, const std::string& v) {
             o.instrument.fahrenheit = v == "F";
             return v == "C" || v == "F";
         }},
        {"--firmware",
         [](ServerOptions& o, const std::string& v) {
             o.instrument.firmware = v;
             return IsFirmware(v);
         }},
        {"--records",
         Bounded(0, 0xFFFF, [](ServerOptions& o, std::int64_t n) { o.instrument.records = n; })},
        {"--seed", Bounded(0, 0xFFFFFFFF,
                           [](ServerOptions& o, std::int64_t n) {
                               o.instrument.seed = static_cast<std::uint32_t>(n);
                               o.faults.seed = static_cast<std::uint32_t>(n);
                           })},
        {"--step",
         [](ServerOptions& o, const std::string& v) {
             const auto step = ParseInputStep(v);
             if (step) {
                 o.instrument.steps.push_back(*step);
             }
             return step.has_value();
         }},
        {"--control",
         [](ServerOptions& o, const std::string& v) {
             o.control_path = v;
             return !v.empty();
         }},
        {"--link",
         [](ServerOptions& o, const std::string& v) {
             o.link_path = v;
             return !v.empty();
         }},
        {"--drop", Rate(&FaultOptions::drop)},
        {"--corrupt-bcc", Rate(&FaultOptions::corrupt_bcc)},
        {"--split", Rate(&FaultOptions::split)},
        {"--join", Rate(&FaultOptions::join)},
        {"--garbage", Rate(&FaultOptions::garbage)},
        {"--burst", Rate(&FaultOptions::burst)},
        {"--silent", Rate(&FaultOptions::silent)},
        {"--late", Rate(&FaultOptions::late)},
        {"--latency", Bounded(0, 600000,
                              [](ServerOptions& o, std::int64_t ms) {
                                  o.latency_ms = static_cast<std::uint32_t>(ms);
                              })},
        {"--delay", Milliseconds(&FaultOptions::delay_ms, 600000)},
        {"--split-gap", Milliseconds(&FaultOptions::split_gap_ms, 600000)},
        {"--silent-for", Milliseconds(&FaultOptions::silent_ms, 3600000)},
        {"--burst-size", Bounded(1, 65536,
                                 [](ServerOptions& o, std::int64_t n) {
                                     o.faults.burst_size = static_cast<std::size_t>(n);
                                 })},
        {"--hangup-after", Seconds(&ServerOptions::hangup_after_seconds)},
        {"--return-after", Seconds(&ServerOptions::return_after_seconds)},
    };
    return table;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--help" || argument == "-h") {
            result.help = true;
            continue;
        }
        if (argument == "--version") {
            result.version = true;
            continue;
        }
        if (argument == "--trace") {
            result.options.trace = true;
            continue;
        }
        const auto option = ValueOptions().find(argument);
        if (option == ValueOptions().end()) {
            result.error = "unknown option " + argument;
            return result;
        }
        if (index + 1 == arguments.size()) {
            result.error = argument + " needs a value";
            return result;
        }
        const std::string& value = arguments[++index];
        if (!option->second(result.options, value)) {
            result.error = "bad value for " + argument + ": " + value;
            return result;
        }
    }
    if (result.options.return_after_seconds && !result.options.hangup_after_seconds) {
        result.error = "--return-after needs --hangup-after";
    }
    return result;
}

std::string Usage() {
    return R"(Usage: vxxx-sim [options]
Simulates a V420/V630 instrument on a pseudo-terminal. Prints the path of the terminal to
open (and each new one after --return-after), then serves until SIGINT or SIGTERM.

Instrument:
  --model V420|V630       model (default V630)
  --inputs tc|pt100       thermocouple or PT100 inputs (default tc)
  --unit C|F              temperature unit at start (default C)
  --firmware X.Y          firmware version (default 2.1)
  --records N             logged records in memory at start (default 0)
  --seed N                seed of the bench noise and of fault chances (default 1)
  --step CH=VALUE[@S]     move channel CH (0-8) to VALUE degrees, VALUEmV or VALUER (raw
                          signal), or "free"; @S: S seconds after the start (repeatable)
  --control PATH          file of CH=VALUE lines, applied whenever it changes
  --latency MS            think MS before each answer (default 0)
Line (replies go out at the speed the panel set, ten bits to the byte):
  --link PATH             symbolic link to the pseudo-terminal, removed at the end
  --trace                 every frame in and out, hex and text, time-stamped, on stderr
Faults (RATE: "25%" or "0.25" a chance per reply, "N" the first N replies, "N@K" N replies
from the K-th on):
  --drop RATE             send no reply
  --corrupt-bcc RATE      send the reply with a wrong BCC
  --split RATE            send the reply in two parts --split-gap MS apart (default 600)
  --join RATE             hold the reply back and send it with the next one
  --garbage RATE          send stray bytes before the reply
  --burst RATE            pad the reply to --burst-size N bytes (default 300)
  --silent RATE           stop answering for --silent-for MS (default 5000)
  --delay MS              answer MS late (every reply, or those chosen by --late RATE)
  --hangup-after S        close the pseudo-terminal S seconds after the start
  --return-after S        S seconds after hanging up, serve on a new pseudo-terminal and
                          move the --link there
Other:
  --help                  show this text
  --version               show the program's version
)";
}

} // namespace sim
