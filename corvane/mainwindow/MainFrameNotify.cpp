// Notifications from the engine and the search library: queued in arrival order and applied to
// the device table and the pending records on the GUI thread.
#include "MainFrame.h"

#include "DeviceManager.h"
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

QStringList* firstCheckedRowOf(QVector<QStringList>& rows, const QString& mac) {
    for (QStringList& row : rows) {
        if (row.size() == CTableView::ColumnCount && row.at(8) == mac)
            return &row;
    }
    return nullptr;
}

} // namespace

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
            if (QStringList* row = firstCheckedRowOf(_checkedRows, mac))
                (*row)[1] = texts.at(1);
            break;
        case 9:
            if (QStringList* row = firstCheckedRowOf(_checkedRows, mac)) {
                (*row)[12] = texts.at(1);
                (*row)[13] = texts.at(2);
            }
            break;
        case 14:
            if (QStringList* row = firstCheckedRowOf(_checkedRows, mac)) {
                (*row)[17] = texts.at(1);
                (*row)[18] = texts.at(2);
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
    auto sameMac = [&mac](const char* field, std::size_t width) {
        const void* end = std::memchr(field, 0, width);
        const std::size_t length =
            end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : width;
        return QString::fromLatin1(field, static_cast<int>(length)) == mac;
    };
    std::lock_guard<std::mutex> lock(_pendingMutex);
    if (type == 10) {
        // The engine sends its result texts untranslated.
        const std::int32_t state = text == QLatin1String("Login Successful") ? 1001 : 1002;
        for (DeviceResultInfo& record : _rebootList) {
            if (sameMac(record.mac, sizeof(record.mac)))
                record.loginState = state;
        }
        for (NetInfoResultInfo& record : _netInfoList) {
            if (sameMac(record.mac, sizeof(record.mac)))
                record.loginState = state;
        }
        return;
    }
    QString success;
    if (type == 11)
        success = QStringLiteral("Reboot Success");
    else if (type == 12)
        success = QStringLiteral("Full Recovery Success");
    else if (type == 13)
        success = QStringLiteral("SimpleRecovery Success");
    else
        return;
    const std::int32_t status = text == success ? 1 : 2;
    for (DeviceResultInfo& record : _rebootList) {
        if (sameMac(record.mac, sizeof(record.mac)))
            record.status = status;
    }
}

void MainFrame::clearPendingLists() {
    std::lock_guard<std::mutex> lock(_pendingMutex);
    _fixtureList.clear();
    _rebootList.clear();
    _netInfoList.clear();
}
