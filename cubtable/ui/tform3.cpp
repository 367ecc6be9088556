// The cubature table window.
#include "cubtable/ui/tform3.h"
#include "cubtable/spreadsheet.h"
#include "cubtable/ui/cubtablemodel.h"
#include "engine/errors.h"
#include "lists/workbooks.h"
#include "lists/ui/numberedit.h"
#include "report/reports.h"
#include "report/ui/tform6.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"
#include "shell/ui/fittext.h"
#include "shell/log.h"
#include "shell/ui/appservices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zel {
namespace {

// The panel of controls: wider only where a text of the current language needs it.
constexpr int kPanelWidth = 147;

NumberEdit* rangeField(QWidget* parent, const char* name, double min, double max,
                       const char* format)
{
    auto* e = new NumberEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMinimum(min);
    e->setMaximum(max);
    e->setDecimals(1);
    e->setDisplayFormat(QLatin1String(format));
    return e;
}

} // namespace

TForm3::TForm3(QWidget* main, const AppServices& services)
    : QDialog(main)
    , m_services(services)
    , m_model(new CubTableModel(this))
{
    setObjectName(QStringLiteral("Form3"));
    // 600 by 597 with the frame and caption around it.
    setMinimumSize(584, 559);
    resize(835, 559);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // 45 pixels, or what a four-decimal volume needs in this font.
    const int cellWidth = StringGrid1->fontMetrics().horizontalAdvance(QStringLiteral("00,0000")) + 10;
    StringGrid1->horizontalHeader()->setDefaultSectionSize(std::max(45, cellWidth));
    StringGrid1->horizontalHeader()->setMinimumSectionSize(20);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->verticalHeader()->setMinimumSectionSize(12);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    layout->addWidget(StringGrid1, 1);

    m_panel = new QWidget(this);
    QWidget* panel = m_panel;
    panel->setFixedWidth(kPanelWidth);
    auto* controls = new QVBoxLayout(panel);
    controls->setContentsMargins(4, 4, 4, 4);
    controls->setSpacing(2);
    layout->addWidget(panel);

    // The minimum length has its bounds the wrong way round (9.5 and 1.0), so
    // neither applies: only the refresh holds it, against 0.5.
    CurrencyEdit3 = rangeField(panel, "CurrencyEdit3", 9.5, 1.0, "0.0");
    CurrencyEdit5 = rangeField(panel, "CurrencyEdit5", 1.0, 15.0, "0.0");
    CurrencyEdit1 = rangeField(panel, "CurrencyEdit1", 0.1, 9.5, "0.0");
    CurrencyEdit4 = rangeField(panel, "CurrencyEdit4", 3, 120, "0");
    CurrencyEdit6 = rangeField(panel, "CurrencyEdit6", 3, 120, "0");
    CurrencyEdit2 = rangeField(panel, "CurrencyEdit2", 1, 120, "0");
    NumberEdit* fields[6] = {CurrencyEdit3, CurrencyEdit5, CurrencyEdit1,
                             CurrencyEdit4, CurrencyEdit6, CurrencyEdit2};
    for (int i = 0; i < 6; ++i) {
        m_fieldLabels[i] = new QLabel(panel);
        m_fieldLabels[i]->setObjectName(QStringLiteral("FieldLabel%1").arg(i));
        controls->addWidget(m_fieldLabels[i]);
        // Enter in a field reaches the default button, Refresh: no handler of
        // the field's own, or one Enter would refresh twice.
        controls->addWidget(fields[i]);
    }

    RadioGroup1 = new QGroupBox(panel);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* group = new QVBoxLayout(RadioGroup1);
    group->setSpacing(1);
    m_methods = new QButtonGroup(RadioGroup1);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(RadioGroup1);
        b->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        group->addWidget(b);
        m_methods->addButton(b, i);
    }
    controls->addWidget(RadioGroup1);

    Label8 = new QLabel(panel);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setWordWrap(true);
    controls->addWidget(Label8);
    ComboBox4 = new QComboBox(panel);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    for (const char* t : {"0,5", "1,0", "1,5", "2,0", "2,5", "3,0", "3,5", "4,0"})
        ComboBox4->addItem(QLatin1String(t) + QStringLiteral(" см."));
    ComboBox4->setCurrentIndex(1);
    controls->addWidget(ComboBox4);

    CheckBox1 = new QCheckBox(panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    controls->addWidget(CheckBox1);
    controls->addStretch();

    auto button = [&](const char* name) {
        auto* b = new QPushButton(panel);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        controls->addWidget(b);
        return b;
    };
    Button1 = button("Button1");
    Button1->setDefault(true);
    Button2 = button("Button2");
    Button3 = button("Button3");
    Button4 = button("Button4");

    // The group starts at the method in force, with its ranges, so that the
    // table shown is the method shown.
    const int method = static_cast<int>(Settings.Method);
    m_methods->button(method)->setChecked(true);
    setRanges(rangesFor(Settings.Method).value_or(*rangesFor(CalcMethod::Gost2708)));
    Label8->setEnabled(method == 2);
    ComboBox4->setEnabled(method == 2);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::SpeedButton2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::SpeedButton1Click);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_methods, &QButtonGroup::idClicked, this, &TForm3::RadioGroup1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm3::Button1Click);
    connect(ComboBox4, &QComboBox::activated, this, &TForm3::Button1Click);
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_openings.opens(event))
        FormShow();
}

