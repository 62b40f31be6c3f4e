// Table model of the GPIO result table: the view's rows, with the overall result in column 1
// underlined and coloured.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class CmodifyresultmodelEx : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CmodifyresultmodelEx(QObject* parent = nullptr);

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
    // Emits updateCount and resets the model.
    void refresh();
    QVariant getData(int row, int column) const;

signals:
    void updateCount(int count);

private:
    QStringList horizontalHeaders;
    QStringList verticalHeaders;
    const QList<QStringList>* rows = nullptr;
};
