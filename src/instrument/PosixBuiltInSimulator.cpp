#include "BuiltInSimulator.h"
#include "sim/InstrumentServer.h"

namespace {

class PseudoTerminalSimulator final : public BuiltInSimulator {
public:
    explicit PseudoTerminalSimulator(const std::string& model) : server_(Options(model)) {
        server_.Start();
    }
    std::string Port() const override { return server_.Path(); }
    std::unique_ptr<SerialDevice> TakeDevice() override { return MakeSystemSerialDevice(); }

private:
    static sim::ServerOptions Options(const std::string& model) {
        sim::ServerOptions options;
        options.instrument.model = model;
        return options;
    }

    sim::InstrumentServer server_;
};

} // namespace

std::unique_ptr<BuiltInSimulator> AttachBuiltInSimulator(const std::string& model) {
    return std::make_unique<PseudoTerminalSimulator>(model);
}
