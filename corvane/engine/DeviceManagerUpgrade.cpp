// The firmware-upgrade batch: starts the upgrade on every checked device the engine is
// logged in to and keeps one line per device address in the upgrade window.
#include "DeviceManager.h"

#include "DeviceTableRow.h"
#include "modifyupgradewidget.h"
#include "kvxnet/KvxNetSdk.h"

#include <QDebug>
#include <QFile>
#include <QMutexLocker>
#include <QTextCodec>

#include <cstring>
#include <memory>

namespace {

// The device's IP is item 1 both of a device row and of the SDK callback's [MAC, IP].
constexpr int kIpItem = 1;
static_assert(kIpItem == DeviceColumn::Ip, "the IP column of a device row");

} // namespace

void DeviceManager::batchUpgrade(QVector<QStringList> rows, QString filePath) {
    {
        QMutexLocker lock(&m_upgradeLock);
        m_upgradeResults.clear();
        m_upgradeKeys.clear();
    }
    // A window of an earlier batch stays, hidden, as the engine's child; only the current one
    // reports stalled devices.
    if (m_upgradeWindow)
        disconnect(m_upgradeWindow, nullptr, this, nullptr);
    m_upgradeWindow = new modifyupgradewidget(this);
    connect(m_upgradeWindow, &modifyupgradewidget::upgradeStalled, this, &DeviceManager::onUpgradeStalled);
    connect(this, &DeviceManager::upgradeDate, this, &DeviceManager::onUpgradeProgress, Qt::UniqueConnection);

    // The SDK takes the path as local 8-bit text in a 512-byte buffer.
    char cfilePath[512];
    std::memset(cfilePath, 0, sizeof cfilePath);
    QTextCodec* codec = QTextCodec::codecForName("GBK");
    const QByteArray local = codec ? codec->fromUnicode(filePath) : filePath.toLocal8Bit();
    std::memcpy(cfilePath, local.constData(), std::min<std::size_t>(local.size(), sizeof cfilePath - 1));
    qDebug() << "cfilePath" << cfilePath;

    for (const QStringList& row : rows) {
        for (const LoginSlot& slot : slotsForMac(row.value(DeviceColumn::Mac).toStdString())) {
            if (!slot.loggedIn()) {
                onUpgradeProgress(row, -2);
                continue;
            }
            auto property = std::make_unique<KvxUpgradeFileProperty>();
            std::memset(property.get(), 0, sizeof(KvxUpgradeFileProperty));
            // The file is opened by its own name; the SDK gets the local 8-bit text.
            QFile file(filePath);
            if (!file.open(QIODevice::ReadOnly)) {
                qDebug() << "error cfilePath" << cfilePath;
                onUpgradeProgress(row, -3);
                continue;
            }
            file.read(reinterpret_cast<char*>(property->header), sizeof property->header);
            file.close();
            const int handle = static_cast<int>(slot.hIPCLogin);
            if (KVX_NET_GetUpgradeFileProperty(handle, property.get()) == KVX_UPGRADE_PACKAGE_REJECTED) {
                qDebug() << "Failed";
                onUpgradeProgress(row, -3);
                continue;
            }
            if (KVX_NET_Upgrade(handle, cfilePath) == 0) {
                qDebug() << "Success";
            } else {
                qDebug() << "Failed";
                onUpgradeProgress(row, -1);
            }
        }
    }
    if (!m_upgradeWindow->isVisible())
        m_upgradeWindow->exec();
}

void DeviceManager::onUpgradeProgress(QStringList row, int num) {
    QString number;
    QString state;
    switch (num) {
    case -3:
        number = QStringLiteral("0");
        state = tr("Package error!");
        break;
    case -2:
        number = QStringLiteral("0");
        state = tr("Connect Failed!");
        break;
    case -1:
        number = QStringLiteral("0");
        state = tr("Upgrade failed!");
        break;
    case 100:
        number = QStringLiteral("100");
        state = tr("Upgrade Success!");
        break;
    case 0:
        number = QStringLiteral("1"); // a running upgrade is never shown as failed
        state = tr("Upgrading...");
        break;
    default:
        number = QString::number(num);
        state = tr("Upgrading...");
        break;
    }
    const QString ip = row.value(kIpItem);
    const QStringList entry{ip, number, state};

    QMutexLocker lock(&m_upgradeLock);
    const int index = m_upgradeKeys.indexOf(ip);
    if (index >= 0) {
        m_upgradeResults[index] = entry;
    } else {
        m_upgradeResults.append(entry);
        m_upgradeKeys.append(ip);
    }
    if (m_upgradeWindow) {
        m_upgradeWindow->refreshView();
        m_upgradeWindow->setUpgradeResults(m_upgradeResults);
    }
}

void DeviceManager::onUpgradeStalled(const QString& ip) {
    onUpgradeProgress({QString(), ip}, -1);
}

QList<QStringList> DeviceManager::upgradeResults() {
    QMutexLocker lock(&m_upgradeLock);
    return m_upgradeResults;
}
