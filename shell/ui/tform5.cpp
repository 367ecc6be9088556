// The settings window.
#include "shell/ui/tform5.h"
#include "base/ui/baseserverbox.h"
#include "shell/langtable.h"
#include "shell/log.h"
#include "shell/settings.h"
#include "shell/ui/appevents.h"
#include "shell/ui/appservices.h"
#include "shell/ui/fittext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace zel {
namespace {

// Wider only where a text of the current language needs it.
constexpr int kDesignWidth = 182;

QGroupBox* radioGroup(QWidget* parent, const char* name, QButtonGroup** group, int items)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(2);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items; ++i) {
        auto* b = new QRadioButton(box);
        b->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        layout->addWidget(b);
        (*group)->addButton(b, i);
    }
    return box;
}

QComboBox* dropDown(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

} // namespace

TForm5::TForm5(QWidget* main, const AppServices& services)
    : QWidget(main, Qt::Tool)
    , m_main(main)
    , m_log(*services.log)
    , m_events(*services.events)
{
    setObjectName(QStringLiteral("Form5"));
    setFixedWidth(kDesignWidth);
    resize(kDesignWidth, 540);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    // It takes the main window's height, whatever its contents would like.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    CheckBox2 = new QCheckBox(this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    layout->addWidget(CheckBox2);
    // A packaged program never checks for updates by itself.
    CheckBox2->setVisible(services.selfUpdate);

    RadioGroup1 = radioGroup(this, "RadioGroup1", &m_languages, 3);
    m_languages->button(0)->setText(QStringLiteral("Українська"));
    m_languages->button(1)->setText(QStringLiteral("Русский"));
    m_languages->button(2)->setText(QStringLiteral("English"));
    m_languages->button(0)->setChecked(true);
    layout->addWidget(RadioGroup1);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    ComboBoxTypeWood = dropDown(this, "ComboBoxTypeWood");
    for (int i = 0; i < 6; ++i)
        ComboBoxTypeWood->addItem(QString());
    ComboBoxTypeWood->setCurrentIndex(4);
    layout->addWidget(ComboBoxTypeWood);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2);
    ComboBoxWetWood = dropDown(this, "ComboBoxWetWood");
    for (int percent : {10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120})
        ComboBoxWetWood->addItem(QStringLiteral("%1%").arg(percent));
    ComboBoxWetWood->setCurrentIndex(8);
    layout->addWidget(ComboBoxWetWood);

    RadioGroupCategory = radioGroup(this, "RadioGroupCategory", &m_methods, 4);
    m_methods->button(0)->setChecked(true);
    layout->addWidget(RadioGroupCategory);

    Label8 = new QLabel(this);
    Label8->setObjectName(QStringLiteral("Label8"));
    layout->addWidget(Label8);
    ComboBoxDownGradeWood = dropDown(this, "ComboBoxDownGradeWood");
    for (const char* t : {"0,5 cm.", "1,0 cm.", "1,5 cm.", "2,0 cm.", "2,5 cm.", "3,0 cm.", "3,5 cm.", "4,0 cm."})
        ComboBoxDownGradeWood->addItem(QLatin1String(t));
    ComboBoxDownGradeWood->setCurrentIndex(1);
    Label8->setEnabled(false);
    ComboBoxDownGradeWood->setEnabled(false);
    layout->addWidget(ComboBoxDownGradeWood);

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);
    layout->addStretch();

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    BaseButton = new BaseServerButton(services.store, services.serverBases, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1, 1);
    bottom->addWidget(BaseButton);
    layout->addLayout(bottom);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &TForm5::Button1Click);

    connect(ComboBoxTypeWood, &QComboBox::activated, this, &TForm5::ComboBoxTypeWoodChange);
    connect(ComboBoxWetWood, &QComboBox::activated, this, &TForm5::ComboBoxWetWoodChange);
    connect(m_methods, &QButtonGroup::idClicked, this, &TForm5::RadioGroupCategoryClick);
    connect(ComboBoxDownGradeWood, &QComboBox::activated, this, &TForm5::ComboBoxDownGradeWoodChange);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm5::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm5::CheckBox2Click);
    connect(m_languages, &QButtonGroup::idClicked, this, &TForm5::RadioGroup1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);

    FormCreate();
}

void TForm5::FormCreate()
{
    // Every run starts from these choices: the controls' initial selections.
    Settings.DownGradeWood = static_cast<TaperStep>(ComboBoxDownGradeWood->currentIndex());
    Settings.Method = static_cast<CalcMethod>(m_methods->checkedId());
    Settings.WetWood = static_cast<std::uint8_t>(ComboBoxWetWood->currentIndex());
    Settings.TypeWood = static_cast<std::uint8_t>(ComboBoxTypeWood->currentIndex());
}

