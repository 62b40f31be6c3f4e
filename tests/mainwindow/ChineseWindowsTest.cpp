// Every window of the program in Chinese, on the successful and the failing paths: no visible
// text holds Latin letters beyond what stays as it is (the product name, addresses, MACs, the
// cameras' own data, units, technical names and, in the result tables, the result words), and
// the device rows keep the untranslated texts.
#include "WindowTour.h"

#include "MainFrame.h"
#include "RowTexts.h"
#include "tarsel/CTableView.h"

#include "camsim/SimControl.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"
#include "ozmlogic/ParamsMgr.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTabBar>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

// What stays as it is in every language.
const char* const kKeptPatterns[] = {
    "IPC Corvane",                                  // the product name
    R"(\b\d{1,3}(\.\d{1,3}){3}\b)",                 // addresses
    R"(\b([0-9A-Fa-f]{2}[:-]){5}[0-9A-Fa-f]{2}\b)", // MACs
    R"(https?://\S+)",                              // links
    R"(\b[\w-]+(\.[\w-]+)*\.(org|com|net|cn)\b)",   // host names
    R"((^|\s)/\S*)",                                // paths
    R"(^\[[^\]]+\]\[)",                             // the network cards' own names
    R"((?<=[\x{4e00}-\x{9fff}])\(&?[A-Z]\))", // keyboard shortcuts, as Qt's own Chinese texts write them
    // Service names of the DDNS providers and the video standard's name.
    R"(\b(Oray|NO-IP|Dyn|GB/T28181-2016)(?=\W|$))",
    // Units; those of one letter only after a number.
    R"((?<=\d|\b)(ms|Kbps|kbps|fps|Hz|dB|px|KiB|MiB|GiB|MB|KB|GB)\b)",
    R"((?<=\d)\s?(G|M|s)\b)",
    // Technical names, as the Chinese texts write them too.
    R"(\b(IP|IPv4|MAC|DNS|HTTP|HTTPS|RTSP|DHCP|DDNS|TCP|UDP|OSD|SD|P2P|GB28181|GB/T28181-2016|SIP|PTZ|GPIO|UART|)"
    R"(ONVIF|NTP|SNTP|UID|ID|QR|APP|iOS|IR-CUT|LED|ALARM-IN|H\.?264\+?|H\.?265\+?|MJPEG|JPEG|CBR|VBR|AAC|PCM|)"
    R"(G\.?711A|G\.?711U|G\.?726|PAL|NTSC|WDR|BLC|AGC|WiFi|PoE|UTC|GMT|LAN|NVR|IPC)\b)",
    R"(\bGPIO\d+\b)",
    R"(\bI(?=帧))", // I-frames
    R"(^[XY]$)",    // coordinates
    R"(\(C\))",     // the copyright sign
    // Date and time formats.
    R"(\b(YYYY/MM/DD|MM/DD/YYYY|DD/MM/YYYY|HH:MM:SS)\b)",
};

// The result words of the fixture and the cameras, shown as they come in the result tables' cells.
const char kResultWords[] = R"(^(OK|NG|NOGET)$)";

struct Offence {
    QString where;
    QString path;
    QString text;
};

class LatinCheck {
public:
    explicit LatinCheck(const std::vector<camsim::CameraProfile>& fleet) {
        for (const char* pattern : kKeptPatterns)
            _kept << QRegularExpression(QString::fromUtf8(pattern));
        _resultWords = QRegularExpression(QString::fromLatin1(kResultWords));
        // The cameras' own texts: serial numbers, names, models, users and passwords, and the
        // account a recovery restores.
        _data << QStringLiteral("mivel");
        for (const camsim::CameraProfile& camera : fleet) {
            for (const std::string& text : {camera.serial, camera.name, camera.model, camera.user,
                                            camera.password, camera.deviceType}) {
                if (!text.empty())
                    _data << QString::fromStdString(text);
            }
        }
    }

    // resultCell: a cell of a result table, which may hold a result word.
    bool offends(const QString& text, bool resultCell = false) const {
        if (resultCell && _resultWords.match(text).hasMatch())
            return false;
        QString rest = text;
        for (const QString& data : _data)
            rest.replace(data, QStringLiteral(" "));
        for (const QRegularExpression& kept : _kept)
            rest.replace(kept, QStringLiteral(" "));
        for (const QChar c : rest) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                return true;
        }
        return false;
    }

    void check(QWidget* window, const QString& where) {
        _windowClass = QString::fromLatin1(window->metaObject()->className());
        // A window with a system title bar shows the program's name when it names nothing.
        const Qt::WindowType type = window->windowType();
        const bool titleBar =
            (type == Qt::Window || type == Qt::Dialog) && !(window->windowFlags() & Qt::FramelessWindowHint);
        if (titleBar)
            add(where, pathOf(window, window) + QStringLiteral("/title"),
                window->windowTitle().isEmpty() ? QApplication::applicationDisplayName()
                                                : window->windowTitle());
        QList<QWidget*> widgets{window};
        widgets += window->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            if (!widget->isVisible() || (widget != window && widget->window() != window))
                continue;
            collect(widget, where, pathOf(widget, window));
        }
    }

    const std::vector<Offence>& offences() const { return _offences; }

