// Result table: owns its rows and a Cmodifyresultmodel over them.
#pragma once

#include <QList>
#include <QStringList>
#include <QTableView>
#include <QVariant>

class Cmodifyresultmodel;

class Cmodifytableview : public QTableView {
    Q_OBJECT
public:
    Cmodifytableview(const QStringList& headers, QWidget* parent = nullptr);
    ~Cmodifytableview() override;

    void appendRow(const QStringList& row);
    void setColorMode(int mode);
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
    QStringList headers;
};
