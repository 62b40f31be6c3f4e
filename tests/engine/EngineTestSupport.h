// The engine against the simulated fleet: notification capture and a fixture.
#pragma once

#include "DeviceManager.h"
#include "RowTexts.h"
#include "camsim/SimControl.h"
#include "tarsel/CTableView.h"
#include "harness/QtApp.h"
#include "kvxnet/KvxNetSdk.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace enginetest {

struct Note {
    int code = 0;
    QStringList texts;
    std::intptr_t value = 0;
    std::uint64_t tick = 0; // program milliseconds
};

// Records every notification the engine sends.
class NoteLog {
public:
    NoteLog() { IClientUiElement::setNotifyCallBack(&NoteLog::callback, this); }
    ~NoteLog() { IClientUiElement::setNotifyCallBack(nullptr, nullptr); }
    std::vector<Note> all() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notes;
    }
    std::vector<Note> with(int code, const QString& mac = QString()) {
        std::vector<Note> out;
        for (const auto& n : all()) {
            if (n.code == code && (mac.isEmpty() || (!n.texts.isEmpty() && n.texts[0] == mac)))
                out.push_back(n);
        }
        return out;
    }
    int count(int code, const QString& mac, const QString& text) {
        int n = 0;
        for (const auto& note : with(code, mac)) {
            if (note.texts.size() > 1 && note.texts[1] == text)
                ++n;
        }
        return n;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notes.clear();
    }
    // Called on the sending thread for every later note, before the sender goes on.
    void observe(std::function<void(const Note&)> observer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_observer = std::move(observer);
    }

private:
    static int callback(const OZM::_NOTIFY_PARAM* param, void* user) {
        auto* self = static_cast<NoteLog*>(user);
        Note n;
        n.code = param->type;
        n.tick = GetTickCount();
        if (param->type == 5)
            n.value = reinterpret_cast<std::intptr_t>(param->data);
        else if (param->data)
            n.texts = *static_cast<const QStringList*>(param->data);
        std::function<void(const Note&)> observer;
        {
            std::lock_guard<std::mutex> lock(self->m_mutex);
            self->m_notes.push_back(n);
            observer = self->m_observer;
        }
        if (observer)
            observer(n);
        return 0;
    }
    std::mutex m_mutex;
    std::vector<Note> m_notes;
    std::function<void(const Note&)> m_observer;
};

// Pumps the GUI thread's events until pred holds or realMs pass (the harness's bounded wait).
inline bool waitFor(const std::function<bool()>& pred, int realMs = 5000, const char* file = __builtin_FILE(),
                    int line = __builtin_LINE()) {
    return harness::waitFor(pred, realMs, file, line);
}

class TestableDeviceManager : public DeviceManager {
public:
    using DeviceManager::slotPointer;
};

// The record the main window hands the engine: the search record with the HTTP port in host order.
inline DSC_SEARCH_RESPONSE_INFO searchRecord(const camsim::CameraProfile& c) {
    DSC_SEARCH_RESPONSE_INFO r;
    std::memset(&r, 0, sizeof r);
    std::snprintf(r.tag, sizeof r.tag, "searching..");
    r.type = 11;
    std::snprintf(r.ip, sizeof r.ip, "%s", c.ip.c_str());
    std::snprintf(r.mac, sizeof r.mac, "%s", c.mac.c_str());
    r.httpPort = static_cast<std::uint32_t>(c.httpPort);
    std::snprintf(r.deviceType, sizeof r.deviceType, "%s", c.deviceType.c_str());
    std::snprintf(r.serial, sizeof r.serial, "%s", c.serial.c_str());
    std::snprintf(r.user, sizeof r.user, "%s", c.user.c_str());
    std::snprintf(r.password, sizeof r.password, "%s", c.password.c_str());
    return r;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        winport::setTimeScale(0.05);
        while (camsim::startupCount() > 0)
            KVX_NET_Cleanup();
        camsim::resetWorld();
        fleet = camsim::fleet();
        notes = std::make_unique<NoteLog>();
        engine = std::make_unique<TestableDeviceManager>();
    }
    void TearDown() override {
        engine.reset();
        expectRowTextsOfTheList();
        notes.reset();
        camsim::resetWorld();
        winport::setTimeScale(0);
    }
    // What the main window does for a search: map and login task per record, then code 5.
    void searchFound(const std::vector<DSC_SEARCH_RESPONSE_INFO>& records, int total) {
        for (const auto& r : records) {
            engine->addSearchInfo(r.mac, &r);
            engine->addLoginTask(&r);
        }
        sendTotal(total);
    }
    void sendTotal(int total) {
        OZM::_NOTIFY_PARAM p;
        p.type = 5;
        p.data = reinterpret_cast<void*>(static_cast<std::intptr_t>(total));
        engine->setNotify(&p);
    }
    QString mac(std::size_t i) const { return QString::fromStdString(fleet.at(i).mac); }
    // Every text the engine wrote into a row is a row text of the list, for the column its code
    // writes, so that the table can show it translated.
    void expectRowTextsOfTheList() {
        for (const Note& note : notes->all()) {
            int column = -1;
            QString text = note.texts.value(1);
            switch (note.code) {
            case 2:
            case 10:
            case 11:
            case 12:
            case 13:
                column = CTableView::ColStatus;
                break;
            case 8:
                column = CTableView::ColStatus;
                text = note.texts.value(2);
                break;
            case 3:
                column = CTableView::ColFullNetcom;
                break;
            case 7:
                column = CTableView::ColNetcomFlag;
                break;
            default:
                break;
            }
            if (column >= 0 && !(note.code == 7 && text.isEmpty())) {
                EXPECT_TRUE(RowTexts::isKnown(column, text))
                    << "code " << note.code << ": " << text.toStdString();
            }
        }
    }

    std::vector<camsim::CameraProfile> fleet;
    std::unique_ptr<NoteLog> notes;
    std::unique_ptr<TestableDeviceManager> engine;
};

} // namespace enginetest
