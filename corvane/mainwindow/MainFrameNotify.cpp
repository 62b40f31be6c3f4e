// Notifications from the engine and the search library: queued in arrival order and applied to
// the device table and the pending records on the GUI thread.
#include "MainFrame.h"

#include "DeviceManager.h"
#include "DeviceTableRow.h"
#include "NetInfoBatch.h"
#include "quillet/Quillet.h"
#include "tarsel/CTableView.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <cstring>

int MainFrame::notifyCallback(const OZM::_NOTIFY_PARAM* param, void* user) {
    auto* frame = static_cast<MainFrame*>(user);
    if (frame)
        frame->onNotify(param);
    return 0;
}

void MainFrame::onNotify(const OZM::_NOTIFY_PARAM* param) {
    if (param)
        handleDeviceEvent(param);
}

void MainFrame::handleDeviceEvent(const OZM::_NOTIFY_PARAM* param) {
    if (!param)
        return;
    NotifyMessage message;
    message.type = param->type;
    if (param->type == 5) {
        message.value = reinterpret_cast<std::intptr_t>(param->data);
    } else if (param->data && param->type != 6) {
        message.hasTexts = true;
        message.texts = *static_cast<const QStringList*>(param->data);
    }
    const bool onGuiThread = QThread::currentThread() == thread();
    bool schedule = false;
    {
        std::lock_guard<std::mutex> lock(_notifyMutex);
        _notifyQueue.push_back(std::move(message));
        if (!onGuiThread && !_drainScheduled) {
            _drainScheduled = true;
            schedule = true;
        }
    }
    if (onGuiThread) {
        // A message sent from inside the handler (the engine's code 6 after code 5) is taken
        // by the running drain after the one in hand.
        if (!_draining)
            drainNotifications();
    } else if (schedule) {
        QMetaObject::invokeMethod(this, &MainFrame::drainNotifications, Qt::QueuedConnection);
    }
}

void MainFrame::drainNotifications() {
    _draining = true;
    for (;;) {
        NotifyMessage message;
        {
            std::lock_guard<std::mutex> lock(_notifyMutex);
            if (_notifyQueue.empty()) {
                _drainScheduled = false;
                break;
            }
            message = std::move(_notifyQueue.front());
            _notifyQueue.pop_front();
        }
        applyDeviceEvent(message);
    }
    _draining = false;
}

namespace {

// Payload length each code needs: the MAC plus its items.
int requiredTexts(int type) {
    switch (type) {
    case 9:
    case 14:
        return 3;
    default:
        return 2;
    }
}

} // namespace

QStringList* MainFrame::checkedRowOf(const QString& mac) {
    // Read through at(): the rows are detached from their copies only for the row returned.
    auto full = [this](int i) { return _checkedRows.at(i).size() == DeviceColumn::Count; };
    auto found = [&]() -> QStringList* {
        const auto it = _checkedRowOfMac.constFind(mac);
        if (it == _checkedRowOfMac.constEnd() || *it >= _checkedRows.size() || !full(*it) ||
            _checkedRows.at(*it).at(DeviceColumn::Mac) != mac)
            return nullptr;
        return &_checkedRows[*it];
    };
    if (!_checkedRowIndexStale && _checkedRowIndexCount == _checkedRows.size()) {
        if (QStringList* row = found())
            return row;
        if (!_checkedRowOfMac.contains(mac))
            return nullptr;
    }
    // Rebuilt after the rows changed (or when an entry no longer matches its row).
    _checkedRowOfMac.clear();
    for (int i = 0; i < _checkedRows.size(); ++i) {
        if (full(i) && !_checkedRowOfMac.contains(_checkedRows.at(i).at(DeviceColumn::Mac)))
            _checkedRowOfMac.insert(_checkedRows.at(i).at(DeviceColumn::Mac), i);
    }
    _checkedRowIndexStale = false;
    _checkedRowIndexCount = _checkedRows.size();
    return found();
}

void MainFrame::applyDeviceEvent(const NotifyMessage& message) {
    const int type = message.type;
    if (type == 6) {
        emit closeSearchDialog();
        return;
    }
    if (type != 5) {
        // A list of texts starting with the MAC, long enough for the code.
        if (!message.hasTexts || message.texts.size() < requiredTexts(type) ||
            message.texts.at(0).isEmpty()) {
            Qx_Write_Log(300, "MainFrame::handleDeviceEvent", "malformed notification, code:%d", type);
            return;
        }
        const QStringList& texts = message.texts;
        const QString& mac = texts.at(0);
        switch (type) {
        case 8:
            if (QStringList* row = checkedRowOf(mac))
                (*row)[DeviceColumn::Ip] = texts.at(1);
            break;
        case 9:
            if (QStringList* row = checkedRowOf(mac)) {
                (*row)[DeviceColumn::HttpPort] = texts.at(1);
                (*row)[DeviceColumn::RtspPort] = texts.at(2);
            }
            break;
        case 14:
            if (QStringList* row = checkedRowOf(mac)) {
                (*row)[DeviceColumn::User] = texts.at(1);
                (*row)[DeviceColumn::Password] = texts.at(2);
            }
            break;
        default:
            break;
        }
        applyPendingResult(type, mac, texts.at(1));
    }

    OZM::_NOTIFY_PARAM param;
    param.type = type;
    QStringList texts = message.texts;
    param.data = type == 5 ? reinterpret_cast<void*>(message.value) : static_cast<void*>(&texts);
    if (_deviceTable)
        _deviceTable->setNotify(&param);
    if (_engine)
        _engine->setNotify(&param);
}

void MainFrame::applyPendingResult(int type, const QString& mac, const QString& text) {
    // A MAC that is not plain Latin-1 text matches no record.
    const QByteArray latin = mac.toLatin1();
    if (QString::fromLatin1(latin) != mac)
        return;
    const std::string key = latin.toStdString();
    std::lock_guard<std::mutex> lock(_pendingMutex);
    if (type == 10) {
        const std::int32_t state = text == RowTexts::text(RowText::LoginSuccessful) ? 1001 : 1002;
        // An IP change's record ends on its own relogin only (takeChangeRelogins).
        _rebootList.forEachOfMac(key, [state](DeviceResultInfo& record) { record.loginState = state; });
        return;
    }
    RowText success;
    if (type == 11)
        success = RowText::RebootSuccess;
    else if (type == 12)
        success = RowText::FullRecoverySuccess;
    else if (type == 13)
        success = RowText::SimpleRecoverySuccess;
    else
        return;
    const std::int32_t status = text == RowTexts::text(success) ? 1 : 2;
    _rebootList.forEachOfMac(key, [status](DeviceResultInfo& record) { record.status = status; });
}

void MainFrame::clearPendingLists() {
    {
        std::lock_guard<std::mutex> lock(_pendingMutex);
        _fixtureList.clear();
        _rebootList.clear();
    }
    _netBatch->clear();
}
