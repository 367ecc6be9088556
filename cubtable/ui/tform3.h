// The cubature table window: volumes of one log over chosen ranges.
#pragma once

#include "cubtable/cubtable.h"
#include "shell/ui/appservices.h"
#include "shell/ui/openings.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace zel {


class NumberEdit;
class CubTableModel;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(QWidget* main, const AppServices& services);

    const CubTable& table() const { return m_table; }
    // Writes the grid into a new workbook and saves it; false when the save failed.
    bool SaveAsExcelFile(const CubTable& grid, const QString& fileName);
    TableRanges readRanges() const;

public slots:
    void Button1Click();
    void RadioGroup1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();
    void setRanges(const TableRanges& r);
    QString methodName() const;

    const AppServices m_services;
    CalcMethod SavedMethod = CalcMethod::Gost2708;
    CubTable m_table;
    CubTableModel* m_model;
    Openings m_openings;

    QTableView* StringGrid1;
    QWidget* m_panel;
    QLabel* m_fieldLabels[6];
    NumberEdit* CurrencyEdit3; // minimum length
    NumberEdit* CurrencyEdit5; // maximum length
    NumberEdit* CurrencyEdit1; // length step
    NumberEdit* CurrencyEdit4; // minimum diameter
    NumberEdit* CurrencyEdit6; // maximum diameter
    NumberEdit* CurrencyEdit2; // diameter step
    QGroupBox* RadioGroup1;
    QButtonGroup* m_methods;
    QLabel* Label8;
    QComboBox* ComboBox4;
    QCheckBox* CheckBox1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
};

} // namespace zel
