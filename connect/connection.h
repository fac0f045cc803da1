// ClassVConnection: one connection slot of the application (serial port, socket, Bluetooth).
// The framework creates one object per configured slot, polls it once per frame (poll the
// transport, then process what arrived) and deletes it with the application.
//
// The base object has no transport: nothing ever arrives, so it never calls
// OnConnectionMessage. Transports derive from it and override Poll and Process.
#pragma once

#include <cstdint>

class ClassVConnection {
  public:
    explicit ClassVConnection(uint8_t slot) : slot_(slot) {}
    virtual ~ClassVConnection() = default;
    ClassVConnection(const ClassVConnection&) = delete;
    ClassVConnection& operator=(const ClassVConnection&) = delete;

    uint8_t Slot() const { return slot_; }
    // Reads what the transport has for this slot; returns the bytes received.
    virtual uint32_t Poll() { return 0; }
    // Hands what Poll received to its handler.
    virtual void Process() {}

  private:
    uint8_t slot_;
};
