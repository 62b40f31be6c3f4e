// The five network pages: validation tables in their order, the GB28181 live hints, round trips
// of each record through a fresh store, and the DDNS links.
#include "ParamDialogTestSupport.h"

#include <QDesktopServices>
#include <QSet>
#include <QUrl>

#include <vector>

using namespace paramtest;

namespace {

// Saves one page and returns its messages; "" stands for a save that passed.
QString saveMessage(const std::function<bool()>& save) {
    bool ok = false;
    const QStringList messages = messagesOf([&] { ok = save(); });
    if (ok)
        return messages.isEmpty() ? QString() : "unexpected: " + messages.join("|");
    return messages.size() == 1 ? messages[0] : "messages: " + messages.join("|");
}

} // namespace

TEST_F(ParamDialogTest, TcpIpChecksInOrder) {
    const QString first = "Specify the first value of the ip address as a value between 1 and 233!";
    const QString badIp = "Invalid IP address!";
    const QString badMask = "Invalid Netmask address!";
    const QString badGateway = "Invalid gateway address!";
    const QString segment =
        "IP address and gate way are not in the same network segment!Are you sure modify?";
    const QString dnsFirst = "Specify the first value of the DNS address as a value between 1 and 233!";
    const QString badDns = "Invalid DNS address!";
    struct Case {
        const char* ip;
        const char* mask;
        const char* gateway;
        const char* dns;
        QString message;
    };
    const Case cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", ""},
        // The run hands out no address below 1.0.0.0: such a start is refused here already.
        {"0.1.2.3", "255.0.0.0", "0.1.0.1", "8.8.8.8", badIp},
        {"1.0.0.1", "255.0.0.0", "1.0.0.2", "8.8.8.8", ""},
        {"223.1.1.1", "255.0.0.0", "223.0.0.1", "223.8.8.8", ""},
        {"224.0.0.1", "255.255.255.0", "224.0.0.2", "8.8.8.8", first},
        {"192.168.1.0", "255.255.255.0", "192.168.1.1", "8.8.8.8", badIp},
        {"192.168.1.255", "255.255.255.0", "192.168.1.1", "8.8.8.8", badIp},
        {"", "255.255.255.0", "192.168.1.1", "8.8.8.8", badIp},
        {"192.168", "255.255.255.0", "192.168.1.1", "8.8.8.8", badIp},    // partial
        {"192.168.1.", "255.255.255.0", "192.168.1.1", "8.8.8.8", badIp}, // partial
        {"192.168.1.10", "255.255.255.252", "192.168.1.9", "8.8.8.8", ""},
        {"192.168.1.10", "255.255.0.255", "192.168.1.1", "8.8.8.8", badMask},
        {"192.168.1.10", "0.0.0.0", "192.168.1.1", "8.8.8.8", badMask},
        {"192.168.1.10", "255.255.255.255", "192.168.1.1", "8.8.8.8", badMask},
        {"192.168.1.10", "255.255", "192.168.1.1", "8.8.8.8", badMask}, // partial
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", "8.8.8.8", segment},
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", "8.8.8.0", segment}, // DNS comes later
        {"192.168.1.10", "255.255.255.0", "192.168", "8.8.8.8", badGateway},  // partial
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "224.8.8.8", dnsFirst},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.0", badDns},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.255", badDns},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "", badDns},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8", badDns}, // partial
    };
    auto d = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + " " + c.mask + " " + c.gateway + " " + c.dns);
        storeValidNetworkRecords();
        A::ip(*d)->setText(c.ip);
        A::mask(*d)->setText(c.mask);
        A::gateway(*d)->setText(c.gateway);
        A::dns(*d)->setText(c.dns);
        EXPECT_EQ(c.message, saveMessage([&] { return A::saveTcpIp(*d); }));
        const auto stored = freshRecord(&ParamsMgr::getTcpIpInfo);
        const bool changed = !sameBytes(stored, validTcpIp());
        EXPECT_EQ(c.message.isEmpty(), changed);
        if (c.message.isEmpty()) {
            EXPECT_STREQ(c.ip, stored.ip);
            EXPECT_STREQ(c.mask, stored.mask);
            EXPECT_STREQ(c.gateway, stored.gateway);
            EXPECT_STREQ(c.dns, stored.dns);
        }
    }

    // DHCP on still checks the disabled fields; the switches are stored as 1 or 0.
    A::dhcp(*d)->setChecked(true);
    A::ip(*d)->setText("");
    EXPECT_EQ(badIp, saveMessage([&] { return A::saveTcpIp(*d); }));
    A::ip(*d)->setText("192.168.1.10");
    A::dns(*d)->setText("8.8.8.8");
    for (int netcom : {0, 1}) {
        A::fullNetcom(*d)->setCurrentIndex(netcom);
        EXPECT_EQ("", saveMessage([&] { return A::saveTcpIp(*d); }));
        const auto stored = freshRecord(&ParamsMgr::getTcpIpInfo);
        EXPECT_EQ(1u, stored.dhcp);
        EXPECT_EQ(static_cast<std::uint32_t>(netcom), stored.fullNetcom);
    }
}

