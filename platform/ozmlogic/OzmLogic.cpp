#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include "quillet/Quillet.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int kRegularFontPixels = 14;
constexpr int kNormalFontPixels = 13;
// The windows' base font: 9 pt at 96 dpi, the size their rectangles were drawn for. Set in pixels
// so that every platform plugin (a display, Xvfb, offscreen) measures the same text the same way.
constexpr int kBaseFontPixels = 12;
const char* const kTipLabelName = "tipNotifyLabel";

QFont baseFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kBaseFontPixels);
    return font;
}

QFont framedFont(int pixels) {
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    return font;
}

} // namespace

OzmLogic* OzmLogic::instance() {
    static OzmLogic logic;
    return &logic;
}

QString OzmLogic::configDir() {
    // The store's folder: the start-up check must probe the folder the store writes to.
    return ParamsMgr::defaultFolder();
}

bool OzmLogic::init(QApplication* app) {
    if (!app) {
        Qx_Write_Log(300, "OzmLogic::init", "no application object");
        return false;
    }
    const QString dir = configDir();
    if (!QDir().mkpath(dir)) {
        Qx_Write_Log(300, "OzmLogic::init", "cannot create the configuration folder %s",
                     QFile::encodeName(dir).constData());
        return false;
    }
    QTemporaryFile probe(dir + "/.probe-XXXXXX");
    if (!probe.open()) {
        Qx_Write_Log(300, "OzmLogic::init", "configuration folder %s is not writable",
                     QFile::encodeName(dir).constData());
        return false;
    }
    QApplication::setFont(baseFont());
    m_initialized = true;
    Qx_Write_Log(600, "OzmLogic::init", "configuration folder %s", QFile::encodeName(dir).constData());
    loadTranslation(ozmParamsMgr()->currentLanCode());
    return true;
}

void OzmLogic::unInit() {
    if (!m_initialized) {
        return;
    }
    m_initialized = false;
    Qx_Write_Log(600, "OzmLogic::unInit", "framework shut down");
}

bool OzmLogic::isInitialized() const {
    return m_initialized;
}

void OzmLogic::setMyFontRegular(QWidget* widget) {
    if (widget) {
        widget->setFont(framedFont(kRegularFontPixels));
    }
}

void OzmLogic::setMyFontNormal(QWidget* widget) {
    if (widget) {
        widget->setFont(framedFont(kNormalFontPixels));
    }
}

void OzmLogic::setMyFixedSize(QWidget* widget, const QSize& size) {
    if (widget) {
        widget->setFixedSize(getMyWidth(size.width()), getMyHeight(size.height()));
    }
}

void OzmLogic::setMyFixedSize(QWidget* widget, int width, int height) {
    setMyFixedSize(widget, QSize(width, height));
}

void OzmLogic::setMyFixedWidth(QWidget* widget, int width) {
    if (widget) {
        widget->setFixedWidth(getMyWidth(width));
    }
}

void OzmLogic::setMyFixedHeight(QWidget* widget, int height) {
    if (widget) {
        widget->setFixedHeight(getMyHeight(height));
    }
}

int OzmLogic::getMyHeight(int height) {
    return height;
}

int OzmLogic::getMyWidth(int width) {
    return width;
}

void OzmLogic::tipNotify(QWidget* widget, const QString& text) {
    if (!widget) {
        return;
    }
    auto* label = widget->findChild<QLabel*>(kTipLabelName, Qt::FindDirectChildrenOnly);
    if (!label) {
        label = new QLabel(widget);
        label->setObjectName(kTipLabelName);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setStyleSheet("QLabel{color: #F73F2E; font-size: 12px; background: transparent;}");
        auto* layout = new QVBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(label);
    }
    label->setText(text);
}
