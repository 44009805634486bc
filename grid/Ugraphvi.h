#pragma once

// TfGraphView: the graph's settings dialog: the x field, the y fields and an optional grouping field.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class GridDataset;
class QComboBox;
class QListWidget;
class QPushButton;

class TfGraphView : public QDialog {
    Q_OBJECT
public:
    explicit TfGraphView(QWidget* parent = nullptr);

    /// Runs the dialog over the dataset's fields with the given choices preselected; on OK returns
    /// true with the choices replaced.
    static bool settings(GridDataset& dataset, QString& xName, QStringList& yNames, QString& groupName);

    /// Fills the lists and preselects the given choices.
    void setup(GridDataset& dataset, const QString& xName, const QStringList& yNames, const QString& groupName);
    QString xChoice() const;
    /// The chosen y fields, in list order.
    QStringList yChoices() const;
    QString groupChoice() const;

    /// OK: accepts when an x field and a y field are chosen, else says "Missing X or Y".
    void accept() override;

    /// Where the dialog's messages go (a message box by default).
    static void setMessageHandler(std::function<void(const QString&)> handler);

    QComboBox* cbX = nullptr;
    QListWidget* lbY = nullptr;
    QComboBox* cbG = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
