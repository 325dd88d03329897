#include "BuiltInSimulator.h"
#include "sim/SimulatedSerialDevice.h"

#include <utility>

namespace {

// The simulated instrument as the port's own device, on the same line timing as on a
// pseudo-terminal; the port's name is only what the run shows.
class InProcessSimulator final : public BuiltInSimulator {
public:
    explicit InProcessSimulator(const std::string& model) {
        sim::ServerOptions options;
        options.instrument.model = model;
        device_ = sim::MakeSimulatedSerialDevice(std::move(options));
    }
    std::string Port() const override { return "simulator"; }
    std::unique_ptr<SerialDevice> TakeDevice() override { return std::move(device_); }

private:
    std::unique_ptr<SerialDevice> device_;
};

} // namespace

std::unique_ptr<BuiltInSimulator> AttachBuiltInSimulator(const std::string& model) {
    return std::make_unique<InProcessSimulator>(model);
}