private:
    static QString pathOf(QWidget* widget, QWidget* window) {
        QStringList parts;
        for (QWidget* w = widget; w; w = w->parentWidget()) {
            parts.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                    : w->objectName());
            if (w == window)
                break;
        }
        return parts.join('/');
    }

    void add(const QString& where, const QString& path, const QString& text, bool resultCell = false) {
        const QString plain =
            Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
        if (!offends(plain, resultCell))
            return;
        const QString key = _windowClass + path + '\n' + plain;
        if (_reported.contains(key))
            return;
        _reported.insert(key);
        _offences.push_back({where, path, plain});
    }

    void collect(QWidget* widget, const QString& where, const QString& path) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            add(where, path, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add(where, path, button->text());
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            add(where, path, box->title());
        if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(where, path + "/tab", tabs->tabText(i));
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                add(where, path + "/item", combo->itemText(i));
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            add(where, path + "/placeholder", edit->placeholderText());
        if (auto* spin = qobject_cast<QSpinBox*>(widget))
            add(where, path + "/affix",
                spin->prefix() + ' ' + spin->suffix() + ' ' + spin->specialValueText());
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            for (QAction* action : menu->actions())
                add(where, path + "/action", action->text());
        }
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (view && !qobject_cast<QHeaderView*>(view)) { // headers are read through their view
            // A combo box's popup list is read through its box.
            if (qobject_cast<QComboBox*>(view->parentWidget()) ||
                (view->parentWidget() && qobject_cast<QComboBox*>(view->parentWidget()->parentWidget())))
                return;
            collectModel(view, where, path);
        }
    }

    // A place of the file dialog's side bar named by its folder.
    static bool isPlace(const QModelIndex& index) {
        const QString folder = index.data(Qt::UserRole + 1).toUrl().toLocalFile();
        const QString text = index.data(Qt::DisplayRole).toString();
        return !folder.isEmpty() && (text == folder || text == QFileInfo(folder).fileName());
    }

    void collectModel(QAbstractItemView* view, const QString& where, const QString& path) {
        const QAbstractItemModel* model = view->model();
        if (!model)
            return;
        // The file dialog's lists: names, folders and dates are the file system's (the dates in
        // the system's locale); sizes and types are the dialog's.
        const bool files = model->inherits("QFileSystemModel");
        const bool places = model->inherits("QUrlModel");
        const bool results = model->inherits("Cmodifyresultmodel") || model->inherits("CmodifyresultmodelEx");
        std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int depth) {
            const int rows = std::min(model->rowCount(parent), 200);
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < model->columnCount(parent); ++c) {
                    const QModelIndex index = model->index(r, c, parent);
                    if ((files && (c == 0 || c == 3)) || (places && isPlace(index)))
                        continue;
                    add(where, path + QStringLiteral("/cell(%1,%2)").arg(r).arg(c),
                        model->data(index, Qt::DisplayRole).toString(), results);
                    if (c == 0 && depth < 4 && model->hasChildren(index))
                        walk(index, depth + 1);
                }
            }
        };
        walk(QModelIndex(), 0);
        for (QHeaderView* header : view->findChildren<QHeaderView*>()) {
            if (!header->isVisible())
                continue;
            const Qt::Orientation o = header->orientation();
            const int count = o == Qt::Horizontal ? model->columnCount() : model->rowCount();
            for (int s = 0; s < count; ++s)
                add(where, path + QStringLiteral("/header(%1)").arg(s),
                    model->headerData(s, o, Qt::DisplayRole).toString());
        }
    }

    QList<QRegularExpression> _kept;
    QRegularExpression _resultWords;
    QStringList _data;
    QSet<QString> _reported; // each text of each widget of a kind of window once
    QString _windowClass;
    std::vector<Offence> _offences;
};

