// Table of the firmware-upgrade window: IP, progress, state; no colouring.
#pragma once

#include <QList>
#include <QStringList>
#include <QTableView>
#include <QVariant>

class Cmodifyresultmodel;

class Cmodifyupgradeview : public QTableView {
    Q_OBJECT
public:
    explicit Cmodifyupgradeview(QWidget* parent = nullptr);
    ~Cmodifyupgradeview() override;

    void appendRow(const QStringList& row);
    void clearRows();
    int rowCount() const;
    QVariant getData(int row, int column) const;
    void setTableWidth(int width);
    Cmodifyresultmodel* resultModel() const { return model; }

signals:
    void updateTotal(int count);

private:
    Cmodifyresultmodel* model = nullptr;
    QList<QStringList> rows;
};
