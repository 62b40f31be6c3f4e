#include "tarsel/CTableView.h"

#include "tarsel/CTableModel.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionButton>
#include <QThread>

namespace {

QPixmap checkBoxPixmap(const QWidget* widget, bool checked) {
    QStyleOptionButton option;
    option.rect = QRect(0, 0, 14, 14);
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
    return pixmap;
}

const int kColumnWidths[CTableView::ColumnCount] = {40,  110, 100, 120, 120, 120, 170, 150, 140, 110,
                                                    110, 110, 90,  90,  80,  60,  100, 90,  90};

} // namespace

CTableView::CTableView(QWidget* parent)
    : QTableView(parent), _model(new CTableModel(ColumnCount, this)), _menu(new QMenu(this)),
      _browserAction(nullptr), _qrcodeAction(nullptr) {
    qRegisterMetaType<QVector<QStringList>>("QVector<QStringList>");
    setModel(_model);
    _model->setLookupColumns(ColIp, ColMac);
    _model->setKeyColumn(ColMac);
    _model->setHeaderTexts({QString(), tr("IP Address"), tr("Full Netcom"), tr("Netcom Online"),
                            tr("Device Name"), tr("Device Model"), tr("Status"), tr("Serial Number"),
                            tr("MAC Address"), tr("Subnet Mask"), tr("Gateway"), tr("DNS"), tr("HTTP Port"),
                            tr("RTSP Port"), tr("Channels"), tr("DHCP"), tr("Device Code"), tr("User Name"),
                            tr("Password")});
    _model->setCheckAllIcons(checkBoxPixmap(this, false), checkBoxPixmap(this, true));

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves the focus on to the next control; the arrow keys move between the cells.
    setTabKeyNavigation(false);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(30);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    for (int c = 0; c < ColumnCount; ++c)
        setColumnWidth(c, kColumnWidths[c]);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);

    _browserAction = _menu->addAction(tr("Open Browser"));
    _qrcodeAction = _menu->addAction(tr("View Device QRcode"));
    connect(_browserAction, &QAction::triggered, this, &CTableView::onOpenTheDeviceBrowser);
    connect(_qrcodeAction, &QAction::triggered, this, &CTableView::onViewDeviceQRcode);

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CTableView::onContextMenu);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CTableView::onHeaderClicked);
    connect(_model, &CTableModel::rowCheckToggled, this, &CTableView::onRowCheckToggled);
}

CTableView::~CTableView() = default;

void CTableView::addRow(const QStringList& row) {
    _model->appendRow(row);
    emit updateCount(_model->rowCount());
}

QVariant CTableView::getData(int row, int column) const {
    if (row < 0 || row >= _model->rowCount() || column < 0 || column >= ColumnCount)
        return QVariant();
    return _model->text(row, column);
}

QStringList CTableView::rowData(int row) const {
    return _model->rowTexts(row);
}

int CTableView::rowCount() const {
    return _model->rowCount();
}

bool CTableView::containsDevice(const QString& ip, const QString& mac) const {
    return _model->containsPair(ip, mac);
}

void CTableView::clear() {
    _model->clearRows();
    _model->setCheckAllFlag(false);
    _menuRow = -1;
    _doubleClickedRow = -1;
    emit updateCount(0);
    emitCheckState(TableCleared);
}

void CTableView::setIsCheckAll(bool checked) {
    _model->setCheckAllFlag(checked);
    _model->setAllChecked(checked);
    emitCheckState(CheckAllChanged);
}

bool CTableView::isCheckAll() const {
    return _model->isCheckAll();
}

void CTableView::removeData(const QString& mac) {
    const QVector<int> rows = _model->rowsWithKey(mac);
    if (rows.isEmpty())
        return;
    const int row = rows.first();
    const bool wasChecked = _model->isChecked(row);
    _model->removeRowAt(row);
    if (_menuRow == row)
        _menuRow = -1;
    else if (_menuRow > row)
        --_menuRow;
    if (_doubleClickedRow == row)
        _doubleClickedRow = -1;
    else if (_doubleClickedRow > row)
        --_doubleClickedRow;
    emit updateCount(_model->rowCount());
    if (wasChecked)
        emitCheckState(_model->rowCount() == 0 ? TableCleared : RowCheckChanged);
}

bool CTableView::isRowChecked(int row) const {
    return _model->isChecked(row);
}

void CTableView::setRowChecked(int row, bool checked) {
    _model->setChecked(row, checked);
}

QVector<QStringList> CTableView::checkedRows() const {
    return _model->checkedRows();
}

void CTableView::setDisplayText(std::function<QString(int column, const QString& text)> display) {
    _model->setDisplayText(std::move(display));
}

void CTableView::setNotify(const OZM::_NOTIFY_PARAM* param) {
    if (!param)
        return;
    const int type = param->type;
    // Code 5 carries a number, code 6 nothing; neither changes a row.
    if (type == 5 || type == 6 || !param->data)
        return;
    const QStringList texts = *static_cast<const QStringList*>(param->data);
    if (QThread::currentThread() == thread()) {
        applyNotify(type, texts);
        return;
    }
    QPointer<CTableView> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, type, texts]() {
            if (self)
                self->applyNotify(type, texts);
        },
        Qt::QueuedConnection);
}

void CTableView::applyNotify(int type, const QStringList& texts) {
    if (texts.size() < 2 || texts.at(0).isEmpty())
        return;
    const QString& mac = texts.at(0);
    for (const int row : _model->rowsWithKey(mac)) {
        switch (type) {
        case 1:
            _model->setText(row, ColName, texts.at(1));
            break;
        case 2:
        case 10:
        case 11:
        case 12:
        case 13:
            _model->setText(row, ColStatus, texts.at(1));
            break;
        case 3:
            _model->setText(row, ColFullNetcom, texts.at(1));
            break;
        case 7:
            _model->setText(row, ColNetcomFlag, texts.at(1));
            break;
        case 8:
            _model->setText(row, ColIp, texts.at(1));
            if (texts.size() > 2)
                _model->setText(row, ColStatus, texts.at(2));
            break;
        case 9:
            if (texts.size() > 2) {
                _model->setText(row, ColHttpPort, texts.at(1));
                _model->setText(row, ColRtspPort, texts.at(2));
            }
            break;
        case 14:
            if (texts.size() > 2) {
                _model->setText(row, ColUser, texts.at(1));
                _model->setText(row, ColPassword, texts.at(2));
            }
            break;
        default:
            return;
        }
    }
}

void CTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid())
        return;
    _doubleClickedRow = index.row();
    emit leftdoubleClicked(index.row());
}

void CTableView::onHeaderClicked(int section) {
    if (section != 0)
        return;
    setIsCheckAll(!_model->isCheckAll());
}

void CTableView::onRowCheckToggled(int, bool checked) {
    // The header box follows the rows: on only while every row is checked.
    if (!checked)
        _model->setCheckAllFlag(false);
    else if (_model->checkedRows().size() == _model->rowCount())
        _model->setCheckAllFlag(true);
    emitCheckState(RowCheckChanged);
}

void CTableView::onContextMenu(const QPoint& pos) {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return;
    _menuRow = index.row();
    selectRow(index.row());
    _menu->popup(viewport()->mapToGlobal(pos));
}

void CTableView::emitCheckState(int state) {
    emit update_checkstate(state, _model->checkedRows());
}
