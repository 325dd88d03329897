#include "MetafilePaintDevice.h"

#include "MetafilePaintEngine.h"

MetafilePaintDevice::MetafilePaintDevice(QString path, QSize size)
    : size_(size), engine_(std::make_unique<MetafilePaintEngine>(std::move(path), size)) {}

MetafilePaintDevice::~MetafilePaintDevice() = default;

QPaintEngine* MetafilePaintDevice::paintEngine() const {
    return engine_.get();
}

QString MetafilePaintDevice::Error() const {
    return engine_->Error();
}

int MetafilePaintDevice::metric(PaintDeviceMetric metric) const {
    constexpr int dpi = MetafilePaintEngine::kDotsPerInch;
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return size_.width() * 254 / (dpi * 10);
    case PdmHeightMM:
        return size_.height() * 254 / (dpi * 10);
    case PdmNumColors:
        return 1 << 24;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
