// Small builders the parameter pages share: captioned labels, edits and lists at design sizes,
// and rows closed by a stretch.
#pragma once

#include "ozmlogic/OzmLogic.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRegExp>
#include <QRegExpValidator>
#include <QStringList>
#include <QVBoxLayout>

#include <initializer_list>

namespace pagekit {

// Four decimal numbers 0..255 without leading zeros, separated by points.
inline const char* addressPattern() {
    return "((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])[\\.]){3}"
           "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])";
}

inline QRegExpValidator* patternValidator(const char* pattern, QObject* parent) {
    return new QRegExpValidator(QRegExp(QString::fromLatin1(pattern), Qt::CaseSensitive, QRegExp::RegExp),
                                parent);
}

constexpr Qt::Alignment kRightAligned = Qt::AlignRight | Qt::AlignTop | Qt::AlignVCenter;
constexpr Qt::Alignment kLeftAligned = Qt::AlignLeft | Qt::AlignTop | Qt::AlignVCenter;

inline QLabel* label(QWidget* parent, const QString& text, const char* name, int width, int height,
                     Qt::Alignment alignment = kRightAligned) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    if (width > 0)
        OzmLogic::setMyFixedWidth(result, width);
    if (height > 0)
        OzmLogic::setMyFixedHeight(result, height);
    result->setAlignment(alignment);
    return result;
}

inline QLineEdit* lineEdit(QWidget* parent, const char* name, int width, int height,
                           const QString& text = {}) {
    auto* result = new QLineEdit(text, parent);
    result->setObjectName(name);
    OzmLogic::setMyFixedWidth(result, width);
    OzmLogic::setMyFixedHeight(result, height);
    return result;
}

inline QComboBox* comboBox(QWidget* parent, const QStringList& items, int width, int height) {
    auto* result = new QComboBox(parent);
    result->setObjectName("comboBox");
    result->setView(new QListView(result));
    result->addItems(items);
    OzmLogic::setMyFixedWidth(result, width);
    OzmLogic::setMyFixedHeight(result, height);
    return result;
}

// A row of widgets with the given gaps before each (0: none), closed by a stretch.
struct Cell {
    QWidget* widget;
    int gapBefore = 0;
};

inline QHBoxLayout* row(std::initializer_list<Cell> cells, int spacing = 0) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Cell& cell : cells) {
        if (cell.gapBefore > 0)
            layout->addSpacing(cell.gapBefore);
        layout->addWidget(cell.widget);
    }
    layout->addStretch();
    return layout;
}

// The network pages' column of rows in content: spacing 12, top margin 10.
inline QVBoxLayout* pageLayout(QWidget* content) {
    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(12);
    layout->setContentsMargins(0, 10, 0, 0);
    return layout;
}

// A sunken horizontal line of width 1, 782 x 1, named "splitLine".
inline QFrame* splitLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName("splitLine");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setLineWidth(1);
    OzmLogic::setMyFixedSize(line, QSize(782, 1));
    return line;
}

// A save refused by a page's check: the message to show and the field it points at.
struct Refusal {
    QString message;
    QWidget* field = nullptr;
};

// A decimal int of an edit's text; empty, non-numeric or out-of-range text gives 0.
inline int number(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace pagekit