void TForm3::hideEvent(QHideEvent* event)
{
    m_openings.closes(event);
    QDialog::hideEvent(event);
}

void TForm3::FormShow()
{
    m_services.log->write(QStringLiteral("cub table form3 show"));
    setWindowTitle(L(22));
    const int captions[6] = {68, 67, 66, 71, 70, 69};
    for (int i = 0; i < 6; ++i)
        m_fieldLabels[i]->setText(L(captions[i]));
    RadioGroup1->setTitle(L(29));
    for (int i = 0; i < 4; ++i)
        m_methods->button(i)->setText(L(36 + i));
    Label8->setText(L(40));
    CheckBox1->setText(L(72));
    Button1->setText(L(73));
    Button2->setText(L(20));
    Button3->setText(L(76));
    Button4->setText(L(74));
    fitWidth(m_panel, kPanelWidth);
    SavedMethod = Settings.Method;
    Button1Click();
}

void TForm3::done(int result)
{
    // Close, Esc or the close box: every way out passes here.
    FormClose();
    QDialog::done(result);
}

void TForm3::FormClose()
{
    Settings.Method = SavedMethod;
}

TableRanges TForm3::readRanges() const
{
    return TableRanges{CurrencyEdit3->value(), CurrencyEdit5->value(), CurrencyEdit1->value(),
                       CurrencyEdit4->value(), CurrencyEdit6->value(), CurrencyEdit2->value()};
}

void TForm3::setRanges(const TableRanges& r)
{
    CurrencyEdit3->setValue(r.minLength);
    CurrencyEdit5->setValue(r.maxLength);
    CurrencyEdit1->setValue(r.lengthStep);
    CurrencyEdit4->setValue(r.minDiameter);
    CurrencyEdit6->setValue(r.maxDiameter);
    CurrencyEdit2->setValue(r.diameterStep);
}

QString TForm3::methodName() const
{
    QAbstractButton* b = m_methods->checkedButton();
    return b ? b->text() : QString();
}

// Button1Click: Refresh (Enter): check the ranges and make the table anew.
void TForm3::Button1Click()
{
    m_services.log->write(QStringLiteral("Reload cub table"));
    const TableRanges ranges = readRanges();
    if (const auto warning = checkRanges(ranges, Settings.Language)) {
        Dialogs::warning(this, *warning);
        return;
    }
    m_table = generateTable(ranges, Settings.Method, static_cast<TaperStep>(ComboBox4->currentIndex()),
                            CheckBox1->isChecked(), QLocale());
    m_model->setTable(m_table);
}

// RadioGroup1Click: another method for the table, with its ranges.
void TForm3::RadioGroup1Click()
{
    const int method = m_methods->checkedId();
    Settings.Method = static_cast<CalcMethod>(method);
    Label8->setEnabled(method == 2);
    ComboBox4->setEnabled(method == 2);
    if (const auto ranges = rangesFor(Settings.Method))
        setRanges(*ranges);
    Button1Click();
}

// SpeedButton1Click: Print: the table as HTML, shown in a preview of its own.
void TForm3::SpeedButton1Click()
{
    m_services.log->write(QStringLiteral("HTML generate cub tabel"));
    QVector<QStringList> cells(m_table.rows);
    for (int r = 0; r < m_table.rows; ++r)
        for (int c = 0; c < m_table.columns; ++c)
            cells[r] << m_table.cell(c, r);
    const QString path = reportFilePath(m_services.programFile);
    writeReportFile(path, TableReportDocument(windowTitle(), methodName(), cells));
    auto* preview = new TForm6(this, *m_services.log, path);
    preview->show();
}

// SpeedButton2Click: Save As: the table into a spreadsheet workbook.
void TForm3::SpeedButton2Click()
{
    const QString chosen = Dialogs::saveFile(this, L(20), L(77), workbookFileName(methodName()), nullptr, false,
                                             &m_services.store);
    if (chosen.isEmpty())
        return;
    const QString fileName = workbookFileName(chosen);
    bool saved = false;
    try {
        saved = SaveAsExcelFile(m_table, fileName);
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved)
        Dialogs::error(this, L(61));
}

bool TForm3::SaveAsExcelFile(const CubTable& grid, const QString& fileName)
{
    m_services.log->write(QStringLiteral("Save to Excel file"));
    Facility<IWorkbooks>* workbooks = m_services.workbooks;
    IWorkbooks* books = workbooks ? workbooks->get() : nullptr;
    if (!books)
        throw Error(workbooks ? workbooks->error() : QStringLiteral("No spreadsheet application"));
    std::unique_ptr<ISpreadsheetApp> app = books->spreadsheet();
    return exportTable(*app, grid, fileName);
}

} // namespace zel
