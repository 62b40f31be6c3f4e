// Item model behind CTableView: one row of texts per device and a check flag per row.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QVector>

#include <functional>

class CTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CTableModel(int columnCount, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setHeaderTexts(const QStringList& texts);
    // What a cell shows for its stored text (display and tool tip); the stored text is unchanged.
    using DisplayText = std::function<QString(int column, const QString& text)>;
    void setDisplayText(DisplayText display);
    void setCheckAllIcons(const QPixmap& unchecked, const QPixmap& checked);

    // Appends a row; missing texts are filled with empty ones, extra texts are dropped.
    void appendRow(const QStringList& texts);
    QStringList rowTexts(int row) const;
    QString text(int row, int column) const;
    // Changes one text of one row; false when row or column is out of range.
    bool setText(int row, int column, const QString& text);
    void removeRowAt(int row);
    void clearRows();

    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    QVector<QStringList> checkedRows() const;

    // Whether some row has exactly this text in both columns of the lookup pair (set with
    // setLookupColumns); constant time.
    void setLookupColumns(int first, int second);
    bool containsPair(const QString& first, const QString& second) const;
    // The rows whose text in the key column (set with setKeyColumn) equals text, in row order;
    // constant time for a text held by few rows.
    void setKeyColumn(int column);
    QVector<int> rowsWithKey(const QString& text) const;

    bool isCheckAll() const { return _checkAll; }
    void setCheckAllFlag(bool checked);

signals:
    // A row's check box was changed by the user.
    void rowCheckToggled(int row, bool checked);

private:
    struct Row {
        QStringList texts;
        bool checked = false;
    };

    QString pairKey(const QStringList& texts) const;
    void countPair(const QStringList& texts, int delta);

    int _columnCount;
    int _lookupFirst = -1;
    int _lookupSecond = -1;
    QHash<QString, int> _pairCounts;
    void indexKey(int row);
    void unindexKey(int row);
    void rebuildKeyIndex();
    int _keyColumn = -1;
    QHash<QString, QVector<int>> _keyRows; // kept in step with every row change
    QVector<Row> _rows;
    QStringList _headers;
    DisplayText _display;
    bool _checkAll = false;
    QPixmap _checkAllOff;
    QPixmap _checkAllOn;
};
