// The base's place in the settings. The server's name is kept only while
// "a server" is chosen: an empty BaseServer is what means the file.
#include "base/ui/baseserverbox.h"
#include "base/serverbase.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zel {

BaseServerBox::BaseServerBox(ISettingsStore& store, IServerBases* servers, QWidget* parent)
    : QGroupBox(parent)
    , m_store(store)
    , m_servers(servers)
{
    setObjectName(QStringLiteral("BaseServerBox"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    m_where = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("BaseWhere_%1").arg(i));
        layout->addWidget(b);
        m_where->addButton(b, i);
    }
    m_where->button(0)->setChecked(true);
    m_where->button(1)->setEnabled(servers != nullptr);
    // The connection shows only for a server.
    m_connection = new QWidget(this);
    m_connection->setObjectName(QStringLiteral("BaseConnection"));
    auto* fields = new QVBoxLayout(m_connection);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(2);
    layout->addWidget(m_connection);
    auto field = [this, fields](QLabel*& label, QLineEdit*& edit, const char* name) {
        label = new QLabel(m_connection);
        label->setObjectName(QLatin1String(name) + QStringLiteral("Label"));
        label->setWordWrap(true);
        edit = new QLineEdit(m_connection);
        edit->setObjectName(QLatin1String(name));
        label->setBuddy(edit);
        fields->addWidget(label);
        fields->addWidget(edit);
        connect(edit, &QLineEdit::editingFinished, this, &BaseServerBox::keep);
    };
    field(m_serverLabel, m_server, "BaseServer");
    field(m_databaseLabel, m_database, "BaseDatabase");
    field(m_userLabel, m_user, "BaseUser");
    m_test = new QPushButton(m_connection);
    m_test->setObjectName(QStringLiteral("BaseTest"));
    m_test->setAutoDefault(false);
    fields->addWidget(m_test);
    connect(m_where, &QButtonGroup::idClicked, this, [this] {
        enableFields();
        keep();
    });
    connect(m_test, &QPushButton::clicked, this, &BaseServerBox::testConnection);
    enableFields();
}

void BaseServerBox::load()
{
    const ServerPlace place = readServerPlace(m_store);
    m_server->setText(place.server);
    m_database->setText(place.database);
    m_user->setText(place.user);
    m_where->button(place.isServer() && m_servers ? 1 : 0)->setChecked(true);
    enableFields();
}

void BaseServerBox::retranslate()
{
    setTitle(L(362));
    m_where->button(0)->setText(L(363));
    m_where->button(1)->setText(L(364));
    m_serverLabel->setText(L(365));
    m_databaseLabel->setText(L(366));
    m_userLabel->setText(L(367));
    m_test->setText(L(368));
}

void BaseServerBox::enableFields()
{
    m_connection->setVisible(m_where->checkedId() == 1);
}

void BaseServerBox::keep()
{
    const bool server = m_where->checkedId() == 1;
    writeServerPlace(m_store, {server ? m_server->text() : QString(), m_database->text(), m_user->text()});
}

BaseServerButton::BaseServerButton(ISettingsStore& store, IServerBases* servers, QWidget* parent)
    : QToolButton(parent)
    , m_store(store)
    , m_servers(servers)
{
    setObjectName(QStringLiteral("BaseServerButton"));
    setText(QStringLiteral("\u2026"));
    connect(this, &QToolButton::clicked, this, [this] {
        makeDialog();
        m_box->load();
        m_dialog->open();
    });
}

// Made at the first click: its standard Close button would read the icon
// theme at the program's start, for a dialog most users never open.
void BaseServerButton::makeDialog()
{
    if (m_dialog)
        return;
    m_dialog = new QDialog(this);
    m_dialog->setObjectName(QStringLiteral("BaseServerDialog"));
    auto* layout = new QVBoxLayout(m_dialog);
    m_box = new BaseServerBox(m_store, m_servers, m_dialog);
    layout->addWidget(m_box);
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(m_dialog);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, m_dialog, &QDialog::reject);
    m_dialog->setMinimumWidth(260);
    relabelDialog();
}

void BaseServerButton::retranslate()
{
    setToolTip(L(362));
    setAccessibleName(L(362));
    relabelDialog();
}

void BaseServerButton::relabelDialog()
{
    if (!m_dialog)
        return;
    m_dialog->setWindowTitle(L(362));
    m_close->setText(L(74));
    m_box->retranslate();
}

void BaseServerBox::testConnection()
{
    if (!m_servers)
        return;
    keep();
    m_test->setEnabled(false);
    const ServerAccess access =
        m_servers->test({m_server->text(), m_database->text(), m_user->text()});
    m_test->setEnabled(true);
    if (!access.answers)
        Dialogs::warning(this, L(371).arg(access.detail.trimmed()));
    else if (!access.readWrite)
        Dialogs::warning(this, L(370).arg(access.detail.trimmed()));
    else
        Dialogs::message(this, L(369));
}

} // namespace zel
