// What the result tables' views share: the rows they own, the model over them (which the view
// deletes), the view settings, and the row operations. Cmodifytableview and CShowtableviewEx
// pass their own model in.
#pragma once

#include <QList>
#include <QStringList>
#include <QTableView>
#include <QVariant>

#include <memory>

class ResultRowsModel;

class ResultRowsView : public QTableView {
    Q_OBJECT
public:
    ~ResultRowsView() override;

    void appendRow(const QStringList& row);
    void clearRows();
    int rowCount() const;
    QVariant getData(int row, int column) const;
    void setTableWidth(int width);

signals:
    void updateTotal(int count);

protected:
    // Takes the model (which has no parent) and gives it the titles and the rows.
    ResultRowsView(const QStringList& headers, ResultRowsModel* model, QWidget* parent);

    QList<QStringList> rows;
    QStringList headers;

private:
    std::unique_ptr<ResultRowsModel> _rowsModel;
};
