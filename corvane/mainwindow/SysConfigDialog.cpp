#include "SysConfigDialog.h"

#include "dialogs/TipDialog.h"
#include "dialogs/FramelessDialogFrame.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QTextCodec>

namespace {

constexpr int kMinSearchTime = 5;
constexpr int kMaxSearchTime = 10;
const char* const kLabelStyle = "QLabel{font-size: 14px;color: #333333;}";

QLabel* makeLabel(const QString& text, const QRect& geometry, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setStyleSheet(kLabelStyle);
    return label;
}

} // namespace

SysConfigDialog::SysConfigDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);

    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(
        this, 510, 237,
        "background: #F2F2F2;         box-shadow: 0px 2px 16px 0px rgba(0, 0, 0, 0.5);  "
        "       border-radius: 10px;border: 1px solid #ADADAD;");
    frame.titleLabel->setText(tr("SysConfig"));
    _closeBtn = frame.closeButton;
    connect(_closeBtn, &QPushButton::clicked, this, &SysConfigDialog::onCloseBtnClicked);

    makeLabel(tr("Language:"), QRect(0, 70, 145, 30), Qt::AlignRight, this);
    _languageBox = new QComboBox(this);
    _languageBox->setView(new QListView(_languageBox));
    _languageBox->setGeometry(150, 70, 166, 30);
    _languageBox->addItem(tr("English"));
    _languageBox->addItem(tr("Chinese"));
    _languageBox->setCurrentText(ozmParamsMgr()->currentLanCode() == "zh_CN" ? tr("Chinese") : tr("English"));
    makeLabel(tr("(Effect after restart)"), QRect(326, 70, 180, 30), Qt::AlignLeft, this);

    makeLabel(tr("Search Time:"), QRect(0, 118, 145, 30), Qt::AlignRight, this);
    _searchTimeEdit = new QLineEdit(this);
    _searchTimeEdit->setGeometry(150, 118, 166, 30);
    _searchTimeEdit->setValidator(new QIntValidator(kMinSearchTime, kMaxSearchTime, _searchTimeEdit));
    _searchTimeEdit->setText(QString::number(ozmParamsMgr()->getSearchTime()));
    makeLabel(tr("(5-10 seconds)"), QRect(326, 118, 180, 30), Qt::AlignLeft, this);

    _saveBtn = new QPushButton(tr("Save"), this);
    _saveBtn->setGeometry(406, 188, 88, 30);
    connect(_saveBtn, &QPushButton::clicked, this, &SysConfigDialog::onSaveDate);
    connect(_searchTimeEdit, &QLineEdit::textChanged, this, &SysConfigDialog::onCheckSearchTime);

    _dragging = false;
    _dragArea = rect();
}

QString SysConfigDialog::pelloraIniPath() {
    // CORVANE_PROGRAM_DIR stands in for the program folder (tests run many programs from one).
    const QString programDir = qEnvironmentVariable("CORVANE_PROGRAM_DIR");
    return (programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir) +
           "/Pellora/PelloraInfo.ini";
}

void SysConfigDialog::onCloseBtnClicked() {
    close();
}

void SysConfigDialog::onCheckSearchTime(QString searchTime) {
    bool ok = false;
    const int seconds = searchTime.toInt(&ok, 10);
    if (ok && seconds >= kMinSearchTime && seconds <= kMaxSearchTime) {
        _saveBtn->setEnabled(true);
        return;
    }
    _saveBtn->setEnabled(false);
    // "1" may still become "10": keep it.
    if (!(ok && seconds == 1))
        _searchTimeEdit->clear();
}

void SysConfigDialog::onSaveDate() {
    bool ok = false;
    const int seconds = _searchTimeEdit->text().toInt(&ok, 10);
    if (!ok || seconds < kMinSearchTime || seconds > kMaxSearchTime) {
        _saveBtn->setEnabled(false);
        return;
    }
    {
        QSettings ini(pelloraIniPath(), QSettings::IniFormat);
        ini.setIniCodec(QTextCodec::codecForName("GBK"));
        ozmParamsMgr()->setSearchTime(seconds);
        QString lanCode;
        if (_languageBox->currentText() == tr("English")) {
            lanCode = "en_US";
            ini.setValue("Langugae/Chinese", "0");
            ini.setValue("Langugae/English", "1");
        } else {
            lanCode = "zh_CN";
            ini.setValue("Langugae/Chinese", "1");
            ini.setValue("Langugae/English", "0");
        }
        ozmParamsMgr()->setCurrentLanCode(lanCode);
        ini.sync();
    }
    close();

    TipDialog::showSuccess(tr("Saved successfully"));
}

void SysConfigDialog::mousePressEvent(QMouseEvent* event) {
    FramelessDialogFrame::press(event, _dragArea, _pressPos, _dragging);
}

void SysConfigDialog::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, _dragging);
}

void SysConfigDialog::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, _dragging, _pressPos);
}
