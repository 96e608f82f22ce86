#include "ui/CConnectionDlg.h"

#include "platform/MessageBox.h"

static const char* const connectionTypeKey = "connection type";
static const char* const serialPortKey = "serial port";
static const char* const tcpAddressKey = "tcp address";
static const char* const smpteAddressKey = "smpte address";
static const char* const defaultSmpteAddress = "8280";

Profile CConnectionDlg::profile()
{
    return Profile::forApplication("QZ347Remote");
}

bool CConnectionDlg::isValidSmpteAddress(const std::string& text)
{
    return text.size() <= 4 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

CConnectionDlg::CConnectionDlg() : Dialog(templateId), m_section("Settings"), m_profile(profile())
{
    connect(IDOK, Notify::Clicked, [this](Notification&) { onOK(); });
    connect(IDCANCEL, Notify::Clicked, [this](Notification&) { onCancel(); });
    connect(connectionTypeId, Notify::SelChange, [this](Notification&) { OnSelchangeConnectionType(); });
    connect(serialPortId, Notify::SelChange, [this](Notification&) { OnSelchangeSerialPort(); });
    connect(addressId, Notify::EditChange, [this](Notification&) { OnChangeAddress(); });
}

std::string CConnectionDlg::getAddress() const
{
    return m_connectionType == ethernet ? m_tcpAddress : m_smpteAddress;
}

bool CConnectionDlg::onInitDialog()
{
    attach(m_connectionTypeList, connectionTypeId);
    attach(m_address, addressId);
    attach(m_addressCaption, addressCaptionId);
    attach(m_serialPortList, serialPortId);

    // A hand-edited or damaged profile must not select a type or port that does not
    // exist, nor hand the serial link an address it cannot use.
    int type = m_profile.getInt(m_section, connectionTypeKey, offLine);
    m_connectionType = type >= ethernet && type <= offLine ? type : offLine;
    int port = m_profile.getInt(m_section, serialPortKey, 0);
    m_serialPort = int16_t(port >= 0 && port <= 3 ? port : 0);
    m_tcpAddress = m_profile.getString(m_section, tcpAddressKey, "");
    m_smpteAddress = m_profile.getString(m_section, smpteAddressKey, defaultSmpteAddress);
    // A damaged stored address is shown, and so reported, only where it matters:
    // in the edit once Serial is chosen, for the user to correct. Until then the
    // default is the address handed on.
    if (!isValidSmpteAddress(m_smpteAddress)) {
        invalidStoredSmpteAddress_ = m_smpteAddress;
        m_smpteAddress = defaultSmpteAddress;
    }

    m_connectionTypeList.setCurSel(m_connectionType);
    m_serialPortList.setCurSel(m_serialPort);
    updateControls();
    return true;
}

void CConnectionDlg::updateControls()
{
    m_address.enable(m_connectionType != offLine);
    m_serialPortList.enable(m_connectionType == serial);
    if (m_connectionType == ethernet) {
        m_addressCaption.setText("TCP/IP Address");
        m_address.setText(m_tcpAddress);
    } else if (m_connectionType == serial) {
        m_addressCaption.setText("SMPTE Address");
        m_address.setText(invalidStoredSmpteAddress_.empty() ? m_smpteAddress : invalidStoredSmpteAddress_);
    }
}

void CConnectionDlg::OnSelchangeConnectionType()
{
    int selected = m_connectionTypeList.getCurSel();
    if (selected < ethernet || selected > offLine) {
        return;
    }
    m_connectionType = selected;
    m_profile.writeInt(m_section, connectionTypeKey, int16_t(m_connectionType));
    updateControls();
}

void CConnectionDlg::OnSelchangeSerialPort()
{
    int selected = m_serialPortList.getCurSel();
    if (selected < 0 || selected > 3) {
        return;
    }
    m_serialPort = int16_t(selected);
    m_profile.writeInt(m_section, serialPortKey, m_serialPort);
}

void CConnectionDlg::OnChangeAddress()
{
    std::string text = m_address.getText();
    if (m_connectionType == ethernet) {
        m_tcpAddress = text;
        m_profile.writeString(m_section, tcpAddressKey, m_tcpAddress);
    } else if (isValidSmpteAddress(text)) {
        invalidStoredSmpteAddress_.clear();
        m_smpteAddress = text;
        m_profile.writeString(m_section, smpteAddressKey, m_smpteAddress);
    } else {
        messageBox(this, "invalid SMPTE address", "QZ347Remote", MB_OK);
    }
}
