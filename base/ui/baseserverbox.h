// Where the calculation base is, in the settings window: this computer's
// file or an office's server, with the connection and its test.
#pragma once

#include <QGroupBox>
#include <QToolButton>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QDialog;

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
    QWidget* m_connection;
    QLabel* m_serverLabel;
    QLineEdit* m_server;
    QLabel* m_databaseLabel;
    QLineEdit* m_database;
    QLabel* m_userLabel;
    QLineEdit* m_user;
    QPushButton* m_test;
};

// The settings window has no room to spare (it is as high as the main
// window, and its controls fill it): a button beside its Close button opens
// the choice in a window of its own.
class BaseServerButton : public QToolButton {
    Q_OBJECT
public:
    BaseServerButton(ISettingsStore& store, IServerBases* servers, QWidget* parent);
    void retranslate();

private:
    void makeDialog();
    void relabelDialog();

    ISettingsStore& m_store;
    IServerBases* m_servers;
    QDialog* m_dialog = nullptr;
    BaseServerBox* m_box = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace zel
