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

    int getConnectionType() const { return m_connectionType; }
    // The TCP address for Ethernet, otherwise the SMPTE address.
    std::string getAddress() const;
    // The number of the COM port, 1 to 4.
    int getComPort() const { return m_serialPort + 1; }

protected:
    bool onInitDialog() override;

    void OnSelchangeConnectionType();
    void OnSelchangeSerialPort();
    void OnChangeAddress();
    void updateControls();

private:
    std::string m_section;
    Static m_addressCaption;
    int32_t m_connectionType = offLine;
    int16_t m_serialPort = 0;
    std::string m_tcpAddress;
    std::string m_smpteAddress;
    // The stored address when it was not valid (never empty then, as the empty one is).
    std::string invalidStoredSmpteAddress_;
    Edit m_address;
    ComboBox m_connectionTypeList;
    ComboBox m_serialPortList;
    Profile m_profile;
};
