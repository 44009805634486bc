#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <memory>

class GridDataset;
class TFwwDBGrid;

/// The review window: the completed detail rows of the last report in the framework's grid.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    /// Shows the rows of `statement` (opened read-only over `db`) under the label of report `reportNumber`.
    /// Throws GridDatasetError when the statement cannot be opened.
    void showReport(const QSqlDatabase& db, const QString& statement, qint32 reportNumber);

    void btnZapriClick();

    QLabel* lblPorocilo1;
    QWidget* Panel1;
    TFwwDBGrid* FwwDBGrid1;
    QPushButton* btnZapri;
    GridDataset* dataset() const { return dataset_.get(); }

private:
    std::unique_ptr<GridDataset> dataset_;
};
