#include "ChannelColumn.h"

#include "CalibrationMemory.h"
#include "instrument/NumberText.h"
#include "ui/panel/Windows1252.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace {

constexpr int kLeft = 64;
constexpr int kPitch = 72;
constexpr int kTop = 8;
constexpr int kWidth = 65;
constexpr int kHeight = 185;
constexpr int kInnerWidth = kWidth - 8;

QFont LabelFont(int pointSize, bool bold) {
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QGroupBox* group, const QString& stem, int channel, int top) {
    auto* label = new QLabel(CalibrationMemory::kNotSet, group);
    label->setObjectName(stem + QString::number(channel));
    label->setGeometry(4, top, kInnerWidth, 16);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFont(LabelFont(8, false));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

ChannelColumn ChannelColumn::Create(QWidget* window, int channel) {
    ChannelColumn column;
    column.group = new QGroupBox(QStringLiteral("Ch%1").arg(channel), window);
    column.group->setObjectName(QStringLiteral("gbCh%1").arg(channel));
    column.group->setGeometry(kLeft + kPitch * channel, kTop, kWidth, kHeight);

    column.live = new QLabel(CalibrationMemory::kNotSet, column.group);
    column.live->setObjectName(QStringLiteral("lDispx%1").arg(channel));
    column.live->setGeometry(4, 18, kInnerWidth, 22);
    column.live->setAlignment(Qt::AlignCenter);
    column.live->setFont(LabelFont(10, true));
    column.live->setAutoFillBackground(true);
    QPalette palette = column.live->palette();
    // Lime on the dark desktop colour, as the main window shows its readings.
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    column.live->setPalette(palette);

    column.select = new QCheckBox(QStringLiteral("Cal"), column.group);
    column.select->setObjectName(QStringLiteral("cbCalx%1").arg(channel));
    column.select->setGeometry(12, 46, 48, 18);
    column.select->setToolTip(QStringLiteral("Select/clear channel for calibration"));
    column.select->setAccessibleName(QStringLiteral("Calibrate channel %1").arg(channel));

    column.zero = MakeLabel(column.group, QStringLiteral("l0mVx"), channel, 72);
    column.span = MakeLabel(column.group, QStringLiteral("l50mVx"), channel, 92);
    column.m = MakeLabel(column.group, QStringLiteral("lmx"), channel, 120);
    column.c = MakeLabel(column.group, QStringLiteral("lcx"), channel, 140);
    column.type = MakeLabel(column.group, QStringLiteral("lTypex"), channel, 160);
    column.type->setText(channel == 0 ? QStringLiteral("PT100") : QStringLiteral("-"));
    if (channel == 0) {
        column.typeCode = 0;
    }
    return column;
}

QString ChannelNames(const std::vector<int>& channels) {
    QStringList names;
    for (const int channel : channels) {
        names.append(QStringLiteral("Ch%1").arg(channel));
    }
    return names.join(QStringLiteral(", "));
}

bool IsReading(const QString& text) {
    return ParseFloat(ToWindows1252(text)).has_value();
}

float ShownNumber(const QString& text) {
    return static_cast<float>(TextToFloat(ToWindows1252(text)));
}

void SetBackground(QLabel* label, std::optional<QColor> colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window,
                     colour.value_or(label->window()->palette().color(QPalette::Window)));
    label->setPalette(palette);
}
