#pragma once

#include "protocol/MessageCatalogue.h"

// Told of the instrument's status and readings as the replies bring them, after the windows
// have shown them: what the panel passes on beyond its windows.
class ReplyObserver {
public:
    virtual ~ReplyObserver() = default;
    virtual void StatusReceived(const protocol::InstrumentStatus& status) = 0;
    virtual void ReadingsReceived(const protocol::Readings& readings) = 0;
};
