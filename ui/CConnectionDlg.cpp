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

CConnectionDlg::CConnectionDlg() : Dialog(templateId), section_("Settings"), profile_(profile())
{
    connect(IDOK, Notify::Clicked, [this](Notification&) { onOK(); });
    connect(IDCANCEL, Notify::Clicked, [this](Notification&) { onCancel(); });
    connect(connectionTypeId, Notify::SelChange, [this](Notification&) { OnSelchangeConnectionType(); });
    connect(serialPortId, Notify::SelChange, [this](Notification&) { OnSelchangeSerialPort(); });
    connect(addressId, Notify::EditChange, [this](Notification&) { OnChangeAddress(); });
}

std::string CConnectionDlg::getAddress() const
{
    return connectionType_ == ethernet ? tcpAddress_ : smpteAddress_;
}

bool CConnectionDlg::onInitDialog()
{
    attach(connectionTypeList_, connectionTypeId);
    attach(address_, addressId);
    attach(addressCaption_, addressCaptionId);
    attach(serialPortList_, serialPortId);

    // A hand-edited or damaged profile must not select a type or port that does not
    // exist, nor hand the serial link an address it cannot use.
    int type = profile_.getInt(section_, connectionTypeKey, offLine);
    connectionType_ = type >= ethernet && type <= offLine ? type : offLine;
    int port = profile_.getInt(section_, serialPortKey, 0);
    serialPort_ = int16_t(port >= 0 && port <= 3 ? port : 0);
    tcpAddress_ = profile_.getString(section_, tcpAddressKey, "");
    smpteAddress_ = profile_.getString(section_, smpteAddressKey, defaultSmpteAddress);
    // A damaged stored address is shown, and so reported, only where it matters:
    // in the edit once Serial is chosen, for the user to correct. Until then the
    // default is the address handed on.
    if (!isValidSmpteAddress(smpteAddress_)) {
        invalidStoredSmpteAddress_ = smpteAddress_;
        smpteAddress_ = defaultSmpteAddress;
    }

    connectionTypeList_.setCurSel(connectionType_);
    serialPortList_.setCurSel(serialPort_);
    updateControls();
    return true;
}

void CConnectionDlg::updateControls()
{
    address_.enable(connectionType_ != offLine);
    serialPortList_.enable(connectionType_ == serial);
    if (connectionType_ == ethernet) {
        addressCaption_.setText("TCP/IP Address");
        address_.setText(tcpAddress_);
    } else if (connectionType_ == serial) {
        addressCaption_.setText("SMPTE Address");
        address_.setText(invalidStoredSmpteAddress_.empty() ? smpteAddress_ : invalidStoredSmpteAddress_);
    }
}

void CConnectionDlg::OnSelchangeConnectionType()
{
    int selected = connectionTypeList_.getCurSel();
    if (selected < ethernet || selected > offLine) {
        return;
    }
    connectionType_ = selected;
    profile_.writeInt(section_, connectionTypeKey, int16_t(connectionType_));
    updateControls();
}

void CConnectionDlg::OnSelchangeSerialPort()
{
    int selected = serialPortList_.getCurSel();
    if (selected < 0 || selected > 3) {
        return;
    }
    serialPort_ = int16_t(selected);
    profile_.writeInt(section_, serialPortKey, serialPort_);
}

void CConnectionDlg::OnChangeAddress()
{
    std::string text = address_.getText();
    if (connectionType_ == ethernet) {
        tcpAddress_ = text;
        profile_.writeString(section_, tcpAddressKey, tcpAddress_);
    } else if (isValidSmpteAddress(text)) {
        invalidStoredSmpteAddress_.clear();
        smpteAddress_ = text;
        profile_.writeString(section_, smpteAddressKey, smpteAddress_);
    } else {
        messageBox(this, "invalid SMPTE address", "QZ347Remote", MB_OK);
    }
}
