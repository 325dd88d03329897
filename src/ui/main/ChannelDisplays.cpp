#include "ChannelDisplays.h"

#include "instrument/NumberText.h"
#include "ui/panel/Windows1252.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>

namespace {

QFont DisplayFont(int pointSize, bool bold) {
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* label = new QLabel(ChannelDisplays::kNoValue, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(DisplayFont(8, false));
    return label;
}

QLabel* MakeLed(QWidget* parent, const QString& resource) {
    auto* led = new QLabel(parent);
    led->setObjectName(QStringLiteral("i") + resource.mid(2) + parent->objectName().right(1));
    led->setGeometry(42, 0, 12, 12);
    led->setPixmap(QPixmap(resource));
    led->hide();
    return led;
}

QLabel* MakeReading(QGroupBox* group, int channel, QObject* readingEvents) {
    auto* reading = MakeLabel(group, QStringLiteral("lDispx%1").arg(channel), {0, 16, 68, 33});
    reading->setFont(DisplayFont(10, true));
    reading->setAutoFillBackground(true);
    QPalette palette = reading->palette();
    // Lime on the dark desktop colour: the look of the instrument's own display.
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    reading->setPalette(palette);
    reading->setToolTip(QStringLiteral("Double click to configure channel"));
    reading->installEventFilter(readingEvents);
    return reading;
}

bool IsNoValue(const QLabel* label) {
    return label->text() == ChannelDisplays::kNoValue;
}

double ValueOf(const QLabel* label) {
    return TextToFloat(ToWindows1252(label->text()));
}

} // namespace

void ChannelDisplays::Create(QWidget* window, QObject* readingEvents) {
    for (int channel = 0; channel < kChannels; ++channel) {
        ChannelDisplay& display = displays_[channel];
        display.group = new QGroupBox(window);
        display.group->setObjectName(QStringLiteral("gbChannel%1").arg(channel));
        if (channel == 0) {
            display.group->setTitle(QStringLiteral("Ch0  CJC"));
            display.group->setGeometry(300, 162, 70, 50);
            display.group->hide();
        } else {
            display.group->setTitle(QStringLiteral("Ch%1").arg(channel));
            display.group->setGeometry(32 + 76 * (channel - 1), 40, 70, 97);
        }
        display.reading = MakeReading(display.group, channel, readingEvents);
        if (channel == 0) {
            continue;
        }
        display.minimum =
            MakeLabel(display.group, QStringLiteral("lMinx%1").arg(channel), {8, 60, 54, 14});
        display.minimum->setAutoFillBackground(true);
        QPalette palette = display.minimum->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Button));
        palette.setColor(QPalette::WindowText, Qt::black);
        display.minimum->setPalette(palette);
        display.maximum =
            MakeLabel(display.group, QStringLiteral("lMaxx%1").arg(channel), {8, 76, 54, 14});
        display.ledActive = MakeLed(display.group, QStringLiteral(":/LedRed"));
        display.ledInactive = MakeLed(display.group, QStringLiteral(":/LedGray"));
    }
}

int ChannelDisplays::ChannelOfReading(const QObject* object) const {
    for (int channel = 0; channel < kChannels; ++channel) {
        if (displays_[channel].reading->objectName() == object->objectName()) {
            return channel;
        }
    }
    return -1;
}

void ChannelDisplays::ShowReading(int channel, const QString& text) {
    displays_[channel].reading->setText(text);
}

QString ChannelDisplays::ReadingText(int channel) const {
    return displays_[channel].reading->text();
}

QStringList ChannelDisplays::ReadingTexts() const {
    QStringList texts;
    for (const ChannelDisplay& display : displays_) {
        texts.append(display.reading->text());
    }
    return texts;
}

void ChannelDisplays::UpdateMinMax() {
    for (int channel = 1; channel < kChannels; ++channel) {
        const ChannelDisplay& display = displays_[channel];
        const double reading = ValueOf(display.reading);
        if (IsNoValue(display.minimum) || ValueOf(display.minimum) > reading) {
            display.minimum->setText(display.reading->text());
        }
        if (IsNoValue(display.maximum) || ValueOf(display.maximum) < reading) {
            display.maximum->setText(display.reading->text());
        }
    }
}

void ChannelDisplays::ResetMinMax() {
    for (int channel = 1; channel < kChannels; ++channel) {
        const ChannelDisplay& display = displays_[channel];
        display.minimum->setText(display.reading->text());
        display.maximum->setText(display.reading->text());
    }
}

void ChannelDisplays::ShowBothLeds(bool shown) {
    for (int channel = 1; channel < kChannels; ++channel) {
        displays_[channel].ledActive->setVisible(shown);
        displays_[channel].ledInactive->setVisible(shown);
    }
}

void ChannelDisplays::ShowOutputStates(unsigned states) {
    for (int channel = 1; channel < kChannels; ++channel) {
        const bool active = (states >> (channel - 1)) & 1U;
        displays_[channel].ledActive->setVisible(active);
        displays_[channel].ledInactive->setVisible(!active);
    }
}
