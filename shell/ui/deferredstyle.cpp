#include "shell/ui/deferredstyle.h"

#include <QIconEngine>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

namespace zel {

namespace {

// Stands for the style's own icon and asks for it at the first use that
// needs its pictures.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget)
        : m_style(style)
        , m_which(which)
        , m_hasOption(option != nullptr)
        , m_widget(const_cast<QWidget*>(widget))
    {
        // The arrow's direction comes from the option; its other members
        // are the same at any later time.
        if (option)
            m_option = *option;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(*this);
        copy->m_icon = m_icon;
        copy->m_looked = m_looked;
        return copy;
    }

private:
    const QIcon& icon()
    {
        if (!m_looked && m_style)
            m_icon = m_style->standardIcon(m_which, m_hasOption ? &m_option : nullptr, m_widget);
        m_looked = true;
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    bool m_hasOption;
    QStyleOption m_option;
    QPointer<QWidget> m_widget;
    QIcon m_icon;
    bool m_looked = false;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(QStyle* base)
    : QProxyStyle(base)
{
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const
{
    // Only the command link's arrow is put off; no other icon is asked for
    // on the way to the first window.
    if (icon == SP_CommandLink)
        return QIcon(new DeferredIconEngine(baseStyle(), icon, option, widget));
    return QProxyStyle::standardIcon(icon, option, widget);
}

} // namespace zel
