// Every text the windows show fits its room in this platform's fonts: labels, buttons, radio
// buttons, check boxes (focused and not) and tabs of every window of the tour, and the cells of
// table columns the operator cannot widen (an elided cell passes when its tool tip holds the
// whole text).
#include "harness/QtApp.h"
#include "harness/TestDir.h"
#include "ozmlogic/ParamsMgr.h"
#include "WindowTour.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTableView>
#include <QtMath>
#include <QTextDocument>
#include <QToolTip>
#include <QHelpEvent>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Offence {
    QString where;
    QString path;
    QString text;
    int needed = 0;
    int room = 0;
};

// The widget's place in its window: object names where set, else class names.
QString widgetPath(const QWidget* widget) {
    QStringList parts;
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        parts.prepend(name.isEmpty() ? cls : cls + "#" + name);
        if (w->isWindow())
            break;
    }
    return parts.join('/');
}

// A button's caption as painted: "&&" is one ampersand, a single "&" marks the mnemonic.
QString shownCaption(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == '&' && i + 1 < text.size())
            ++i;
        out += text.at(i);
    }
    return out;
}

int lineWidth(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

class RoomCheck {
public:
    void visit(QWidget* window, const QString& where) {
        _where = where;
        checkOne(window);
        // A tool tip shown for one cell deletes the label of an earlier tip, which may be a child
        // listed here: each widget is checked only while it still exists, tip labels not at all.
        std::vector<QPointer<QWidget>> children;
        for (QWidget* widget : window->findChildren<QWidget*>())
            children.emplace_back(widget);
        for (const QPointer<QWidget>& widget : children) {
            if (widget && !widget->inherits("QTipLabel"))
                checkOne(widget);
        }
    }

    QString report() const {
        QString out;
        for (const Offence& o : _offences)
            out += QStringLiteral("  %1 | %2 | \"%3\" needs %4 px, has %5 px\n")
                       .arg(o.where, o.path, o.text)
                       .arg(o.needed)
                       .arg(o.room);
        return out;
    }
    int count() const { return _offences.size(); }
    int widgetsChecked() const { return _checked; }

private:
    void checkOne(QWidget* widget) {
        if (!widget->isVisible())
            return;
        if (auto* label = qobject_cast<QLabel*>(widget))
            checkLabel(label);
        else if (auto* button = qobject_cast<QPushButton*>(widget))
            checkButton(button, QStyle::SE_PushButtonContents);
        else if (auto* check = qobject_cast<QCheckBox*>(widget))
            checkButton(check, QStyle::SE_CheckBoxContents);
        else if (auto* radio = qobject_cast<QRadioButton*>(widget))
            checkButton(radio, QStyle::SE_RadioButtonContents);
        else if (auto* tabs = qobject_cast<QTabBar*>(widget))
            checkTabs(tabs);
        else if (auto* view = qobject_cast<QAbstractItemView*>(widget))
            checkCells(view);
    }

    void offend(const QWidget* widget, const QString& text, int needed, int room) {
        const QString key = widgetPath(widget) + '\n' + text;
        if (_seen.contains(key))
            return;
        _seen.insert(key);
        _offences.push_back({_where, widgetPath(widget), text, needed, room});
    }

    void checkLabel(QLabel* label) {
        // A label with a buddy paints its mnemonic "&" as an underline, as a button does.
        const QString text = label->buddy() ? shownCaption(label->text()) : label->text();
        if (text.isEmpty())
            return;
        ++_checked;
        const int margin = label->margin();
        QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        if (label->indent() > 0)
            room.setWidth(room.width() - label->indent());
        const QFontMetrics metrics(label->font());
        const bool rich = label->textFormat() == Qt::RichText ||
                          (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
        if (rich) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            document.setHtml(text);
            if (!label->wordWrap()) {
                const int needed = qCeil(document.idealWidth());
                if (needed > room.width())
                    offend(label, document.toPlainText(), needed, room.width());
                return;
            }
            document.setTextWidth(room.width());
            const int needed = qCeil(document.size().height());
            if (needed > room.height())
                offend(label, document.toPlainText(), needed, room.height());
            return;
        }
        if (!label->wordWrap()) {
            const int needed = lineWidth(metrics, text);
            if (needed > room.width())
                offend(label, text, needed, room.width());
            return;
        }
        // A wrapped label breaks between words: a single word must fit, and so must the lines.
        for (const QString& word : text.split(QRegExp("\\s+"), Qt::SkipEmptyParts)) {
            const int needed = metrics.horizontalAdvance(word);
            if (needed > room.width() && !containsCjk(word)) {
                offend(label, text, needed, room.width());
                return;
            }
        }
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 100000),
                                                   int(label->alignment()) | Qt::TextWordWrap, text);
        if (wrapped.height() > room.height())
            offend(label, text + " (height)", wrapped.height(), room.height());
    }

    static bool containsCjk(const QString& word) {
        for (const QChar c : word) {
            if (c.unicode() >= 0x2E80)
                return true; // the line breaker may break between these characters
        }
        return false;
    }

    void checkButton(QAbstractButton* button, QStyle::SubElement contents) {
        const QString text = shownCaption(button->text());
        if (text.isEmpty())
            return;
        ++_checked;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            if (push->isDefault())
                option.features |= QStyleOptionButton::DefaultButton;
            if (push->autoDefault())
                option.features |= QStyleOptionButton::AutoDefaultButton;
            if (push->isFlat())
                option.features |= QStyleOptionButton::Flat;
        }
        QStyle* style = button->style();
        auto roomOf = [&](const QStyleOptionButton& look) {
            int width = style->subElementRect(contents, &look, button).width();
            if (contents == QStyle::SE_PushButtonContents)
                width -= style->pixelMetric(QStyle::PM_ButtonMargin, &look, button);
            return width;
        };
        // The caption is checked in both looks: a focus ring must not take its room.
        int room = roomOf(option);
        if (button->focusPolicy() & Qt::TabFocus) {
            QStyleOptionButton focused = option;
            focused.state |= QStyle::State_HasFocus;
            QStyleOptionButton unfocused = option;
            unfocused.state &= ~QStyle::State_HasFocus;
            room = std::min(roomOf(focused), roomOf(unfocused));
        }
        if (!button->icon().isNull())
            room -= button->iconSize().width() + 4;
        const int needed = lineWidth(button->fontMetrics(), text);
        if (needed > room)
            offend(button, text, needed, room);
    }

    void checkTabs(QTabBar* tabs) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QString text = shownCaption(tabs->tabText(i));
            if (text.isEmpty() || !tabs->isTabVisible(i))
                continue;
            ++_checked;
            QStyleOptionTab option;
            option.initFrom(tabs);
            option.rect = tabs->tabRect(i);
            option.text = tabs->tabText(i);
            option.shape = tabs->shape();
            option.icon = tabs->tabIcon(i);
            option.iconSize = tabs->iconSize();
            option.documentMode = tabs->documentMode();
            const int room = tabs->style()->subElementRect(QStyle::SE_TabBarTabText, &option, tabs).width();
            const int needed = tabs->fontMetrics().horizontalAdvance(text);
            if (needed > room)
                offend(tabs, text, needed, room);
        }
    }

    // The tool tip the view shows when the pointer rests on a cell.
    static QString toolTipAt(QAbstractItemView* view, const QRect& cell) {
        QToolTip::hideText();
        const QPoint at = cell.center();
        QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view->viewport(), &event);
        const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return tip;
    }

    // Cells of the columns the operator cannot widen (fixed ones, and a stretched one when no
    // other column can be dragged) must fit or be elided with the whole text as their tool tip;
    // a cell cut in a column the operator can widen needs the tool tip alone.
    void checkCells(QAbstractItemView* view) {
        QAbstractItemModel* model = view->model();
        auto* table = qobject_cast<QTableView*>(view);
        if (!model || !table)
            return;
        QHeaderView* header = table->horizontalHeader();
        const int columns = model->columnCount();
        auto stretched = [&](int c) {
            return header->sectionResizeMode(c) == QHeaderView::Stretch ||
                   (header->stretchLastSection() && c == columns - 1);
        };
        bool anyInteractive = false;
        for (int c = 0; c < columns; ++c)
            anyInteractive =
                anyInteractive || (!stretched(c) && header->sectionResizeMode(c) == QHeaderView::Interactive);
        QStyle* style = view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        for (int c = 0; c < columns; ++c) {
            if (table->isColumnHidden(c))
                continue;
            const bool fixed =
                header->sectionResizeMode(c) == QHeaderView::Fixed || (stretched(c) && !anyInteractive);
            for (int r = 0; r < model->rowCount(); ++r) {
                const QModelIndex index = model->index(r, c);
                const QRect cell = table->visualRect(index);
                const QString text = index.data(Qt::DisplayRole).toString();
                if (text.isEmpty() || !view->viewport()->rect().contains(cell.center()))
                    continue;
                ++_checked;
                QStyleOptionViewItem option;
                option.initFrom(view);
                option.rect = cell;
                option.text = text;
                option.features = QStyleOptionViewItem::HasDisplay;
                const QVariant cellFont = index.data(Qt::FontRole);
                if (cellFont.isValid())
                    option.font = cellFont.value<QFont>().resolve(view->font());
                if (!index.data(Qt::DecorationRole).isNull()) {
                    option.features |= QStyleOptionViewItem::HasDecoration;
                    option.decorationSize = view->iconSize();
                }
                const int room =
                    style->subElementRect(QStyle::SE_ItemViewItemText, &option, view).width() - 2 * margin;
                const int needed = QFontMetrics(option.font).horizontalAdvance(text);
                if (needed <= room)
                    continue;
                const bool tip = toolTipAt(view, cell) == text;
                const bool elided = view->textElideMode() != Qt::ElideNone;
                if (!tip || (fixed && !elided))
                    offend(view,
                           QStringLiteral("column %1%2: %3").arg(c).arg(tip ? "" : " (no tool tip)", text),
                           needed, room);
            }
        }
    }

    QString _where;
    std::vector<Offence> _offences;
    QSet<QString> _seen;
    int _checked = 0;
};

