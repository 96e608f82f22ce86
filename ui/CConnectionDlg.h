#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialog.h"
#include "templates/ConnectionTemplate.h"
#include "platform/Profile.h"

// Asks how to reach the unit: over TCP/IP, over a serial port or off line, with the
// address of each. Every choice is written to the settings profile the moment it is
// made, so it survives Cancel.
class CConnectionDlg : public Dialog {
public:
    static constexpr int templateId = ConnectionTemplate::templateId;
    static constexpr int addressCaptionId = ConnectionTemplate::addressCaption;
    static constexpr int connectionTypeId = ConnectionTemplate::connectionType;
    static constexpr int addressId = ConnectionTemplate::address;
    static constexpr int serialPortId = ConnectionTemplate::serialPort;

    static constexpr int ethernet = 0;
    static constexpr int serial = 1;
    static constexpr int offLine = 2;

    // The settings profile of the application.
    static Profile profile();
    // At most four hexadecimal digits; the empty text is valid.
    static bool isValidSmpteAddress(const std::string& text);

    CConnectionDlg();

    int getConnectionType() const { return connectionType_; }
    // The TCP address for Ethernet, otherwise the SMPTE address.
    std::string getAddress() const;
    // The number of the COM port, 1 to 4.
    int getComPort() const { return serialPort_ + 1; }

protected:
    bool onInitDialog() override;

    void OnSelchangeConnectionType();
    void OnSelchangeSerialPort();
    void OnChangeAddress();
    void updateControls();

private:
    std::string section_;
    Static addressCaption_;
    int32_t connectionType_ = offLine;
    int16_t serialPort_ = 0;
    std::string tcpAddress_;
    std::string smpteAddress_;
    // The stored address when it was not valid (never empty then, as the empty one is).
    std::string invalidStoredSmpteAddress_;
    Edit address_;
    ComboBox connectionTypeList_;
    ComboBox serialPortList_;
    Profile profile_;
};