TEST_F(ParamDialogTest, DhcpSwitchDisablesTheAddressFieldsAndHidesTest) {
    for (std::uint32_t dhcp : {0u, 1u, 2u}) {
        auto tcp = validTcpIp();
        tcp.dhcp = dhcp;
        ozmParamsMgr()->setTcpIpInfo(&tcp);
        auto d = open();
        const bool on = dhcp == 1;
        EXPECT_EQ(on, A::dhcp(*d)->isChecked());
        for (int round = 0; round < 2; ++round) {
            const bool checked = A::dhcp(*d)->isChecked();
            for (QWidget* w :
                 std::vector<QWidget*>{A::ip(*d), A::mask(*d), A::gateway(*d), A::dns(*d), A::fullNetcom(*d)})
                EXPECT_EQ(!checked, w->isEnabled());
            EXPECT_EQ(checked, A::testButton(*d)->isHidden());
            A::dhcp(*d)->click();
        }
    }
}

TEST_F(ParamDialogTest, PortChecksInOrder) {
    const QString http = "The effective value of HTTP port is 80 or from 1024 to 65535!";
    const QString rtsp = "The effective value of RTSP port is 554 or from 1024 to 65535!";
    const QString https = "The effective value of HTTPS port is 443 or from 1024 to 65535!";
    const QString onvif = "The effective value of ONVIF protocol port is from 2000 to 65535!";
    const QString repeated = "The port is repeated!";
    struct Case {
        const char* ports[4];
        bool onvifOn;
        QString message;
    };
    const Case cases[] = {
        {{"80", "554", "443", "8999"}, true, ""},         {{"1024", "65535", "1025", "65534"}, false, ""},
        {{"81", "554", "443", "8999"}, true, http},       {{"1023", "554", "443", "8999"}, true, http},
        {{"65536", "554", "443", "8999"}, true, http},    {{"", "554", "443", "8999"}, true, http},
        {{"554", "554", "443", "8999"}, true, http}, // range before repeats
        {{"80", "553", "443", "8999"}, true, rtsp},       {{"80", "554", "444", "8999"}, true, https},
        {{"80", "554", "443", "1500"}, true, ""},         {{"80", "554", "443", "1023"}, false, onvif},
        {{"80", "554", "443", ""}, false, onvif},         {{"8999", "554", "443", "8999"}, false, repeated},
        {{"80", "8443", "8443", "8999"}, true, repeated}, {{"80", "554", "2000", "2000"}, true, repeated},
    };
    auto d = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ports[0]) + "/" + c.ports[1] + "/" + c.ports[2] + "/" + c.ports[3]);
        storeValidNetworkRecords();
        A::http(*d)->setText(c.ports[0]);
        A::rtsp(*d)->setText(c.ports[1]);
        A::https(*d)->setText(c.ports[2]);
        A::onvif(*d)->setText(c.ports[3]);
        A::onvifEnable(*d)->setChecked(c.onvifOn);
        EXPECT_EQ(c.message, saveMessage([&] { return A::savePort(*d); }));
        const auto stored = freshRecord(&ParamsMgr::getPortParamInfo);
        if (c.message.isEmpty()) {
            const OZM::_SC_PORT_DATA expected{QString(c.ports[0]).toInt(), QString(c.ports[1]).toInt(),
                                              QString(c.ports[2]).toInt(), QString(c.ports[3]).toInt(),
                                              c.onvifOn ? 1 : 0};
            EXPECT_TRUE(sameBytes(expected, stored));
        } else {
            EXPECT_TRUE(sameBytes(validPort(), stored));
        }
    }
}