class TextWidthTest : public mwtest::TourTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TextWidthTest, EveryTextFitsItsRoom) {
    const QString language = QString::fromLatin1(GetParam());
    RoomCheck check;
    mwtest::WindowTour tour([&](QWidget* window, const QString& where) { check.visit(window, where); });
    ASSERT_TRUE(tour.run(language)) << tour.error().toStdString();

    // What is measured here is what a real run shows: a base font set in pixels measures the same
    // on every platform plugin (a point size follows each plugin's own resolution and default),
    // and Chinese comes from the installed CJK font, one em per character.
    const QFont base = QApplication::font();
    EXPECT_GT(base.pixelSize(), 0) << base.toString().toStdString();
    if (language == "zh_CN") {
        EXPECT_GE(QFontMetrics(base).horizontalAdvance(QString::fromUtf8("\xe4\xb8\xad")), base.pixelSize())
            << "no font for Chinese";
    }
    EXPECT_GT(tour.visits().size(), 40);
    EXPECT_GT(check.widgetsChecked(), 300);
    EXPECT_EQ(check.count(), 0) << "texts wider than their room (" << language.toStdString() << "):\n"
                                << check.report().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, TextWidthTest, ::testing::Values("en_US", "zh_CN"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param == std::string("zh_CN") ? "Chinese" : "English");
                         });

} // namespace
