// Table model over a result view's row list: what the result tables' models share (titles, row
// and column counts, cells centred, refresh). The models add their own text colours and fonts.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class ResultRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultRowsModel(QObject* parent = nullptr);

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

protected:
    // The text colour and the font of a cell of a row that data() answers for; text is empty
    // where the row has no such cell. None by default.
    virtual QVariant foreground(int column, const QString& text) const;
    virtual QVariant font(int column) const;

    QStringList horizontalHeaders;
    QStringList verticalHeaders;
    const QList<QStringList>* rows = nullptr;

private:
    // The row of an index that data() answers for; null when data() has nothing to say.
    const QStringList* rowAt(const QModelIndex& index) const;
};
