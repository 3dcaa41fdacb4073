#include "equates/ui/KeycodeHelperWindow.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/EquateRecord.h"
#include "equates/PopupRecord.h"
#include "equates/ui/ClarionHelp.h"
#include "equates/ui/PopupChooser.h"
#include "equates/ui/QtKeycode.h"
#include "runtime/FixedText.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrix::equates {

KeycodeHelperWindow* KeycodeHelperWindow::open(config::Session& session, QWidget* parent)
{
    auto equates =
        std::make_shared<data::DataFileUse>(session.files(), data::FileName::Equates, equateLayout());
    if (!*equates)
        return nullptr;
    auto popups = std::make_shared<data::DataFileUse>(session.files(), data::FileName::Popups, popupLayout());
    if (!*popups)
        return nullptr;
    return new KeycodeHelperWindow(session, std::move(equates), std::move(popups), parent);
}

namespace {
QLineEdit* display(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QPushButton* keyButton(QWidget* parent, const QString& text, const char* name, const QString& tip = {})
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus); // keys go to the tool, never to a button
    b->setAutoDefault(false);
    return b;
}
} // namespace

KeycodeHelperWindow::KeycodeHelperWindow(config::Session& session, std::shared_ptr<data::DataFileUse> equates,
                                         std::shared_ptr<data::DataFileUse> popups, QWidget* parent)
    : ToolWindow("KeycodeFinder", session.tools(), session.positions(), parent), m_session(session),
      m_popups(*popups->file()), m_helper(*equates->file())
{
    holdWhileOpen(equates);
    holdWhileOpen(popups);
    setWindowTitle(QStringLiteral("Keycode Helper"));
    auto* body = new QWidget(this);

    m_name = display(body, "keyName");
    m_value = display(body, "keycode");
    m_unmodified = display(body, "unmodified");
    m_character = display(body, "character");
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Key:"), m_name);
    fields->addRow(QStringLiteral("Keycode:"), m_value);
    fields->addRow(QStringLiteral("Unmodified:"), m_unmodified);
    fields->addRow(QStringLiteral("Charcter: "), m_character);

    auto* toClip =
        keyButton(body, QStringLiteral("To Clip"), "toClip", QStringLiteral("Copy Keycode to Clipboard"));
    auto* again = keyButton(body, QStringLiteral(" A&gain"), "again", QStringLiteral("Same Copy Again"));
    auto* close = keyButton(body, QStringLiteral("Close"), "close");
    auto* help =
        keyButton(body, QStringLiteral("C&W Help"), "cwHelp", QStringLiteral("View CW Help on Keycodes"));

    auto* special = new QGroupBox(QStringLiteral("Special"), body);
    auto* specialLayout = new QVBoxLayout(special);
    const std::pair<const char*, SpecialKey> specials[] = {{"&Tab", SpecialKey::Tab},
                                                           {"E&nter", SpecialKey::Enter},
                                                           {"Esca&pe", SpecialKey::Escape},
                                                           {"F&1 Key", SpecialKey::F1}};
    for (const auto& [text, key] : specials) {
        QString name = QString::fromLatin1(text).remove(QLatin1Char('&')).remove(QLatin1Char(' '));
        auto* b = keyButton(special, QString::fromLatin1(text), "", {});
        b->setObjectName(QStringLiteral("special") + name);
        specialLayout->addWidget(b);
        const SpecialKey pressed = key;
        connect(b, &QPushButton::clicked, this, [this, pressed] {
            m_helper.pressSpecial(pressed);
            refresh();
        });
    }

    auto* modifiers = new QGroupBox(QStringLiteral("Modifiers"), body);
    auto* modifierLayout = new QVBoxLayout(modifiers);
    m_shift = new QCheckBox(QStringLiteral(" &Shift"), modifiers);
    m_shift->setObjectName(QStringLiteral("shift"));
    m_ctrl = new QCheckBox(QStringLiteral(" &Ctrl"), modifiers);
    m_ctrl->setObjectName(QStringLiteral("ctrl"));
    m_alt = new QCheckBox(QStringLiteral(" &Alt"), modifiers);
    m_alt->setObjectName(QStringLiteral("alt"));
    for (QCheckBox* box : {m_shift, m_ctrl, m_alt}) {
        box->setFocusPolicy(Qt::NoFocus);
        modifierLayout->addWidget(box);
    }
    connect(m_shift, &QCheckBox::toggled, this, [this](bool on) {
        m_helper.setShift(on);
        refresh();
    });
    connect(m_ctrl, &QCheckBox::toggled, this, [this](bool on) {
        m_helper.setCtrl(on);
        refresh();
    });
    connect(m_alt, &QCheckBox::toggled, this, [this](bool on) {
        m_helper.setAlt(on);
        refresh();
    });

    auto* mouse = new QGroupBox(QStringLiteral("Mouse"), body);
    mouse->setToolTip(QStringLiteral("Use Mouse to select Shift, Ctrl or Alt modifier"));
    auto* mouseLayout = new QVBoxLayout(mouse);
    m_left = new QRadioButton(QStringLiteral("&Left"), mouse);
    m_left->setObjectName(QStringLiteral("mouseLeft"));
    m_center = new QRadioButton(QStringLiteral("C&enter"), mouse);
    m_center->setObjectName(QStringLiteral("mouseCenter"));
    m_right = new QRadioButton(QStringLiteral("&Right"), mouse);
    m_right->setObjectName(QStringLiteral("mouseRight"));
    m_double = new QCheckBox(QStringLiteral("&Double"), mouse);
    m_double->setObjectName(QStringLiteral("double"));
    m_double->setToolTip(QStringLiteral("Use Mouse to select Shift, Ctrl or Alt modifier"));
    m_mouse = new QButtonGroup(this);
    m_mouse->setExclusive(false); // a captured key leaves no choice
    int id = 0;
    for (QAbstractButton* choice :
         {static_cast<QAbstractButton*>(m_left), static_cast<QAbstractButton*>(m_center),
          static_cast<QAbstractButton*>(m_right)}) {
        choice->setFocusPolicy(Qt::NoFocus);
        m_mouse->addButton(choice, ++id);
        mouseLayout->addWidget(choice);
    }
    m_double->setFocusPolicy(Qt::NoFocus);
    mouseLayout->addWidget(m_double);
    connect(m_mouse, &QButtonGroup::idClicked, this, [this](int chosen) {
        const QSignalBlocker block(m_mouse);
        m_left->setChecked(chosen == 1);
        m_center->setChecked(chosen == 2);
        m_right->setChecked(chosen == 3);
        m_helper.chooseMouse(chosen == 1   ? MouseChoice::Left
                             : chosen == 2 ? MouseChoice::Center
                                           : MouseChoice::Right);
        refresh();
    });
    connect(m_double, &QCheckBox::clicked, this, [this](bool on) {
        m_helper.setDouble(on);
        refresh();
    });

    connect(toClip, &QPushButton::clicked, this, &KeycodeHelperWindow::toClip);
    connect(again, &QPushButton::clicked, this,
            [this] { m_session.putCode(std::vector<std::string>{m_helper.again()}); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(help, &QPushButton::clicked, this, [this] {
        const std::string root = m_session.configuration().text(config::Cfg::CwPath);
        openClarionHelp(m_session.dialogs(), {root + "\\BIN\\C5Help.HLP", "Keyboard  and Keycodes", false},
                        "~Keycode_Helper");
    });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {toClip, again, help, close})
        buttons->addWidget(b);
    auto* groups = new QHBoxLayout;
    groups->addWidget(special);
    groups->addWidget(modifiers);
    groups->addWidget(mouse);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    setWidget(body);
    body->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(body);
    runtime::addHelpKey(this, QStringLiteral("~Keycode_Helper"));
    qApp->installEventFilter(this);
    refresh();
}

KeycodeHelperWindow::~KeycodeHelperWindow()
{
    qApp->removeEventFilter(this);
}

bool KeycodeHelperWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        event->accept(); // no shortcut or mnemonic acts while the window has the keys
        return false;
    }
    const auto code = keycodeFromQt(*key);
    if (!code)
        return true;
    m_helper.captureKey(*code);
    {
        const QSignalBlocker block(m_mouse);
        for (QAbstractButton* choice : m_mouse->buttons())
            choice->setChecked(false);
    }
    m_double->setChecked(false);
    refresh();
    return true;
}

bool KeycodeHelperWindow::showItem(const runtime::ShowRequest& request)
{
    if (request.number <= 0 || request.number > 0xFFFF)
        return false;
    m_helper.captureKey(static_cast<int>(request.number));
    refresh();
    deliver(runtime::ToolEvent::Activate);
    return true;
}

void KeycodeHelperWindow::refresh()
{
    m_name->setText(runtime::toQt(m_helper.name()));
    m_value->setText(QString::number(m_helper.value()));
    m_unmodified->setText(QString::number(m_helper.unmodified()));
    const char c = m_helper.character();
    m_character->setText(static_cast<unsigned char>(c) >= 32 ? runtime::toQt(std::string(1, c)) : QString());
}

void KeycodeHelperWindow::toClip()
{
    const std::string chosen = choosePopupCode(this, m_popups, KeycodeFindPopup, "|");
    if (runtime::isBlank(chosen))
        return;
    m_session.putCode(std::vector<std::string>{m_helper.code(chosen)});
}

void KeycodeHelperWindow::onEquatesLoading()
{
    close();
}

} // namespace kestrix::equates
