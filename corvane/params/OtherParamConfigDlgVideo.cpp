// Page 5, video: the main and sub stream's encoding settings, side by side.
#include "OtherParamConfigDlg.h"

#include "ParamPageKit.h"
#include "ozmlogic/ParamsMgr.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstdint>

using pagekit::Cell;

namespace {

constexpr int kMainLabelWidth = 150;
constexpr int kSubLabelWidth = 169;
constexpr int kLabelHeight = 20;
constexpr int kControlWidth = 190;
constexpr int kControlHeight = 30;
constexpr int kLabelGap = 4;
constexpr int kColumnGap = 20;

// The combo index a stored value selects. A value the list does not hold shows the item that
// the record says the value is read as (fallback), so an unchanged save keeps its meaning and
// never writes -1.
int indexFor(std::uint32_t stored, int count, int fallback) {
    const auto value = static_cast<std::int32_t>(stored);
    return value >= 0 && value < count ? value : fallback;
}

QStringList frameRates() {
    QStringList items;
    for (int rate = 1; rate <= 30; ++rate)
        items << QString::number(rate);
    return items;
}

// Selects the frame rate whose text is the stored number; a number outside the list leaves the
// current item.
void selectFrameRate(QComboBox* combo, std::uint32_t stored) {
    const int index = combo->findText(QString::number(static_cast<std::int32_t>(stored)));
    if (index >= 0)
        combo->setCurrentIndex(index);
}

std::uint32_t word(int value) {
    return static_cast<std::uint32_t>(value);
}

} // namespace

