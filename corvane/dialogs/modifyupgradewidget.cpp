#include "modifyupgradewidget.h"

#include "Cmodifyupgradeview.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmapCache>
#include <QTimer>
#include <QVBoxLayout>

#include "tarsel/ReturnKeyGuard.h"
#include "winport/WinPort.h"

modifyupgradewidget::modifyupgradewidget(QWidget* parent) : QDialog(parent) {
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(750, 406);
    ReturnKeyGuard::install(this); // no frame: the guard of its own

    upgradeView = new Cmodifyupgradeview(this);

    auto* countFrame = new QFrame(this);
    countFrame->setFixedHeight(32);
    modifyNumberLabel = new QLabel(countFrame);
    modifyNumberValue = new QLabel("0", countFrame);
    failedNumberLabel = new QLabel(countFrame);
    failedNumberValue = new QLabel("0", countFrame);
    auto* countLayout = new QHBoxLayout(countFrame);
    countLayout->setSpacing(0);
    countLayout->setContentsMargins(26, 0, 0, 5);
    countLayout->addWidget(modifyNumberLabel);
    countLayout->addSpacing(15);
    countLayout->addWidget(modifyNumberValue);
    countLayout->addSpacing(30);
    countLayout->addWidget(failedNumberLabel);
    countLayout->addSpacing(15);
    countLayout->addWidget(failedNumberValue);
    countLayout->addStretch();

    auto* bottomLayout = new QHBoxLayout;
    bottomLayout->setContentsMargins(0, 0, 26, 4);
    bottomLayout->addStretch();

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(countFrame);
    mainLayout->addWidget(upgradeView);
    mainLayout->addLayout(bottomLayout);
    mainLayout->setContentsMargins(7, 0, 7, 14);
    mainLayout->setSpacing(0);

    connect(upgradeView, &Cmodifyupgradeview::updateTotal, this, &modifyupgradewidget::updateCount);

    modifyNumberLabel->setText(tr("Modify number:"));
    failedNumberLabel->setText(tr("Failed number:"));
    // The system title bar shows the program name when the window names nothing.
    setWindowTitle(tr("Firmware Upgrade"));

    stallTimer = new QTimer(this);
    connect(stallTimer, &QTimer::timeout, this, &modifyupgradewidget::checkStalled);
    stallTimer->start(winport::timerInterval(1000));
}

// The header's style sheet gives each of these windows a palette of its own, and the style keeps
// the header sections it draws in the pixmap cache under that palette's key: once the window is
// gone they can never be used again, yet they would stay until the cache's 10 MB are full (about
// 100 kB for every upgrade run). The cache holds only drawings: the windows still open draw theirs
// again at their next paint.
modifyupgradewidget::~modifyupgradewidget() {
    QPixmapCache::clear();
}

bool modifyupgradewidget::isEndState(const QString& progress) {
    return progress == QLatin1String("100") || progress == QLatin1String("-1") ||
           progress == QLatin1String("-2") || progress == QLatin1String("-3") ||
           progress == QLatin1String("0");
}

void modifyupgradewidget::setUpgradeResults(QList<QStringList> results) {
    if (results.isEmpty())
        return;
    const std::uint64_t now = GetTickCount();
    int failed = 0;
    for (const QStringList& entry : results) {
        const QString ip = entry.value(ColIp);
        const QString progress = entry.value(ColProgress);
        bool ok = false;
        const int number = progress.toInt(&ok, 10);
        if (!ok || number <= 0)
            ++failed;
        const auto last = lastProgress.constFind(ip);
        if (last == lastProgress.constEnd() || last->value != progress)
            lastProgress.insert(ip, Progress{progress, now});
        upgradeView->appendRow({ip, progress, entry.value(ColState)});
    }
    setFailedCount(failed);
}

void modifyupgradewidget::refreshView() {
    upgradeView->clearRows();
}

void modifyupgradewidget::setFailedCount(int count) {
    failedNumberValue->setText(QString::number(count));
}

void modifyupgradewidget::updateCount(int count) {
    modifyNumberValue->setText(QString::number(count));
}

QString modifyupgradewidget::modifyNumberText() const {
    return modifyNumberValue->text();
}

QString modifyupgradewidget::failedNumberText() const {
    return failedNumberValue->text();
}

void modifyupgradewidget::checkStalled() {
    if (!isVisible())
        return;
    const std::uint64_t now = GetTickCount();
    QList<QStringList> rows;
    QStringList stalled;
    for (int r = 0; r < upgradeView->rowCount(); ++r) {
        QStringList row{upgradeView->getData(r, ColIp).toString(),
                        upgradeView->getData(r, ColProgress).toString(),
                        upgradeView->getData(r, ColState).toString()};
        const auto it = lastProgress.constFind(row[ColIp]);
        if (!isEndState(row[ColProgress]) && it != lastProgress.constEnd() &&
            now - it->since >= kStallLimitMs) {
            row[ColProgress] = QStringLiteral("0");
            row[ColState] = tr("Upgrade failed!");
            if (!stalled.contains(row[ColIp]))
                stalled << row[ColIp];
        }
        rows << row;
    }
    if (stalled.isEmpty())
        return;
    refreshView();
    setUpgradeResults(rows);
    for (const QString& ip : stalled)
        emit upgradeStalled(ip);
}

bool modifyupgradewidget::refuseWhileUpgrading() {
    for (int r = 0; r < upgradeView->rowCount(); ++r) {
        if (!isEndState(upgradeView->getData(r, ColProgress).toString())) {
            QMessageBox::information(this, tr("Hint"), tr("Please wait for device upgrade!"),
                                     QMessageBox::Ok);
            return true;
        }
    }
    return false;
}

void modifyupgradewidget::closeEvent(QCloseEvent* event) {
    if (!isVisible())
        return;
    if (refuseWhileUpgrading()) {
        event->ignore();
        return;
    }
    m_closeChecked = true;
    QDialog::closeEvent(event);
    m_closeChecked = false;
}

void modifyupgradewidget::reject() {
    // A close that already passed the check reaches here through the base class.
    if (isVisible() && !m_closeChecked && refuseWhileUpgrading())
        return;
    QDialog::reject();
}
