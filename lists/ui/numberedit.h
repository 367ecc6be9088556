// A decimal entry field: bounds, a fixed number of decimals, a display format.
#pragma once

#include <QLineEdit>

namespace zel {

class NumberEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int decimals READ decimals WRITE setDecimals)
    Q_PROPERTY(QString displayFormat READ displayFormat WRITE setDisplayFormat)
    Q_PROPERTY(bool checkRange READ checkRange WRITE setCheckRange)
public:
    explicit NumberEdit(QWidget* parent = nullptr);

    double minimum() const { return m_min; }
    void setMinimum(double v) { m_min = v; }
    double maximum() const { return m_max; }
    void setMaximum(double v) { m_max = v; }
    // Decimal digits that may be typed after the separator.
    int decimals() const { return m_decimals; }
    void setDecimals(int d) { m_decimals = d; }
    // How the value is shown when the field is not being edited: "," groups
    // thousands, the zeros after "." give the decimals shown (",0.0").
    QString displayFormat() const { return m_format; }
    void setDisplayFormat(const QString& format);
    // Whether reading brings the value to the nearer bound.
    bool checkRange() const { return m_checkRange; }
    void setCheckRange(bool on) { m_checkRange = on; }

    // The value the field holds: an empty text reads 0, a text that is no
    // number reads the minimum, and with checkRange the value is brought to
    // the nearer bound.
    double value() const;
    // Shows `v` in the display format.
    void setValue(double v);

    // The number in a text typed with "." or "," as decimal separator.
    static bool parse(const QString& text, double* value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString formatted(double v, int decimals) const;
    // Digits after the last decimal separator ("." or ",") of a text.
    static int typedDecimals(const QString& text);

    double m_min = 0.0;
    double m_max = 0.0;
    int m_decimals = 1;
    QString m_format = QStringLiteral(",0.0");
    int m_shownDecimals = 1;
    bool m_grouped = true;
    bool m_checkRange = true;
};

} // namespace zel