TEST_F(ParamDialogTest, DdnsChecksSwitchAndLimits) {
    const QString differ = "DDNS Password twice inconsistent!";
    const QString form =
        "DDNS Minimum passwork 1 Characters and a maximum 31 Characters,And can not contain Chinese!";
    const QString max31(31, 'a');
    struct Case {
        QString password;
        QString confirm;
        QString message;
    };
    const Case cases[] = {
        {"Secret42", "Secret42", ""},
        {max31, max31, ""},
        {"Secret42", "Secret43", differ},
        {"abc", "", differ},
        {"", "", form},
        {"a b", "a b", form},
        {"a_b", "a_b", form},
        {"caf\u00e9", "caf\u00e9", form},
        {"\u4e2d\u6587", "\u4e2d\u6587", form},
    };
    auto d = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password.toStdString());
        storeValidNetworkRecords();
        A::ddnsPassword(*d)->setText(c.password);
        A::ddnsConfirm(*d)->setText(c.confirm);
        EXPECT_EQ(c.message, saveMessage([&] { return A::saveDdns(*d); }));
        const auto stored = freshRecord(&ParamsMgr::getDDNSInfo);
        EXPECT_EQ(c.message.isEmpty() ? c.password : QString("Secret42"),
                  QString::fromLatin1(stored.password));
    }

    // Texts longer than a field stop at its size - 1; the switch enables the five fields.
    for (QLineEdit* edit : {A::domain(*d), A::ddnsUser(*d), A::ddnsPassword(*d), A::ddnsConfirm(*d)}) {
        edit->setText(QString(40, 'x'));
        EXPECT_EQ(31, edit->text().size());
    }
    for (bool on : {false, true, false}) {
        A::ddns(*d)->setChecked(on);
        for (QWidget* w : std::vector<QWidget*>{A::ddnsType(*d), A::domain(*d), A::ddnsUser(*d),
                                                A::ddnsPassword(*d), A::ddnsConfirm(*d)})
            EXPECT_EQ(on, w->isEnabled());
    }
}

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

TEST_F(ParamDialogTest, DdnsLinksFollowTheProviderAndOpenThroughTheDesktop) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    QDesktopServices::setUrlHandler("http", &catcher, "open");
    const QStringList captions[] = {{"Oray DDNS To Apply", "Oray DDNS To Help"},
                                    {"No-IP DDNS To Apply", "No-IP DDNS To Help"},
                                    {"DYN DDNS To Apply", "DYN DDNS To Help"}};
    // Stored provider -> the page's list and links; 7 is none of the three.
    for (int stored : {0, 1, 2, 7}) {
        auto ddns = validDdns();
        ddns.provider = static_cast<std::uint8_t>(stored);
        ozmParamsMgr()->setDDNSInfo(&ddns);
        auto d = open();
        const int shown = stored <= 2 ? stored : 0;
        EXPECT_EQ(shown, A::ddnsType(*d)->currentIndex());
        EXPECT_EQ(captions[shown], QStringList({A::applyLink(*d)->text(), A::helpLink(*d)->text()}));
    }
    auto d = open();
    QSet<QString> opened;
    for (int provider : {2, 1, 0}) {
        A::ddnsType(*d)->setCurrentIndex(provider);
        EXPECT_EQ(captions[provider], QStringList({A::applyLink(*d)->text(), A::helpLink(*d)->text()}));
        catcher.urls.clear();
        A::applyLink(*d)->click();
        A::helpLink(*d)->click();
        ASSERT_EQ(2, catcher.urls.size());
        for (const QUrl& url : catcher.urls) {
            EXPECT_EQ("https", url.scheme());
            opened << url.toString();
        }
    }
    EXPECT_EQ(6, opened.size());
    // A caption of no provider opens nothing.
    catcher.urls.clear();
    A::applyLink(*d)->setText("Somewhere");
    A::applyLink(*d)->click();
    EXPECT_TRUE(catcher.urls.isEmpty());
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("http");
}

