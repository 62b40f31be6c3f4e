// GPIO result table: owns its rows and a CmodifyresultmodelEx over them. Clicks and drags select
// nothing; a left double click on a row reports that row's cells.
#pragma once

#include <QList>
#include <QStringList>
#include <QTableView>
#include <QVariant>

class CmodifyresultmodelEx;

class CShowtableviewEx : public QTableView {
    Q_OBJECT
public:
    CShowtableviewEx(const QStringList& headers, QWidget* parent = nullptr);
    ~CShowtableviewEx() override;

    void appendRow(const QStringList& row);
    void clearRows();
    int rowCount() const;
    QVariant getData(int row, int column) const;
    void setTableWidth(int width);
    CmodifyresultmodelEx* resultModel() const { return model; }

signals:
    void leftdoubleClicked(QStringList strList);
    void updateTotal(int count);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CmodifyresultmodelEx* model = nullptr;
    QList<QStringList> rows;
    QStringList headers;
};
