#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QString>
#include <memory>

class MetafilePaintEngine;

// A picture file that a QPainter draws on: lines, shapes and text become the records of an
// enhanced metafile, so what is painted on the screen can be painted into the file the same way.
// Bitmaps are left out. Used on the user-interface thread only.
class MetafilePaintDevice final : public QPaintDevice {
public:
    // A picture of size pixels at 96 dots per inch, written to path when painting ends.
    MetafilePaintDevice(QString path, QSize size);
    ~MetafilePaintDevice() override;

    QPaintEngine* paintEngine() const override;

    // Empty once the picture has been written in full; otherwise why it was not.
    QString Error() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    std::unique_ptr<MetafilePaintEngine> engine_;
};
