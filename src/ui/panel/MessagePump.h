#pragma once

// Processes the program's window messages on demand: the waits for the instrument and the
// bulk exchanges call it so that replies, timer ticks and the operator's clicks are handled
// meanwhile. Tests plug in a pump that delivers scripted replies and moves a manual clock.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Handles the messages that are pending and returns at once.
    virtual void ProcessPending() = 0;
    // Sleeps until a message arrives, at most about 100 ms, and handles what is pending; a
    // bounded wait sees its clock move even when nothing happens.
    virtual void WaitAndProcess() = 0;
};
