#include "tarsel/CTableModel.h"

#include <QPixmap>

#include <algorithm>

CTableModel::CTableModel(int columnCount, QObject* parent)
    : QAbstractTableModel(parent), _columnCount(columnCount) {}

int CTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : _rows.size();
}

int CTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : _columnCount;
}

QVariant CTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= _rows.size() || index.column() >= _columnCount)
        return QVariant();
    const Row& row = _rows.at(index.row());
    if (index.column() == 0 && role == Qt::CheckStateRole)
        return row.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (index.column() == 0)
            return QVariant();
        const QString text = row.texts.value(index.column());
        return _display ? _display(index.column(), text) : text;
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QVariant();
}

bool CTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= _rows.size())
        return false;
    if (index.column() == 0 && role == Qt::CheckStateRole) {
        const bool checked = value.toInt() == Qt::Checked;
        if (_rows[index.row()].checked == checked)
            return true;
        _rows[index.row()].checked = checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit rowCheckToggled(index.row(), checked);
        return true;
    }
    return false;
}

Qt::ItemFlags CTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant CTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section == 0 && role == Qt::DecorationRole)
        return _checkAll ? _checkAllOn : _checkAllOff;
    if (role == Qt::DisplayRole)
        return _headers.value(section);
    return QVariant();
}

void CTableModel::setHeaderTexts(const QStringList& texts) {
    _headers = texts;
    emit headerDataChanged(Qt::Horizontal, 0, _columnCount - 1);
}

void CTableModel::setDisplayText(DisplayText display) {
    _display = std::move(display);
    if (!_rows.isEmpty())
        emit dataChanged(index(0, 0), index(_rows.size() - 1, _columnCount - 1), {Qt::DisplayRole});
}

void CTableModel::setCheckAllIcons(const QPixmap& unchecked, const QPixmap& checked) {
    _checkAllOff = unchecked;
    _checkAllOn = checked;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void CTableModel::appendRow(const QStringList& texts) {
    Row row;
    row.texts = texts.mid(0, _columnCount);
    while (row.texts.size() < _columnCount)
        row.texts.append(QString());
    const int at = _rows.size();
    beginInsertRows(QModelIndex(), at, at);
    countPair(row.texts, 1);
    _rows.append(row);
    indexKey(at);
    endInsertRows();
    if (!row.checked)
        setCheckAllFlag(false); // the header box is "all" only while every row is checked
}

QStringList CTableModel::rowTexts(int row) const {
    if (row < 0 || row >= _rows.size())
        return QStringList();
    return _rows.at(row).texts;
}

QString CTableModel::text(int row, int column) const {
    if (row < 0 || row >= _rows.size() || column < 0 || column >= _columnCount)
        return QString();
    return _rows.at(row).texts.at(column);
}

bool CTableModel::setText(int row, int column, const QString& text) {
    if (row < 0 || row >= _rows.size() || column < 0 || column >= _columnCount)
        return false;
    const bool keyColumn = column == _lookupFirst || column == _lookupSecond;
    if (keyColumn)
        countPair(_rows[row].texts, -1);
    if (column == _keyColumn)
        unindexKey(row);
    _rows[row].texts[column] = text;
    if (column == _keyColumn)
        indexKey(row);
    if (keyColumn)
        countPair(_rows[row].texts, 1);
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
    return true;
}

void CTableModel::removeRowAt(int row) {
    if (row < 0 || row >= _rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    countPair(_rows[row].texts, -1);
    unindexKey(row);
    // The rows after it move up by one: only their entries change.
    if (_keyColumn >= 0) {
        for (int later = row + 1; later < _rows.size(); ++later) {
            QVector<int>& rows = _keyRows[_rows.at(later).texts.value(_keyColumn)];
            const auto it = std::lower_bound(rows.begin(), rows.end(), later);
            if (it != rows.end() && *it == later)
                --*it;
        }
    }
    _rows.removeAt(row);
    endRemoveRows();
}

void CTableModel::clearRows() {
    beginResetModel();
    _rows.clear();
    _pairCounts.clear();
    _keyRows.clear();
    endResetModel();
}

bool CTableModel::isChecked(int row) const {
    return row >= 0 && row < _rows.size() && _rows.at(row).checked;
}

void CTableModel::setChecked(int row, bool checked) {
    if (row < 0 || row >= _rows.size())
        return;
    setData(index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void CTableModel::setAllChecked(bool checked) {
    for (Row& row : _rows)
        row.checked = checked;
    if (!_rows.isEmpty())
        emit dataChanged(index(0, 0), index(_rows.size() - 1, 0), {Qt::CheckStateRole});
}

QVector<QStringList> CTableModel::checkedRows() const {
    QVector<QStringList> rows;
    for (const Row& row : _rows) {
        if (row.checked)
            rows.append(row.texts);
    }
    return rows;
}

void CTableModel::setCheckAllFlag(bool checked) {
    if (_checkAll == checked)
        return;
    _checkAll = checked;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void CTableModel::setLookupColumns(int first, int second) {
    _lookupFirst = first;
    _lookupSecond = second;
    _pairCounts.clear();
    for (const Row& row : _rows)
        countPair(row.texts, 1);
}

bool CTableModel::containsPair(const QString& first, const QString& second) const {
    if (_lookupFirst < 0)
        return false;
    return _pairCounts.value(first + QChar(0) + second) > 0;
}

QString CTableModel::pairKey(const QStringList& texts) const {
    return texts.value(_lookupFirst) + QChar(0) + texts.value(_lookupSecond);
}

void CTableModel::countPair(const QStringList& texts, int delta) {
    if (_lookupFirst < 0)
        return;
    const QString key = pairKey(texts);
    const int count = _pairCounts.value(key) + delta;
    if (count > 0)
        _pairCounts.insert(key, count);
    else
        _pairCounts.remove(key);
}

void CTableModel::setKeyColumn(int column) {
    _keyColumn = column;
    rebuildKeyIndex();
}

QVector<int> CTableModel::rowsWithKey(const QString& text) const {
    return _keyRows.value(text);
}

void CTableModel::indexKey(int row) {
    if (_keyColumn < 0)
        return;
    QVector<int>& rows = _keyRows[_rows.at(row).texts.value(_keyColumn)];
    rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void CTableModel::unindexKey(int row) {
    if (_keyColumn < 0)
        return;
    const QString key = _rows.at(row).texts.value(_keyColumn);
    auto it = _keyRows.find(key);
    if (it == _keyRows.end())
        return;
    it->removeOne(row);
    if (it->isEmpty())
        _keyRows.erase(it);
}

void CTableModel::rebuildKeyIndex() {
    _keyRows.clear();
    if (_keyColumn < 0)
        return;
    for (int row = 0; row < _rows.size(); ++row)
        _keyRows[_rows.at(row).texts.value(_keyColumn)].append(row);
}
