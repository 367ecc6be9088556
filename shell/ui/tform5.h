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

class TForm1;
class BaseServerButton;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(TForm1* main);

    // Docks beside the main window: on its right, or on its left when the
    // right side has no room on the screen.
    void SetPosition();
    // Applies the language selected in the language group, everywhere.
    void RadioGroup1Click();
    // Selects a language in the group (as the callers of RadioGroup1Click do first).
    void selectLanguage(int index);
    // Method group enabled on the round-timber tab, disabled on the board tab;
    // then SetPosition. Runs when the main window has changed.
    void ApplicationEvents1Idle();
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

    TForm1* m_main;
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
