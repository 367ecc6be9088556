// Where the calculation base is, in the settings window: this computer's
// file or an office's server, with the connection and its test.
#pragma once

#include <QGroupBox>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace zel {

class ISettingsStore;
class IServerBases;

class BaseServerBox : public QGroupBox {
    Q_OBJECT
public:
    // Without `servers` only this computer's file can be chosen.
    BaseServerBox(ISettingsStore& store, IServerBases* servers, QWidget* parent);

    // The stored choice into the controls.
    void load();
    void retranslate();

public slots:
    // Says in a box whether the server answers and the base may be read and written.
    void testConnection();

private:
    void keep(); // the controls into the store
    void enableFields(); // the connection shown for a server only

    ISettingsStore& m_store;
    IServerBases* m_servers;
    QButtonGroup* m_where;
    QScrollArea* m_scroll;
    QWidget* m_connection;
    QLabel* m_serverLabel;
    QLineEdit* m_server;
    QLabel* m_databaseLabel;
    QLineEdit* m_database;
    QLabel* m_userLabel;
    QLineEdit* m_user;
    QPushButton* m_test;
};

} // namespace zel
