// The application's style, with the standard icons that cost a search of the
// icon theme looked up when first drawn instead of when a widget is made.
#pragma once

#include <QProxyStyle>

namespace zel {

// A command-link button asks for its arrow as it is made, and the first such
// question reads the whole icon theme's index (thousands of lines) before the
// main window can show, though the Menu button replaces the arrow at once.
class DeferredIconStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes `base` over, as a proxy style does.
    explicit DeferredIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace zel
