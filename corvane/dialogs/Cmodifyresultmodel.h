// Table model over a view's row list, with the result colouring of the result tables.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class Cmodifyresultmodel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Cmodifyresultmodel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setHorizontalHeader(const QStringList& headers);
    void setVerticalHeader(const QStringList& headers);
    // The view's row list; not owned.
    void setModelData(const QList<QStringList>* rows);
    // 0 result colouring, 1 detail colouring (column 2), anything else none.
    void setColorMode(int mode);
    int colorMode() const { return _colorMode; }
    // Emits updateCount and resets the model.
    void refresh();
    QVariant getData(int row, int column) const;

signals:
    void updateCount(int count);

private:
    QVariant foreground(int column, const QString& text) const;

    QStringList horizontalHeaders;
    QStringList verticalHeaders;
    const QList<QStringList>* rows = nullptr;
    int _colorMode = 0;
};