void OtherParamConfigDlg::createVideoPage() {
    QWidget* content = createPageFrame(OZM::FamilyVideo);
    auto mainLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", kMainLabelWidth, kLabelHeight);
    };
    auto subLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", kSubLabelWidth, kLabelHeight);
    };
    auto combo = [&](const QStringList& items, int selected) {
        QComboBox* box = pagekit::comboBox(content, items, kControlWidth, kControlHeight);
        box->setCurrentIndex(selected);
        return box;
    };
    auto edit = [&](const char* text) {
        return pagekit::lineEdit(content, "settinglineEdit", kControlWidth, kControlHeight,
                                 QString::fromLatin1(text));
    };
    const QStringList codecs = {tr("H.264"), tr("H.265")};
    const QStringList modes = {tr("VBR"), tr("CBR")};

    _mainStreamCombo = combo({tr("Main Stream")}, 0);
    _mainStreamCombo->setEnabled(false);
    _subStreamCombo = combo({tr("Sub Stream")}, 0);
    _subStreamCombo->setEnabled(false);
    _mainCodecCombo = combo(codecs, 0);
    _subCodecCombo = combo(codecs, 1);
    _mainResolutionCombo = combo({tr("2304*1296"), tr("1920*1080"), tr("1280*720")}, 0);
    _subResolutionCombo = combo({tr("720*480"), tr("640*480")}, 0);
    _mainFrameRateCombo = combo(frameRates(), 24);
    _subFrameRateCombo = combo(frameRates(), 19);
    _mainBitrateEdit = edit("2048");
    _subBitrateEdit = edit("512");
    _mainBitrateModeCombo = combo(modes, 0);
    _subBitrateModeCombo = combo(modes, 0);
    _mainIFrameEdit = edit("75");
    _subIFrameEdit = edit("75");
    _h265PlusCombo = combo({tr("Disable"), tr("Enable")}, 0);

    struct Row {
        const char* caption;
        QWidget* main;
        QWidget* sub;
    };
    const Row rows[] = {
        {QT_TR_NOOP("Stream Type:"), _mainStreamCombo, _subStreamCombo},
        {QT_TR_NOOP("Video Encoding:"), _mainCodecCombo, _subCodecCombo},
        {QT_TR_NOOP("Resolution:"), _mainResolutionCombo, _subResolutionCombo},
        {QT_TR_NOOP("Frame Rate:"), _mainFrameRateCombo, _subFrameRateCombo},
        {QT_TR_NOOP("Bitrate:"), _mainBitrateEdit, _subBitrateEdit},
        {QT_TR_NOOP("Vary(Fix) Bitrate:"), _mainBitrateModeCombo, _subBitrateModeCombo},
        {QT_TR_NOOP("I Frame Interval:"), _mainIFrameEdit, _subIFrameEdit},
        {QT_TR_NOOP("H265+:"), _h265PlusCombo, nullptr},
    };
    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(18);
    layout->setContentsMargins(0, 30, 0, 0);
    for (const Row& row : rows) {
        const QString caption = tr(row.caption);
        if (row.sub)
            layout->addLayout(pagekit::row({{mainLabel(caption)},
                                            {row.main, kLabelGap},
                                            {subLabel(caption), kColumnGap},
                                            {row.sub, kLabelGap}}));
        else
            layout->addLayout(pagekit::row({{mainLabel(caption)}, {row.main, kLabelGap}}));
    }
    layout->addStretch();

    OZM::_SC_SETVIDEO_DATA_ info{};
    ozmParamsMgr()->getVideoInfo(&info);
    _mainStreamCombo->setCurrentIndex(0);
    _subStreamCombo->setCurrentIndex(0);
    // Any non-zero codec is H.265; a main resolution outside the list is 1280*720, a non-zero
    // sub resolution 640*480.
    _mainCodecCombo->setCurrentIndex(indexFor(info.mainCodec, 2, 1));
    _subCodecCombo->setCurrentIndex(indexFor(info.subCodec, 2, 1));
    _mainResolutionCombo->setCurrentIndex(indexFor(info.mainResolution, 3, 2));
    _subResolutionCombo->setCurrentIndex(indexFor(info.subResolution, 2, 1));
    selectFrameRate(_mainFrameRateCombo, info.mainFrameRate);
    selectFrameRate(_subFrameRateCombo, info.subFrameRate);
    _mainBitrateEdit->setText(QString::number(static_cast<std::int32_t>(info.mainBitrate)));
    _subBitrateEdit->setText(QString::number(static_cast<std::int32_t>(info.subBitrate)));
    _mainBitrateModeCombo->setCurrentIndex(indexFor(info.mainBitrateMode, 2, 0));
    _subBitrateModeCombo->setCurrentIndex(indexFor(info.subBitrateMode, 2, 0));
    _mainIFrameEdit->setText(QString::number(static_cast<std::int32_t>(info.mainIFrameInterval)));
    _subIFrameEdit->setText(QString::number(static_cast<std::int32_t>(info.subIFrameInterval)));
    _h265PlusCombo->setCurrentIndex(indexFor(info.mainH265Plus, 2, 0));
}

void OtherParamConfigDlg::saveVideoInfo() {
    OZM::_SC_SETVIDEO_DATA_ info{};
    info.mainStream = 0;
    info.subStream = 0;
    info.mainCodec = word(_mainCodecCombo->currentIndex());
    info.subCodec = word(_subCodecCombo->currentIndex());
    info.mainResolution = word(_mainResolutionCombo->currentIndex());
    info.subResolution = word(_subResolutionCombo->currentIndex());
    info.mainFrameRate = word(pagekit::number(_mainFrameRateCombo->currentText()));
    info.subFrameRate = word(pagekit::number(_subFrameRateCombo->currentText()));
    info.mainBitrate = word(pagekit::number(_mainBitrateEdit->text()));
    info.subBitrate = word(pagekit::number(_subBitrateEdit->text()));
    info.mainBitrateMode = word(_mainBitrateModeCombo->currentIndex());
    info.subBitrateMode = word(_subBitrateModeCombo->currentIndex());
    info.mainIFrameInterval = word(pagekit::number(_mainIFrameEdit->text()));
    info.subIFrameInterval = word(pagekit::number(_subIFrameEdit->text()));
    info.mainH265Plus = word(_h265PlusCombo->currentIndex());
    ozmParamsMgr()->setVideoInfo(&info);
}
