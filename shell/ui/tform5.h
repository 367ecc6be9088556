// The settings window: species, moisture, method, taper, language, sorting,
// automatic update. Created once at start-up and reused.
#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zel {

struct AppServices;
class AppEvents;
class Log;
class BaseServerButton;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    // Docked beside `main`; tells what changed through the services' events.
    TForm5(QWidget* main, const AppServices& services);

    // Docks beside the main window: on its right, or on its left when the
    // right side has no room on the screen.
    void SetPosition();
    // Applies the language selected in the language group, everywhere.
    void RadioGroup1Click();
    // Selects a language in the group (as the callers of RadioGroup1Click do first).
    void selectLanguage(int index);
    // Method group enabled on the round-timber tab, disabled on the board tab;
    // then SetPosition. Runs when the main window has changed.
    void ApplicationEvents1Idle(bool roundInFront, bool boardInFront);
    // The sorting box shows `on` (an undo turned sorting off or on).
    void showSortMode(bool on);

private slots:
    void ComboBoxTypeWoodChange();
    void ComboBoxWetWoodChange();
    void RadioGroupCategoryClick();
    void ComboBoxDownGradeWoodChange();
    void CheckBox1Click();
    void CheckBox2Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();

    QWidget* m_main;
    zel::Log& m_log;
    AppEvents& m_events;
    QCheckBox* CheckBox2;
    QGroupBox* RadioGroup1;
    QButtonGroup* m_languages;
    QLabel* Label1;
    QComboBox* ComboBoxTypeWood;
    QLabel* Label2;
    QComboBox* ComboBoxWetWood;
    QGroupBox* RadioGroupCategory;
    QButtonGroup* m_methods;
    QLabel* Label8;
    QComboBox* ComboBoxDownGradeWood;
    QCheckBox* CheckBox1;
    QPushButton* Button1;
    BaseServerButton* BaseButton; // where the calculation base is
};

} // namespace zel