TEST_F(ParamDialogTest, Gb28181ChecksInOrderWithTheirLiveHints) {
    // Editors in check order: local port, server ID, domain, server port, user, auth ID, valid
    // period, heartbeat, interval, time-outs, alarm ID, password, confirmation.
    const QString digits19(19, '1'), digits20(20, '2'), digits21(21, '3');
    struct Case {
        int editor;
        QString text;
        QString message; // of the save
        bool hint;       // the editor's live hint afterwards
    };
    const QString localPort = "GB28181 The localSipPort Range Is 1024-65535!";
    const QString serverId = "GB28181 ServerId Please enter 20 digits!";
    const QString domain = "GB28181 ServerDomain Please enter 10 digits!";
    const QString serverPort = "GB28181 The ServerPort Range Is 1024-65535!";
    const QString user = "GB28181 SIP User Please enter 20 digits!";
    const QString authId = "GB28181 SIP UserAuthId Please enter 20 digits!";
    const QString valid = "GB28181 The ValidTime Range Is 3600-100000S!";
    const QString beat = "GB28181 The heartBeatCycle Range Is 5-255S!";
    const QString interval = "GB28181 The Interval Range Is 60-600S!";
    const QString timeouts = "GB28181 The maxHeartCount Range Is 3-255S!";
    const QString alarm = "GB28181 alarmInCodeId Please enter 20 digits!";
    const QString blank = "GB28181 Password can not be blank!";
    const QString differ = "GB28181 Password twice inconsistent!";
    const Case cases[] = {
        {0, "1024", "", false},        {0, "65535", "", false},
        {0, "1023", localPort, true},  {0, "65536", localPort, true},
        {0, "", localPort, true},      {1, digits20, "", false},
        {1, digits19, serverId, true}, {1, digits21, serverId, true},
        {2, "abcdefghij", "", false},  {2, "abcdefghi", domain, true},
        {3, "1024", "", false},        {3, "80", serverPort, true},
        {4, digits19, user, true},     {5, digits21, authId, true},
        {6, "3600", "", false},        {6, "100000", "", false},
        {6, "3599", valid, true},      {6, "100001", valid, true},
        {7, "5", "", false},           {7, "255", "", false},
        {7, "4", beat, true},          {7, "256", beat, true},
        {8, "60", "", false},          {8, "600", "", false},
        {8, "59", interval, true},     {8, "601", interval, true},
        {9, "3", "", false},           {9, "255", "", false},
        {9, "2", timeouts, true},      {9, "256", timeouts, true},
        {10, digits19, alarm, true},   {11, "", blank, true},
        {12, "", blank, true},         {12, "gbpasx", differ, false},
    };
    for (bool pageEnabled : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.editor) + " '" + c.text.toStdString() + "' " +
                         (pageEnabled ? "on" : "off"));
            storeValidNetworkRecords();
            auto d = open();
            A::enable(*d, 4)->setChecked(pageEnabled);
            A::gbEnable(*d)->setChecked(false); // the registration switch checks nothing
            std::vector<QLineEdit*> edits = A::gbEdits(*d);
            std::vector<QWidget*> hints = A::gbHints(*d);
            for (QWidget* hint : hints)
                ASSERT_TRUE(hint->isHidden());
            edits[c.editor]->setText(c.text);
            // The password hints only run while the page is enabled.
            const bool passwordHint = c.editor >= 11;
            EXPECT_EQ(passwordHint && !pageEnabled ? false : c.hint, !hints[c.editor]->isHidden());
            EXPECT_EQ(c.message, saveMessage([&] { return A::saveGb(*d); }));
            const auto stored = freshRecord(&ParamsMgr::getGb28181Info);
            EXPECT_EQ(!c.message.isEmpty(), stored.enable == 1); // a passing save stored the switch off
        }
    }

    // The first failure ends the checks; the password hints follow their own rules.
    auto d = open();
    A::enable(*d, 4)->setChecked(true);
    std::vector<QLineEdit*> edits = A::gbEdits(*d);
    std::vector<QWidget*> hints = A::gbHints(*d);
    edits[0]->setText("80");
    edits[1]->setText(digits19);
    EXPECT_EQ(localPort, saveMessage([&] { return A::saveGb(*d); }));
    edits[11]->setText(QString(19, 'p'));
    EXPECT_FALSE(hints[11]->isHidden());
    edits[11]->setText(QString(18, 'p'));
    EXPECT_TRUE(hints[11]->isHidden());
    edits[11]->setText("abc");
    edits[12]->setText("abd");
    EXPECT_TRUE(hints[12]->isHidden()); // not longer than the password
    edits[12]->setText("abcd");
    EXPECT_FALSE(hints[12]->isHidden());
    edits[11]->setText("abcdef"); // only the confirmation's own change re-checks it
    EXPECT_FALSE(hints[12]->isHidden());
    // Text fields stop at their size - 1.
    for (int i : {1, 2, 4, 5, 10, 11, 12}) {
        edits[i]->setText(QString(50, '9'));
        EXPECT_EQ(39, edits[i]->text().size()) << i;
    }
    edits[13]->setText(QString(50, '9'));
    EXPECT_LE(edits[13]->text().size(), 19);
}

TEST_F(ParamDialogTest, Gb28181HintsAfterLoadShowWhatFails) {
    auto gb = validGb();
    std::memset(gb.sipServerId, 0, sizeof gb.sipServerId); // empty, as the editor starts
    gb.heartbeatPeriod = 4;
    std::memset(gb.password, 0, sizeof gb.password);
    ozmParamsMgr()->setGb28181Info(&gb);
    auto d = open();
    std::vector<QWidget*> hints = A::gbHints(*d);
    for (std::size_t i = 0; i < hints.size(); ++i)
        EXPECT_EQ(i == 1 || i == 7, !hints[i]->isHidden()) << i;
}

