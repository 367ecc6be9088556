// The lot summary window.
#include "summary/ui/lotsummarywindow.h"
#include "lists/numbertext.h"
#include "lists/ui/linesmodel.h"
#include "report/ui/printedreport.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/ui/dialogs.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listssession.h"
#include "shell/log.h"
#include "shell/ui/appservices.h"
#include "summary/summarydoc.h"
#include "summary/ui/summarycharts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zel {
namespace {

// The document's header fields: their stored values and captions.
const QString* const kPartyValues[] = {&kLotNumberValue, &kSellerValue, &kBuyerValue, &kPlaceValue};
constexpr int kPartyCaptions[] = {kTxtLotNumber, kTxtSeller, kTxtBuyer, kTxtPlace};

// The document's margins, millimetres.
constexpr double kMargin = 15.0;
// The chart's words at their size on the screen (96 pixels to the inch),
// drawn at three times that resolution.
constexpr double kChartPixelsPerPoint = 96.0 / 72.0;
constexpr double kChartSharpness = 3.0;

QTableWidget* table(QWidget* parent, const char* name)
{
    auto* t = new QTableWidget(parent);
    t->setObjectName(QLatin1String(name));
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                       | QAbstractItemView::AnyKeyPressed);
    return t;
}

QLineEdit* field(QWidget* parent, const QString& name, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

// Fills a table from texts, keeping the items it has: an item being edited
// stays alive while the summary follows its change.
void fillTable(QTableWidget* t, const TextTable& texts, int editableColumn, int editableRows)
{
    t->setColumnCount(static_cast<int>(texts.header.size()));
    t->setHorizontalHeaderLabels(texts.header);
    // The shared-out columns never narrower than their headers (drawn bold
    // in the selected row's columns): the table scrolls instead.
    int widest = 0;
    for (int c = 0; c < t->columnCount(); ++c)
        widest = std::max(widest, t->horizontalHeader()->sectionSizeHint(c));
    t->horizontalHeader()->setMinimumSectionSize(widest);
    t->setRowCount(static_cast<int>(texts.rows.size()));
    for (int r = 0; r < texts.rows.size(); ++r) {
        for (int c = 0; c < texts.rows[r].size(); ++c) {
            QTableWidgetItem* item = t->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                t->setItem(r, c, item);
            }
            item->setText(texts.rows[r][c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            const bool editable = c == editableColumn && r < editableRows;
            item->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                    : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
}

SummarySettings inForce(const ListContext& ctx)
{
    return SummarySettings{ctx, QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)};
}

} // namespace

LotSummaryWindow::LotSummaryWindow(ListsSession& lists, const AppServices& services, const SummaryParams& params,
                                   QWidget* main)
    : QWidget(main, Qt::Window), m_lists(lists), m_services(services), m_params(params)
    , m_charts(services.charts ? services.charts->get() : nullptr)
{
    setObjectName(QStringLiteral("LotSummaryWindow"));

    auto* layout = new QVBoxLayout(this);
    auto* parties = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_partyCaptions[i] = new QLabel(this);
        m_parties[i] = new QLineEdit(this);
        m_parties[i]->setObjectName(*kPartyValues[i]);
        m_storedParties[i] = readTextValue(services.store, *kPartyValues[i]);
        m_parties[i]->setText(m_storedParties[i]);
        parties->addWidget(m_partyCaptions[i], i / 2, 2 * (i % 2));
        parties->addWidget(m_parties[i], i / 2, 2 * (i % 2) + 1);
        connect(m_parties[i], &QLineEdit::editingFinished, this, &LotSummaryWindow::partiesEdited);
    }
    layout->addLayout(parties);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setWordWrap(true);
    layout->addWidget(m_info);

    m_classes = table(this, "ClassTable");
    layout->addWidget(m_classes, 2);

    auto* row = new QHBoxLayout;
    m_boundsCaption = new QLabel(this);
    row->addWidget(m_boundsCaption);
    for (int i = 0; i < 3; ++i) {
        m_bounds[i] = field(this, QStringLiteral("Bound%1").arg(i + 1), 44);
        row->addWidget(m_bounds[i]);
        connect(m_bounds[i], &QLineEdit::editingFinished, this, &LotSummaryWindow::boundsEdited);
    }
    row->addSpacing(12);
    m_factorCaption = new QLabel(this);
    row->addWidget(m_factorCaption);
    m_factor = field(this, QStringLiteral("StackFactor"), 56);
    row->addWidget(m_factor);
    row->addSpacing(12);
    m_currencyCaption = new QLabel(this);
    row->addWidget(m_currencyCaption);
    m_currency = field(this, QStringLiteral("Currency"), 56);
    m_currency->setMaxLength(8);
    row->addWidget(m_currency);
    row->addStretch();
    layout->addLayout(row);
    connect(m_factor, &QLineEdit::editingFinished, this, &LotSummaryWindow::factorEdited);
    connect(m_currency, &QLineEdit::editingFinished, this, &LotSummaryWindow::currencyEdited);

    m_stacked = new QLabel(this);
    m_stacked->setObjectName(QStringLiteral("Stacked"));
    layout->addWidget(m_stacked);

    // Four rows each, read only.
    const auto fourRows = [&](const char* name) {
        QTableWidget* t = table(this, name);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->setFixedHeight(150);
        return t;
    };
    m_methods = fourRows("MethodTable");
    layout->addWidget(m_methods);
    m_rulesCaption = new QLabel(this);
    m_rulesCaption->setObjectName(QStringLiteral("RuleCaption"));
    layout->addWidget(m_rulesCaption);
    m_rules = fourRows("RuleTable");
    layout->addWidget(m_rules);

    if (m_charts) {
        m_chartView = m_charts->makeView(this);
    } else {
        m_chartView = new QWidget(this);
        m_chartView->setObjectName(QStringLiteral("Chart"));
        if (services.charts)
            m_chartView->setToolTip(services.charts->error());
    }
    m_chartView->setMinimumHeight(260);
    layout->addWidget(m_chartView, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_print = new QPushButton(this);
    m_print->setObjectName(QStringLiteral("PrintButton"));
    m_pdf = new QPushButton(this);
    m_pdf->setObjectName(QStringLiteral("PdfButton"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton* b : {m_print, m_pdf, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_print, &QPushButton::clicked, this, &LotSummaryWindow::printClick);
    connect(m_pdf, &QPushButton::clicked, this, &LotSummaryWindow::savePdfClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto* printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(printKey, &QShortcut::activated, this, &LotSummaryWindow::printClick);
    auto* saveKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(saveKey, &QShortcut::activated, this, &LotSummaryWindow::savePdfClick);

    connect(m_classes, &QTableWidget::itemChanged, this, &LotSummaryWindow::priceEdited);
    connect(&m_lists, &ListsSession::listsChanged, this, &LotSummaryWindow::scheduleRefresh);
    resize(760, 980);
}

void LotSummaryWindow::openSummary()
{
    show();
    raise();
    activateWindow();
    refresh();
}

void LotSummaryWindow::scheduleRefresh()
{
    // Many recomputations in a row (a whole list loaded) make one update.
    if (!isVisible() || m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_pending)
            refresh();
    });
}

void LotSummaryWindow::refresh()
{
    m_pending = false;
    // The Log and Messages tabs keep the summary of the list last in front.
    if (m_lists.boardInFront())
        m_boards = true;
    else if (m_lists.roundInFront())
        m_boards = false;
    const ListContext ctx = m_lists.context();
    m_summary = m_boards ? summarizeBoards(m_lists.boardModel()->lines(), m_params)
                         : summarizeRound(m_lists.roundModel()->lines(), ctx, m_params);
    relabel();
    fillClasses();
    fillMethods();
    m_stacked->setText(Lang(kTxtStacked, ctx.language) + QStringLiteral(": ") + stackedText(m_summary, ctx.language));
    if (m_charts)
        m_charts->fill(m_chartView, m_summary, m_params, ctx.language);
}

void LotSummaryWindow::relabel()
{
    setWindowTitle(L(kTxtLotSummary));
    QStringList info = settingsLines(m_summary, m_params, inForce(m_lists.context()), Settings.Language);
    info.removeFirst(); // the date: the printout's only
    m_info->setText(info.join(QStringLiteral("; ")));
    for (int i = 0; i < 4; ++i)
        m_partyCaptions[i]->setText(L(kPartyCaptions[i]));
    m_boundsCaption->setText(L(kTxtBounds));
    m_factorCaption->setText(L(kTxtStackFactor));
    m_currencyCaption->setText(L(kTxtCurrency));
    m_rulesCaption->setText(L(kTxtOtherRules));
    m_print->setText(L(76));
    m_pdf->setText(L(kTxtSavePdf));
    m_close->setText(L(74));
    for (int i = 0; i < 3; ++i) {
        m_bounds[i]->setText(QString::number(m_params.bounds[i]));
        m_bounds[i]->setEnabled(!m_summary.boards);
    }
    m_factor->setText(stackFactorText(m_params.stackFactor));
    m_currency->setText(m_params.currency);
}

void LotSummaryWindow::fillClasses()
{
    m_filling = true;
    fillTable(m_classes, classTable(m_summary, m_params, Settings.Language), kColPrice,
              static_cast<int>(m_summary.rows.size()));
    m_filling = false;
}

void LotSummaryWindow::fillMethods()
{
    for (QWidget* w : {static_cast<QWidget*>(m_methods), static_cast<QWidget*>(m_rulesCaption),
                       static_cast<QWidget*>(m_rules)})
        w->setVisible(!m_summary.boards);
    if (!m_summary.boards) {
        fillTable(m_methods, methodTable(m_summary, Settings.Language), -1, 0);
        fillTable(m_rules, ruleTable(m_summary, Settings.Language), -1, 0);
    }
}

void LotSummaryWindow::refuse()
{
    m_services.playBeep();
}

void LotSummaryWindow::store(const QString& name, const QString& text)
{
    writeTextValue(m_services.store, name, text);
}

void LotSummaryWindow::priceEdited(QTableWidgetItem* item)
{
    if (m_filling || item->column() != kColPrice || item->row() >= m_summary.rows.size())
        return;
    m_lists.log().write(QStringLiteral("Summary price"));
    const SummaryRow& row = m_summary.rows[item->row()];
    const auto price = readPrice(item->text());
    if (!price) {
        refuse();
        m_filling = true;
        item->setText(FormatMoney(row.price));
        m_filling = false;
        return;
    }
    if (m_summary.boards)
        m_params.sectionPrices[row.section] = *price;
    else
        m_params.classPrices[row.cls] = *price;
    store(kPricesValue, pricesText(m_params));
    refresh();
}

void LotSummaryWindow::boundsEdited()
{
    const QStringList texts{m_bounds[0]->text(), m_bounds[1]->text(), m_bounds[2]->text()};
    const auto bounds = readBounds(texts);
    if (bounds && *bounds == m_params.bounds)
        return;
    m_lists.log().write(QStringLiteral("Summary bounds"));
    if (!bounds) {
        refuse();
        for (int i = 0; i < 3; ++i)
            m_bounds[i]->setText(QString::number(m_params.bounds[i]));
        return;
    }
    m_params.bounds = *bounds;
    store(kClassBoundsValue, boundsText(m_params.bounds));
    refresh();
}

void LotSummaryWindow::factorEdited()
{
    const auto factor = readStackFactor(m_factor->text());
    if (factor && *factor == m_params.stackFactor)
        return;
    m_lists.log().write(QStringLiteral("Summary stack factor"));
    if (!factor) {
        refuse();
        m_factor->setText(stackFactorText(m_params.stackFactor));
        return;
    }
    m_params.stackFactor = *factor;
    store(kStackFactorValue, stackFactorText(m_params.stackFactor));
    refresh();
}

void LotSummaryWindow::currencyEdited()
{
    const QString currency = m_currency->text().trimmed();
    if (currency == m_params.currency)
        return;
    m_lists.log().write(QStringLiteral("Summary currency"));
    m_params.currency = currency;
    store(kCurrencyValue, currency);
    refresh();
}

void LotSummaryWindow::partiesEdited()
{
    bool logged = false;
    for (int i = 0; i < 4; ++i) {
        const QString text = m_parties[i]->text().trimmed();
        if (text == m_storedParties[i])
            continue;
        if (!logged)
            m_lists.log().write(QStringLiteral("Summary parties"));
        logged = true;
        m_storedParties[i] = text;
        store(*kPartyValues[i], text);
    }
}

LotParties LotSummaryWindow::parties() const
{
    return LotParties{m_parties[0]->text(), m_parties[1]->text(), m_parties[2]->text(), m_parties[3]->text()};
}

LotSummaryWindow::~LotSummaryWindow()
{
    // QWidget's destructor hides the window, which takes the focus from a
    // field and so reports it edited to a window that is no longer one.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->disconnect(this);
}

QImage LotSummaryWindow::chartImage(const QSize& size, double pixelRatio)
{
    return m_charts ? m_charts->image(m_summary, m_params, Settings.Language, size, pixelRatio) : QImage();
}

void LotSummaryWindow::paintDocument(QPagedPaintDevice& device)
{
    // A field still being typed in goes on the paper and into the store.
    partiesEdited();
    const QPageLayout given = device.pageLayout();
    const QPageLayout paper(given.pageSize(), given.orientation(), QMarginsF(kMargin, kMargin, kMargin, kMargin),
                            QPageLayout::Millimeter);
    device.setPageLayout(paper);
    const QSizeF area = paper.paintRect(QPageLayout::Point).size();
    const QSizeF chartPoints(area.width(), area.width() * kChartAspect);
    QVector<QImage> pictures;
    const QImage chart = chartImage((chartPoints * kChartPixelsPerPoint).toSize(), kChartSharpness);
    if (!chart.isNull())
        pictures << chart;
    const ListContext ctx = m_lists.context();
    const AcceptanceSource source{m_summary,
                                  m_params,
                                  inForce(ctx),
                                  parties(),
                                  m_boards ? m_lists.boardModel()->lines() : m_lists.roundModel()->lines(),
                                  !pictures.isEmpty()};
    printFlow(device, layOutAcceptance(source, area, printedMeasure()), pictures);
}

bool LotSummaryWindow::writePdf(const QString& file, QString* error)
{
    refresh();
    QSaveFile out(file);
    const auto failed = [&] {
        if (error)
            *error = out.errorString();
        return false;
    };
    if (!out.open(QIODevice::WriteOnly))
        return failed();
    {
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(usesLetter(QLocale().territory()) ? QPageSize::Letter : QPageSize::A4));
        writer.setTitle(L(kTxtAcceptance));
        writer.setCreator(QStringLiteral("Zelmora"));
        paintDocument(writer);
    }
    return out.commit() || failed();
}

void LotSummaryWindow::printClick()
{
    m_lists.log().write(QStringLiteral("Summary print"));
    refresh();
    Dialogs::print(this, [this](QPagedPaintDevice& printer) { paintDocument(printer); });
}

void LotSummaryWindow::savePdfClick()
{
    m_lists.log().write(QStringLiteral("Summary PDF"));
    // A folder that is not there would be offered relative to the program's.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString proposed = QDir(folder).absoluteFilePath(QStringLiteral("summary.pdf"));
    const QString file = Dialogs::saveFile(this, L(kTxtSavePdf), L(kTxtPdfFilter), proposed, nullptr, true,
                                           &m_services.store);
    if (file.isEmpty())
        return;
    QString error;
    if (!writePdf(file, &error))
        Dialogs::error(this, L(kTxtPdfFailed) + QLatin1Char('\n') + file + QStringLiteral(": ") + error);
}

} // namespace zel
