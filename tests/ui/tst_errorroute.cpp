// Errors that escape an event handler reach one handler and never end the
// program; the application's style puts off only the cost of its icons.
#include "engine/errors.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"

#include <QCommandLinkButton>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QTimer>
#include <QtTest>

using namespace zel;

class TestErrorRoute : public QObject {
    Q_OBJECT
private slots:
    void init();
    void errorFromAClickReachesTheHandler();
    void windowKeepsWorkingAfterAnError();
    void errorInsideTheHandlerIsShownPlainly();
    void noHandlerShowsAPlainBox();
    void commandLinkKeepsItsArrow();
};

void TestErrorRoute::init()
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    Application::instance()->setErrorHandler(nullptr);
}

void TestErrorRoute::errorFromAClickReachesTheHandler()
{
    QObject* seenSender = nullptr;
    QString seenMessage;
    Application::instance()->setErrorHandler([&](QObject* s, const std::exception& e) {
        seenSender = s;
        seenMessage = QString::fromUtf8(e.what());
    });
    QPushButton button;
    connect(&button, &QPushButton::clicked, [] { throw ConvertError(u"\"abc\" is not a valid integer value"_qs); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(seenMessage, u"\"abc\" is not a valid integer value"_qs);
    QCOMPARE(seenSender, &button);
}

void TestErrorRoute::windowKeepsWorkingAfterAnError()
{
    int errors = 0, clicks = 0;
    Application::instance()->setErrorHandler([&](QObject*, const std::exception&) { ++errors; });
    QPushButton button;
    connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw std::runtime_error("first");
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(errors, 1);
    // Timers keep firing too.
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    QTRY_VERIFY(fired);
}

void TestErrorRoute::errorInsideTheHandlerIsShownPlainly()
{
    Application::instance()->setErrorHandler([](QObject*, const std::exception&) {
        throw std::runtime_error("handler broke");
    });
    QPushButton button;
    connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("first"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(Dialogs::shown(), QStringList{u"handler broke"_qs});
}

void TestErrorRoute::noHandlerShowsAPlainBox()
{
    QTimer::singleShot(0, [] { throw Error(u"Ошибка"_qs); });
    QTRY_COMPARE(Dialogs::shown(), QStringList{u"Ошибка"_qs});
}

void TestErrorRoute::commandLinkKeepsItsArrow()
{
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    QVERIFY(style);
    QCommandLinkButton button;
    QStyleOption option;
    option.initFrom(&button);
    const QImage own = style->baseStyle()->standardIcon(QStyle::SP_CommandLink, &option).pixmap(20).toImage();
    QVERIFY(!own.isNull());
    QCOMPARE(button.icon().pixmap(20).toImage(), own);
    QCOMPARE(style->standardIcon(QStyle::SP_CommandLink, &option).pixmap(20).toImage(), own);
    // Every other icon is the base style's as it stands.
    QCOMPARE(style->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage(),
             style->baseStyle()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestErrorRoute t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_errorroute.moc"
