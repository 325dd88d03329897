#include "uChannel.h"

TfChannel::TfChannel(const PanelContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("fChannel"));
    setWindowTitle(QStringLiteral("Channel configuration"));
}

void TfChannel::ShowChannelCaption(int channel) {
    setWindowTitle(QStringLiteral("Channel %1 configuration").arg(channel));
}