// The rows of the main window: every status and column text the program wrote is a row text of
// the list, stored untranslated.
class StoredTextCheck {
public:
    void check(QWidget* window, const QString& where) {
        auto* frame = qobject_cast<MainFrame*>(window);
        if (!frame)
            return;
        const CTableView* table = frame->deviceTable();
        for (int row = 0; row < table->rowCount(); ++row) {
            for (const int column : {CTableView::ColStatus, CTableView::ColFullNetcom,
                                     CTableView::ColNetcomFlag, CTableView::ColDhcp}) {
                const QString text = table->getData(row, column).toString();
                if (!text.isEmpty() && !RowTexts::isKnown(column, text) && !_reported.contains(text)) {
                    _reported.insert(text);
                    _offences << QStringLiteral("%1 | column %2 | %3").arg(where).arg(column).arg(text);
                }
            }
        }
    }
    const QStringList& offences() const { return _offences; }

private:
    QSet<QString> _reported;
    QStringList _offences;
};

class ChineseWindowsTest : public mwtest::TourTest {
protected:
    // Runs the tour in Chinese; the windows it was to reach; no English text, no stored translation.
    void tour(mwtest::WindowTour::Paths paths, const std::vector<const char*>& windows) {
        LatinCheck check(camsim::defaultFleet(3));
        StoredTextCheck stored;
        mwtest::WindowTour walk([&](QWidget* window, const QString& where) {
            check.check(window, where);
            stored.check(window, where);
        });
        ASSERT_TRUE(walk.run(QStringLiteral("zh_CN"), paths)) << walk.error().toStdString();
        const QString visits = walk.visits().join('\n');
        for (const char* window : windows)
            EXPECT_TRUE(visits.contains(QString::fromLatin1(window))) << window << "\n"
                                                                      << visits.toStdString();
        QStringList report;
        for (const Offence& o : check.offences())
            report << o.where + " | " + o.path + " | " + o.text;
        EXPECT_TRUE(report.isEmpty()) << report.size() << " English texts:\n"
                                      << report.join('\n').toStdString();
        EXPECT_TRUE(stored.offences().isEmpty()) << "rows storing texts that are not row texts:\n"
                                                 << stored.offences().join('\n').toStdString();
    }
};

// The check itself: English is found, the kept texts are not.
TEST(LatinCheckTest, FindsEnglishAndLeavesWhatStays) {
    camsim::CameraProfile camera;
    camera.serial = "SN0001";
    LatinCheck check({camera});
    for (const char* text : {"Login Successful", "Enable", "设置 Success", "Open Browser", "OK", "NOGET", "W",
                             "H", "s", "M", "宽 W", "(&O)", "Cancel(C)"})
        EXPECT_TRUE(check.offends(QString::fromUtf8(text))) << text;
    const QStringList kept =
        QString::fromUtf8("IPC Corvane|127.0.0.5|AA:00:00:00:09:01|SN0001|IPC-SIM|100 ms|25fps|5 s|30s|8G|"
                          "设置OSD成功|修改TCP/IP失败|新IP：127.0.2.10|admin|GB/T28181-2016|NO-IP|"
                          "禁止NVR修改IPC时间|打开(&O)|H265+：|I帧间隔：|[lo][127.0.0.1]|X|Y|码率(Kbps)")
            .split('|');
    for (const QString& text : kept)
        EXPECT_FALSE(check.offends(text)) << text.toStdString();
    // Result words stay only as a result table's cell, and whole.
    for (const char* text : {"OK", "NG", "NOGET"})
        EXPECT_FALSE(check.offends(QString::fromUtf8(text), true)) << text;
    for (const char* text : {"OK 确定", "Login Failed"})
        EXPECT_TRUE(check.offends(QString::fromUtf8(text), true)) << text;
}

TEST_F(ChineseWindowsTest, EveryWindowShowsChineseOnly) {
    tour(mwtest::WindowTour::Paths::Success,
         {"main window after search", "ShowResultDialog", "ShowResultDlgEx", "OtherParamConfigDlg",
          "parameter page 14", "QFileDialog", "modifyupgradewidget", "PlayDialog, playing", "SysConfigDialog",
          "AboutUsDialog", "QMenu", "SetIPDialog"});
}

TEST_F(ChineseWindowsTest, FailingPathsShowChineseOnly) {
    tour(mwtest::WindowTour::Paths::Failure,
         {"main window after search", "Sync time, no answer / ShowResultDialog",
          "main window after Reboot, refused and not back", "Reboot, refused and not back / ShowResultDialog",
          "Audio Detection, NOGET and time-out / ShowResultDialog",
          "GPIO Detection, NOGET and time-out / ShowResultDlgEx", "File Upgrade, no package / TipDialog",
          "File Upgrade, package missing / modifyupgradewidget", "main window after Modify IP"});
}

} // namespace
