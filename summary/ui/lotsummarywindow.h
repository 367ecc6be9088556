// The lot summary window: the list in front by diameter class (by section
// for boards) with prices and costs, the four methods side by side and the
// trade rules of other markets below them, the
// stacked volume and a chart; printed or saved as PDF as the lot's
// acceptance document, with the lot's number, the parties and the place
// typed in fields of their own. Non-modal; it follows the lists and the
// settings.
#pragma once

#include "summary/acceptdoc.h"

#include <QImage>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace zel {

class ISummaryCharts;
class ListsSession;
struct AppServices;

class LotSummaryWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own beside `main`, following the lists; `params` are
    // the stored values as read at start.
    LotSummaryWindow(ListsSession& lists, const AppServices& services, const SummaryParams& params, QWidget* main);
    ~LotSummaryWindow() override;

    // Shows the window, up to date, in front.
    void openSummary();
    // Recomputes from the list in front now.
    void refresh();
    // Ctrl+P: through the print dialog.
    void printClick();
    // Ctrl+S: through a save dialog proposing "summary.pdf" in the documents folder.
    void savePdfClick();
    // Writes the acceptance document as PDF, on the paper of the system's
    // country. False, and the system's reason in `error`, when the file was
    // not written.
    bool writePdf(const QString& file, QString* error = nullptr);

    const LotSummary& summary() const { return m_summary; }
    const SummaryParams& params() const { return m_params; }
    // The chart as it is printed: laid out at `size`, `pixelRatio` times as many pixels.
    QImage chartImage(const QSize& size, double pixelRatio);
    // The document's header as typed.
    LotParties parties() const;

private:
    void scheduleRefresh();
    void relabel();
    void fillClasses();
    void fillMethods();
    void priceEdited(QTableWidgetItem* item);
    void boundsEdited();
    void factorEdited();
    void currencyEdited();
    void partiesEdited();
    void store(const QString& name, const QString& text);
    void refuse();
    void paintDocument(QPagedPaintDevice& device);

    ListsSession& m_lists;
    const AppServices& m_services;
    SummaryParams m_params;
    LotSummary m_summary;
    bool m_boards = false;
    bool m_pending = false;
    bool m_filling = false;

    std::array<QLabel*, 4> m_partyCaptions;
    std::array<QLineEdit*, 4> m_parties; // lot number, seller, buyer, place
    std::array<QString, 4> m_storedParties;
    QLabel* m_info;
    QTableWidget* m_classes;
    QLabel* m_boundsCaption;
    std::array<QLineEdit*, 3> m_bounds;
    QLabel* m_factorCaption;
    QLineEdit* m_factor;
    QLabel* m_currencyCaption;
    QLineEdit* m_currency;
    QLabel* m_stacked;
    QTableWidget* m_methods;
    QLabel* m_rulesCaption;
    QTableWidget* m_rules;
    // Null where the program has no charts: the chart's place stays empty.
    ISummaryCharts* m_charts;
    QWidget* m_chartView;
    QPushButton* m_print;
    QPushButton* m_pdf;
    QPushButton* m_close;
};

} // namespace zel