TEST_F(ParamDialogTest, NetworkRecordsRoundTripThroughAFreshStore) {
    ParamsMgr* store = ozmParamsMgr();
    auto saveAll = [](OtherParamConfigDlg& d) {
        EXPECT_TRUE(A::saveTcpIp(d));
        EXPECT_TRUE(A::savePort(d));
        EXPECT_TRUE(A::saveDdns(d));
        EXPECT_TRUE(A::saveGb(d));
        A::saveP2p(d);
    };
    // A fresh store reads back the given records.
    auto expectStored = [&](const auto& tcp, const auto& port, const auto& ddns, const auto& gb, int p2p) {
        EXPECT_TRUE(sameBytes(tcp, freshRecord(&ParamsMgr::getTcpIpInfo)));
        EXPECT_TRUE(sameBytes(port, freshRecord(&ParamsMgr::getPortParamInfo)));
        EXPECT_TRUE(sameBytes(ddns, freshRecord(&ParamsMgr::getDDNSInfo)));
        EXPECT_TRUE(sameBytes(gb, freshRecord(&ParamsMgr::getGb28181Info)));
        EXPECT_EQ(p2p, ParamsMgr(storeFolder()).getP2PInfo());
    };

    // Clean records come back byte for byte.
    {
        auto tcp = validTcpIp();
        tcp.dhcp = 1;
        store->setTcpIpInfo(&tcp);
        store->setP2pInfo(1);
        auto d = open();
        EXPECT_TRUE(messagesOf([&] { saveAll(*d); }).isEmpty());
        expectStored(tcp, validPort(), validDdns(), validGb(), 1);
    }

    // The documented normalisations: bytes behind a text's zero, reserved and padding bytes
    // become 0; switches become 1 or 0; out-of-range list values the first item; a text that
    // fills its field is cut to size - 1; characters outside Latin-1 become "?"; the GB28181
    // registration status is written back as loaded.
    auto tcp = validTcpIp();
    tcp.ip[15] = 'x';
    tcp.fullNetcom = 9;
    auto port = validPort();
    port.onvifEnable = 5;
    auto ddns = validDdns();
    ddns.enable = 3;
    ddns.provider = 7;
    fillField(ddns.domain, 'd');
    std::memset(ddns.reserved, 0x5A, sizeof ddns.reserved);
    auto gb = validGb();
    gb.pad0[0] = gb.pad1[1] = gb.pad2[0] = 0x33;
    gb.status = 7;
    gb.stream = 5;
    gb.transport = 9;
    fillField(gb.password, 'p');
    fillField(gb.passwordConfirm, 'p');
    store->setTcpIpInfo(&tcp);
    store->setPortParamInfo(&port);
    store->setDDNSInfo(&ddns);
    store->setGb28181Info(&gb);
    store->setP2pInfo(2);
    auto d = open();
    EXPECT_FALSE(A::p2p(*d)->isChecked()) << "a stored switch of 2 is off";
    EXPECT_TRUE(messagesOf([&] { saveAll(*d); }).isEmpty());

    auto tcpExpected = validTcpIp();
    tcpExpected.fullNetcom = 0;
    auto ddnsExpected = validDdns();
    ddnsExpected.enable = 0;
    ddnsExpected.provider = 0;
    std::memset(ddnsExpected.domain, 'd', 31);
    ddnsExpected.domain[31] = 0;
    auto gbExpected = validGb();
    gbExpected.status = 7;
    gbExpected.stream = 0;
    gbExpected.transport = 0;
    std::memset(gbExpected.password, 'p', 39);
    gbExpected.password[39] = 0;
    std::memcpy(gbExpected.passwordConfirm, gbExpected.password, sizeof gbExpected.password);

    expectStored(tcpExpected, validPort(), ddnsExpected, gbExpected,
                 0); // p2p: 1 is on, every other value off

    // Latin-1 on save.
    A::enable(*d, 4)->setChecked(true);
    A::gbEdits(*d)[11]->setText(QString::fromUtf8("p\u00e4ss\u20ac"));
    A::gbEdits(*d)[12]->setText(QString::fromUtf8("p\u00e4ss\u20ac"));
    EXPECT_TRUE(A::saveGb(*d));
    const auto g = freshRecord(&ParamsMgr::getGb28181Info);
    EXPECT_STREQ("p\xe4ss?", g.password);
}

#include "ParamNetworkPagesTest.moc"
