// A looping animation of our own, for the progress and busy indicators:
// a ring of dots that turns, or, in a wide strip, blocks that run across.
#pragma once

#include <QWidget>

class QTimer;

namespace zel {

class Spinner : public QWidget {
    Q_OBJECT
public:
    explicit Spinner(QWidget* parent = nullptr);
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* m_timer;
    int m_frame = 0;
};

} // namespace zel
