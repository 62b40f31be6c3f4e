// The IP start-address dialog: its checks in order, what it saves and loads.
#include "MainWindowTestSupport.h"
#include "SetIPDialog.h"

#include "ozmlogic/ParamsMgr.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QValidator>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class SetIPDialogTest : public mwtest::MainWindowTest {};

TEST_F(SetIPDialogTest, ConfirmChecksInOrderAndSavesOnlyCompleteAddresses) {
    struct Case {
        const char* ip;
        const char* mask;
        const char* gateway;
        const char* message; // the one message box shown
    };
    const char* kRange = "Specify the first value of the ip address as a value between 1 and 233!";
    const char* kSegment = "IP address and gate way are not in the same network segment!Are you sure modify?";
    const std::vector<Case> cases = {
        {"224.1.1.10", "255.255.255.0", "224.1.1.1", kRange},
        {"0.1.1.10", "255.0.0.0", "0.1.1.1", kRange},
        {"192.168.1.0", "255.255.255.0", "192.168.1.1", "Invalid IP address!"},
        {"192.168.1.255", "255.255.255.0", "192.168.1.1", "Invalid IP address!"},
        {"", "255.255.255.0", "192.168.1.1", "Invalid IP address!"},
        {"192.168.1", "255.255.255.0", "192.168.1.1", "Invalid IP address!"},
        {"192.168.01.10", "255.255.255.0", "192.168.1.1", "Invalid IP address!"},
        {"192.168.1.10", "255.0.255.0", "192.168.1.1", "Invalid Netmask address!"},
        {"192.168.1.10", "0.0.0.0", "192.168.1.1", "Invalid Netmask address!"},
        {"192.168.1.10", "255.255.255.255", "192.168.1.1", "Invalid Netmask address!"},
        {"192.168.1.10", "255.255.255", "192.168.1.1", "Invalid Netmask address!"},
        {"192.168.1.10", "255.255.255.0", "192.168.1", "Invalid Gateway address!"},
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", kSegment},
        {"223.1.1.10", "255.255.0.0", "223.1.0.1", "Saved successfully"},
        {"192.168.1.10", "128.0.0.0", "192.1.1.1", "Saved successfully"},
        {"127.0.1.10", "255.255.255.0", "127.0.1.1", "Saved successfully"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + " " + c.mask + " " + c.gateway);
        OZM::_SC_SETIP_DATA_ before;
        std::memset(&before, 0, sizeof before);
        std::strcpy(before.ip, "10.0.0.1");
        ozmParamsMgr()->setIpInfo(&before);
        const int shown = closer().count();
        SetIPDialog dialog;
        // Both modes: "Set IP Start Address" is saved as 0, "Modify IP Start Address" as 1.
        const bool setMode = &c - cases.data() == static_cast<std::ptrdiff_t>(cases.size()) - 1;
        (setMode ? dialog.setRadio : dialog.modifyRadio)->setChecked(true);
        dialog.ipEdit->setText(c.ip);
        dialog.maskEdit->setText(c.mask);
        dialog.gatewayEdit->setText(c.gateway);
        dialog.onConfirm();
        ASSERT_EQ(closer().count(), shown + 1);
        EXPECT_EQ(modalTexts().last(), c.message);
        OZM::_SC_SETIP_DATA_ after;
        ozmParamsMgr()->getIpInfo(&after);
        if (std::string(c.message) != "Saved successfully") {
            EXPECT_STREQ(after.ip, "10.0.0.1") << "nothing saved";
            continue;
        }
        EXPECT_EQ(after.mode, setMode ? 0u : 1u);
        EXPECT_STREQ(after.ip, c.ip);
        EXPECT_STREQ(after.mask, c.mask);
        EXPECT_STREQ(after.gateway, c.gateway);
        SetIPDialog again;
        EXPECT_EQ(again.setRadio->isChecked(), setMode);
        EXPECT_EQ(again.modifyRadio->isChecked(), !setMode);
        EXPECT_EQ(again.ipEdit->text(), c.ip);
        EXPECT_EQ(again.maskEdit->text(), c.mask);
        EXPECT_EQ(again.gatewayEdit->text(), c.gateway);
    }
}

TEST_F(SetIPDialogTest, ValidatorAndUnterminatedStoredFields) {
    SetIPDialog dialog;
    int pos = 0;
    for (const char* good : {"0.0.0.0", "255.255.255.255", "192.168.1.10"}) {
        QString text = good;
        EXPECT_EQ(dialog.ipEdit->validator()->validate(text, pos), QValidator::Acceptable) << good;
    }
    for (const char* bad : {"256.1.1.1", "1.2.3.4.5", "01.2.3.4", "a.b.c.d"}) {
        QString text = bad;
        EXPECT_EQ(dialog.ipEdit->validator()->validate(text, pos), QValidator::Invalid) << bad;
    }
    // A stored record whose fields fill all 16 bytes loads at most 16 characters per field.
    OZM::_SC_SETIP_DATA_ full;
    std::memset(&full, '1', sizeof full);
    full.mode = 0;
    ozmParamsMgr()->setIpInfo(&full);
    SetIPDialog loaded;
    EXPECT_TRUE(loaded.setRadio->isChecked());
    EXPECT_EQ(loaded.ipEdit->text(), QString(16, '1'));
    EXPECT_EQ(loaded.gatewayEdit->text(), QString(16, '1'));
}

} // namespace
