// Page 7, OSD: time and text switches, date format, position and the text, which the record
// holds in GBK.
#include "OtherParamConfigDlg.h"

#include "ParamPageKit.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextCodec>
#include <QVBoxLayout>

#include <cstring>

using pagekit::Cell;

namespace {

constexpr int kOsdTextMaxLength = 31;

QTextCodec* gbkCodec() {
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

QByteArray toGbk(const QString& text) {
    QTextCodec* codec = gbkCodec();
    return codec ? codec->fromUnicode(text) : text.toLatin1();
}

// At most the edit's length, without a lone high surrogate at the cut.
QString clipOsdText(QString text) {
    if (text.size() > kOsdTextMaxLength) {
        text.truncate(kOsdTextMaxLength);
        if (text.at(text.size() - 1).isHighSurrogate())
            text.chop(1);
    }
    return text;
}

QString osdTextFromField(const char* field, std::size_t size) {
    const QByteArray bytes(field, static_cast<int>(::strnlen(field, size)));
    QTextCodec* codec = gbkCodec();
    return clipOsdText(codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes));
}

void osdTextToField(char* field, std::size_t size, const QString& text) {
    if (size == 0)
        return;
    std::memset(field, 0, size);
    // Whole characters only, and a terminating zero always stays inside the field.
    QString kept = text;
    QByteArray bytes = toGbk(kept);
    while (static_cast<std::size_t>(bytes.size()) > size - 1 && !kept.isEmpty()) {
        kept.chop(kept.size() >= 2 && kept.at(kept.size() - 1).isLowSurrogate() ? 2 : 1);
        bytes = toGbk(kept);
    }
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void OtherParamConfigDlg::createOsdPage() {
    QWidget* content = createPageFrame(OZM::FamilyOsd);
    auto caption = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 176, 22);
    };
    auto check = [&] {
        auto* box = new QCheckBox(this);
        box->setObjectName("checkBox");
        return box;
    };

    _osdTimeCheck = check();
    _osdTextCheck = check();
    _osdDateCombo =
        pagekit::comboBox(content, {tr("YYYY/MM/DD"), tr("MM/DD/YYYY"), tr("DD/MM/YYYY")}, 294, 30);
    _osdLocationCombo = pagekit::comboBox(content, {tr("Top Left"), tr("Bottom Left")}, 294, 30);
    _osdTextEdit = pagekit::lineEdit(content, "settinglineEdit", 294, 30);
    _osdTextEdit->setMaxLength(kOsdTextMaxLength);

    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(18);
    layout->setContentsMargins(0, 30, 0, 0);
    layout->addLayout(pagekit::row({{caption(tr("Show Time:"))}, {_osdTimeCheck, 4}}));
    layout->addLayout(pagekit::row({{caption(tr("Show Text:"))}, {_osdTextCheck, 4}}));
    layout->addLayout(pagekit::row({{caption(tr("Date Format:"))}, {_osdDateCombo, 4}}));
    layout->addLayout(pagekit::row({{caption(tr("OSD Location:"))}, {_osdLocationCombo, 4}}));
    layout->addLayout(pagekit::row({{caption(tr("OSD Text:"))}, {_osdTextEdit, 4}}));
    layout->addStretch();

    OZM::_SC_SETOSD_DATA_ info{};
    ozmParamsMgr()->getOsdInfo(&info);
    _osdTimeCheck->setChecked(info.showTime != 0);
    _osdTextCheck->setChecked(info.showText != 0);
    _osdLocationCombo->setCurrentIndex(info.position != 0 ? 1 : 0);
    _osdDateCombo->setCurrentIndex(info.dateFormat <= 2 ? static_cast<int>(info.dateFormat) : 0);
    _osdTextEdit->setText(osdTextFromField(info.text, sizeof info.text));
}

void OtherParamConfigDlg::saveOsdInfo() {
    OZM::_SC_SETOSD_DATA_ info{};
    info.showTime = _osdTimeCheck->isChecked() ? 1 : 0;
    info.showText = _osdTextCheck->isChecked() ? 1 : 0;
    info.position = _osdLocationCombo->currentIndex() == 1 ? 1 : 0;
    const QString date = _osdDateCombo->currentText();
    const QString formats[] = {tr("YYYY/MM/DD"), tr("MM/DD/YYYY"), tr("DD/MM/YYYY")};
    for (std::uint32_t i = 0; i < 3; ++i)
        if (date == formats[i])
            info.dateFormat = i;
    osdTextToField(info.text, sizeof info.text, _osdTextEdit->text());
    ozmParamsMgr()->setOsdInfo(&info);
}
