#include "QtHandOver.h"

QtHandOver::QtHandOver(QObject* parent)
    : QObject(parent), queue_([this] {
          QMetaObject::invokeMethod(
              this, [this] { queue_.ProcessPending(); }, Qt::QueuedConnection);
      }) {}