void TForm5::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitWidth(this, kDesignWidth);
    FormShow();
}

void TForm5::FormShow()
{
    SetPosition();
    selectLanguage(static_cast<int>(Settings.Language));
    RadioGroup1Click();
    CheckBox2->setChecked(Settings.AutoUpdate);
}

void TForm5::closeEvent(QCloseEvent* event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void TForm5::FormClose()
{
    emit m_events.settingsClosed();
}

void TForm5::SetPosition()
{
    const QRect main = m_main->frameGeometry();
    // Outer heights alike, whatever frames the two windows have.
    resize(width(), m_main->frameGeometry().height() - (frameGeometry().height() - height()));
    const QScreen* screen = m_main->screen();
    const int screenWidth = screen ? screen->geometry().right() + 1 : 0;
    const int w = frameGeometry().width();
    int left = main.left() + main.width() + 10;
    if (left + w > screenWidth)
        left = main.left() - w - 10;
    move(left, main.top());
}

void TForm5::selectLanguage(int index)
{
    if (QAbstractButton* b = m_languages->button(index))
        b->setChecked(true);
}

// RadioGroup1Click: apply the chosen language to every window that shows it now.
void TForm5::RadioGroup1Click()
{
    m_log.write(QStringLiteral("Change Language"));
    Settings.Language = static_cast<UiLanguage>(std::max(0, m_languages->checkedId()));
    setWindowTitle(L(0));
    Label1->setText(L(1));
    Label2->setText(L(28));
    RadioGroupCategory->setTitle(L(29));
    CheckBox2->setText(L(79));
    Button1->setText(L(74));
    RadioGroup1->setTitle(L(27));
    const int species = ComboBoxTypeWood->currentIndex();
    for (int i = 0; i < 6; ++i)
        ComboBoxTypeWood->setItemText(i, L(30 + i));
    ComboBoxTypeWood->setCurrentIndex(species);
    for (int i = 0; i < 4; ++i)
        m_methods->button(i)->setText(L(36 + i));
    Label8->setText(L(40));
    CheckBox1->setText(L(41));
    BaseButton->retranslate();
    // Its width matters only on the screen: a hidden window is fitted to
    // its texts when it is next shown.
    if (isVisible())
        fitWidth(this, kDesignWidth);
    emit m_events.languageApplied();
}

void TForm5::ApplicationEvents1Idle(bool roundInFront, bool boardInFront)
{
    if (roundInFront)
        RadioGroupCategory->setEnabled(true);
    else if (boardInFront)
        RadioGroupCategory->setEnabled(false);
    if (isVisible())
        SetPosition();
}

// ComboBoxTypeWoodChange: another species.
void TForm5::ComboBoxTypeWoodChange()
{
    Settings.TypeWood = static_cast<std::uint8_t>(ComboBoxTypeWood->currentIndex());
    emit m_events.settingsApplied();
}

// ComboBoxWetWoodChange: another moisture.
void TForm5::ComboBoxWetWoodChange()
{
    Settings.WetWood = static_cast<std::uint8_t>(ComboBoxWetWood->currentIndex());
    emit m_events.settingsApplied();
}

// RadioGroupCategoryClick: another volume method; the taper matters to the formula only.
void TForm5::RadioGroupCategoryClick()
{
    const int method = m_methods->checkedId();
    Label8->setEnabled(method == 2);
    ComboBoxDownGradeWood->setEnabled(method == 2);
    Settings.Method = static_cast<CalcMethod>(method);
    emit m_events.settingsApplied();
}

// ComboBoxDownGradeWoodChange: another taper.
void TForm5::ComboBoxDownGradeWoodChange()
{
    Settings.DownGradeWood = static_cast<TaperStep>(ComboBoxDownGradeWood->currentIndex());
    emit m_events.settingsApplied();
}

// CheckBox1Click: sorting on or off for both lists.
void TForm5::CheckBox1Click()
{
    emit m_events.sortingChosen(CheckBox1->isChecked());
}

void TForm5::showSortMode(bool on)
{
    CheckBox1->setChecked(on); // a click only turns it, not this
}

// CheckBox2Click: the automatic update check on or off, stored at once.
void TForm5::CheckBox2Click()
{
    Settings.AutoUpdate = CheckBox2->isChecked();
    emit m_events.settingsToStore();
}

// Button1Click: Close or Esc.
void TForm5::Button1Click()
{
    close();
}

} // namespace zel
