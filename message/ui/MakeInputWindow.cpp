#include "message/ui/MakeInputWindow.h"

#include "config/ConfigRecord.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/EquateRecord.h"
#include "equates/PopupRecord.h"
#include "equates/ui/PopupChooser.h"
#include "message/IconList.h"
#include "message/MessageFile.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "message/TextInsertion.h"
#include "message/ui/MessageLoadDialog.h"
#include "message/ui/MessageSaveDialog.h"
#include "message/ui/MessageTextEdit.h"
#include "message/ui/MsgInsertBrowse.h"
#include "message/ui/RenameButtonsDialog.h"
#include "runtime/FixedText.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrix::message {

using runtime::fromQt;
using runtime::toQt;

struct MakeInputWindow::Files
{
    data::DataFileUse equates;
    data::DataFileUse messages;
    data::DataFileUse inserts;
    data::DataFileUse popups;

    explicit Files(data::DataFileRegistry& registry)
        : equates(registry, data::FileName::Equates, equates::equateLayout()),
          messages(registry, data::FileName::Messages, messageLayout()),
          inserts(registry, data::FileName::MessageInserts, messageInsertLayout()),
          popups(registry, data::FileName::Popups, equates::popupLayout())
    {
    }
    bool ok() const { return equates && messages && inserts && popups; }
};

namespace {

// Pictures for the icons a message box or a button can show: the style's own where it has
// one, the program's own otherwise; a name the list does not know gets the application's.
QIcon iconPicture(const std::string& name)
{
    struct Picture
    {
        const char* name;
        QStyle::StandardPixmap standard;
        const char* own; // the program's icon, when the style has none
    };
    static const Picture pictures[] = {
        {"None", QStyle::SP_CustomBase, "ICONNONE"},
        {"Application", QStyle::SP_ComputerIcon, nullptr},
        {"Hand", QStyle::SP_MessageBoxCritical, nullptr},
        {"Question", QStyle::SP_MessageBoxQuestion, nullptr},
        {"Exclamation", QStyle::SP_MessageBoxWarning, nullptr},
        {"Asterisk", QStyle::SP_MessageBoxInformation, nullptr},
        {"Pick", QStyle::SP_FileDialogContentsView, nullptr},
        {"Save", QStyle::SP_DialogSaveButton, nullptr},
        {"Open", QStyle::SP_DialogOpenButton, nullptr},
        {"New", QStyle::SP_FileIcon, nullptr},
        {"Help", QStyle::SP_DialogHelpButton, nullptr},
        {"Child", QStyle::SP_TitleBarNormalButton, nullptr},
        {"Frame", QStyle::SP_TitleBarMaxButton, nullptr},
        {"NextPage", QStyle::SP_ArrowForward, nullptr},
        {"PrevPage", QStyle::SP_ArrowBack, nullptr},
        {"Tick", QStyle::SP_DialogApplyButton, nullptr},
        {"Cross", QStyle::SP_DialogCancelButton, nullptr},
        {"VCRtop", QStyle::SP_MediaSkipBackward, nullptr},
        {"VCRrewind", QStyle::SP_MediaSeekBackward, nullptr},
        {"VCRback", QStyle::SP_ArrowLeft, nullptr},
        {"VCRplay", QStyle::SP_MediaPlay, nullptr},
        {"VCRfastforward", QStyle::SP_MediaSeekForward, nullptr},
        {"VCRbottom", QStyle::SP_MediaSkipForward, nullptr},
        {"VCRlocate", QStyle::SP_FileDialogContentsView, nullptr},
        {"Print", QStyle::SP_CustomBase, "ICONPRINT"},
        {"Print1", QStyle::SP_CustomBase, "ICONPRINT1"},
        {"NoPrint", QStyle::SP_CustomBase, "ICONNOPRINT"},
        {"Paste", QStyle::SP_CustomBase, "ICONPASTE"},
        {"Cut", QStyle::SP_CustomBase, "ICONCUT"},
        {"Copy", QStyle::SP_CustomBase, "ICONCOPY"},
        {"Zoom", QStyle::SP_CustomBase, "ICONZOOM"},
        {"JumpPage", QStyle::SP_CustomBase, "ICONJUMPPAGE"},
        {"Thumbnail", QStyle::SP_CustomBase, "ICONTHUMBNAIL"},
        {"Connect", QStyle::SP_CustomBase, "ICONCONNECT"},
        {"Clarion", QStyle::SP_CustomBase, "ICONCLARION"},
        {"Ellipsis", QStyle::SP_CustomBase, "ICONELLIPSIS"},
    };
    for (const Picture& p : pictures) {
        if (!runtime::sameTextNoCase(name, p.name))
            continue;
        if (p.own)
            return runtime::appIcon(p.own);
        return QApplication::style()->standardIcon(p.standard);
    }
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

} // namespace

MakeInputWindow* MakeInputWindow::open(config::Session& session, QWidget* parent)
{
    auto files = std::make_unique<Files>(session.files());
    if (!files->ok())
        return nullptr;
    std::vector<std::string> icons = iconNames(files->equates.file());
    auto* window = new MakeInputWindow(session, std::move(files), std::move(icons), parent);
    if (!window->m_maker->newMessage()) {
        delete window; // the template cannot be made: the window closes again
        return nullptr;
    }
    window->showRecord();
    window->markUnmodified();
    return window;
}

MakeInputWindow::MakeInputWindow(config::Session& session, std::unique_ptr<Files> files,
                                 std::vector<std::string> icons, QWidget* parent)
    : ToolWindow("MakeInput", session.tools(), session.positions(), parent), m_session(session),
      m_files(std::move(files))
{
    m_maker = std::make_unique<MessageMaker>(session, *m_files->messages.file(), std::move(icons));
    m_popupCode = [this](const std::string& type, const std::string& conversions, std::size_t maxLength) {
        return equates::choosePopupCode(this, *m_files->popups.file(), type, conversions, maxLength);
    };
    m_iconizeFrame = [this] {
        if (QWidget* frame = window())
            frame->showMinimized();
    };
    setWindowTitle(QStringLiteral("Message Maker"));
    setWindowIcon(runtime::appIcon("MSG.ICO"));
    auto* body = new QWidget(this);
    buildMenu(body);
    buildControls(body);
    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~Message_Maker"));
    resize(620, 560);
}

MakeInputWindow::~MakeInputWindow() = default;

void MakeInputWindow::buildMenu(QWidget* body)
{
    auto* menuBar = new QMenuBar(body);
    QMenu* menu = menuBar->addMenu(QStringLiteral("&Message"));
    const auto add = [&](const QString& text, const char* name, QKeySequence key, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(a); // the shortcut works while the window has the focus
        }
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* newAction =
        add(QStringLiteral("&New"), "new", QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newMessage(); });
    QAction* openNew = add(QStringLiteral("O&pen As New"), "openAsNew", QKeySequence(Qt::CTRL | Qt::Key_W),
                           [this] { openMessage(true); });
    QAction* openAction = add(QStringLiteral("&Open"), "open", QKeySequence(Qt::CTRL | Qt::Key_O),
                              [this] { openMessage(false); });
    m_saveAction = add(QStringLiteral("&Save"), "save", QKeySequence(Qt::CTRL | Qt::Key_S),
                       [this] { saveMessage(false); });
    QAction* saveAs = add(QStringLiteral("Save &As"), "saveAs", QKeySequence(Qt::CTRL | Qt::Key_A),
                          [this] { saveMessage(true); });
    menu->addSeparator();
    QAction* generateAction = add(QStringLiteral("&Generate Code to Clipboard"), "generate",
                                  QKeySequence(Qt::CTRL | Qt::Key_G), [this] { generate(false); });
    QAction* minimize = add(QStringLiteral("&Generate Code and Minimize"), "generateMinimize",
                            QKeySequence(Qt::CTRL | Qt::Key_M), [this] { generate(true); });
    add(QStringLiteral("&Decompile Message from Clipboard"), "decompile", QKeySequence(),
        [this] { decompileClipboard(); });
    QAction* previewAction = add(QStringLiteral("Pre&view!"), "preview", QKeySequence(Qt::CTRL | Qt::Key_P),
                                 [this] { preview(); });

    auto* toolBar = new QToolBar(body);
    toolBar->setObjectName(QStringLiteral("messageToolBar"));
    const auto tool = [&](const QString& tip, const char* icon, QAction* command) {
        QAction* a = toolBar->addAction(runtime::appIcon(icon), tip);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, command, &QAction::trigger);
        return a;
    };
    tool(QStringLiteral("New Message"), "MSGNEW.ICO", newAction);
    tool(QStringLiteral("Open As New"), "MSGOPENNEW.ICO", openNew);
    tool(QStringLiteral("Open Message"), "MSGOPEN.ICO", openAction);
    m_saveTool = tool(QStringLiteral("Save Message"), "MSGSAVE.ICO", m_saveAction);
    m_saveTool->setObjectName(QStringLiteral("saveTool"));
    tool(QStringLiteral("Save As"), "SAVEAS.ICO", saveAs);
    toolBar->addSeparator();
    tool(QStringLiteral("Preview Message"), "PREV1.ICO", previewAction);
    tool(QStringLiteral("Generate Message Code to Clipboard"), "LIGHTN1.ICO", generateAction);
    tool(QStringLiteral("Generate Message and Minimize"), "LIGHTMIN.ICO", minimize);

    auto* layout = new QVBoxLayout(body);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
}

void MakeInputWindow::buildControls(QWidget* body)
{
    auto* layout = static_cast<QVBoxLayout*>(body->layout());

    m_title = new QLineEdit(body);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setMaxLength(messageLayout()->field(Mes::Caption).size);
    m_title->installEventFilter(this);
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_maker->setCaption(fromQt(text))) {
            const QSignalBlocker b(m_title);
            m_title->setText(toQt(m_maker->message().text(Mes::Caption)));
            QApplication::beep();
        }
        showTitle();
    });
    auto* titleLabel = new QLabel(QStringLiteral("&Title:"), body);
    titleLabel->setBuddy(m_title);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(m_title);
    layout->addLayout(titleRow);

    m_text = new MessageTextEdit(body);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setTabCharacter([this] { return m_maker->tabCharacter(); });
    m_text->installEventFilter(this);
    applyConfiguredFonts();
    connect(m_text, &QPlainTextEdit::textChanged, this, &MakeInputWindow::textEdited);
    connect(m_text, &MessageTextEdit::fieldsDropped, this, &MakeInputWindow::dropFields);
    auto* textLabel = new QLabel(QStringLiteral("Te&xt:"), body);
    textLabel->setBuddy(m_text);
    m_expand = new QPushButton(QStringLiteral(" &>>"), body);
    m_expand->setObjectName(QStringLiteral("expand"));
    m_expand->setToolTip(
        QStringLiteral("Press to Expand the Message text to fill the screen for easier editing"));
    connect(m_expand, &QPushButton::clicked, this, &MakeInputWindow::toggleExpanded);
    auto* quick = new QPushButton(QStringLiteral("{&Q}"), body);
    quick->setObjectName(QStringLiteral("quickInsert"));
    quick->setToolTip(QStringLiteral("Quick Insert a {Function}"));
    connect(quick, &QPushButton::clicked, this, &MakeInputWindow::quickInsert);
    auto* misc = new QPushButton(QStringLiteral("{&M}"), body);
    misc->setObjectName(QStringLiteral("miscInsert"));
    misc->setToolTip(QStringLiteral("Insert Miscellaneous Text"));
    connect(misc, &QPushButton::clicked, this, &MakeInputWindow::miscInsert);
    auto* side = new QVBoxLayout;
    side->addWidget(textLabel);
    side->addWidget(m_expand);
    side->addWidget(quick);
    side->addWidget(misc);
    side->addStretch();
    auto* textRow = new QHBoxLayout;
    textRow->addLayout(side);
    textRow->addWidget(m_text, 1);
    layout->addLayout(textRow, 1);

    m_details = new QWidget(body);
    auto* details = new QGridLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);

    m_icon = new QComboBox(m_details);
    m_icon->setObjectName(QStringLiteral("icon"));
    for (const std::string& name : m_maker->icons())
        m_icon->addItem(iconPicture(name), toQt(name));
    connect(m_icon, &QComboBox::activated, this, [this](int index) {
        m_maker->setIcon(index);
        showTitle();
    });
    auto* iconLabel = new QLabel(QStringLiteral("&Icon:"), m_details);
    iconLabel->setBuddy(m_icon);
    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(iconLabel);
    iconRow->addWidget(m_icon, 1);
    details->addLayout(iconRow, 0, 0, 1, 2);

    auto* buttonBox = new QGroupBox(QStringLiteral("&Buttons"), m_details);
    auto* buttonGrid = new QGridLayout(buttonBox);
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        auto* check = new QCheckBox(QString::fromLatin1(standardButton(index).name), buttonBox);
        check->setObjectName(QStringLiteral("button%1").arg(index));
        connect(check, &QCheckBox::toggled, this, [this, index](bool on) {
            m_maker->setButton(index, on);
            showRecord();
        });
        buttonGrid->addWidget(check, (index - 1) % 4, (index - 1) / 4);
        m_buttons[static_cast<std::size_t>(index - 1)] = check;
    }
    m_rename = new QPushButton(QStringLiteral("&Rename"), buttonBox);
    m_rename->setObjectName(QStringLiteral("rename"));
    m_rename->setToolTip(QStringLiteral("Rename Buttons from Standard"));
    connect(m_rename, &QPushButton::clicked, this, &MakeInputWindow::renameButtons);
    buttonGrid->addWidget(m_rename, 4, 0, 1, 2);
    details->addWidget(buttonBox, 1, 0, 2, 1);

    auto* defaultBox = new QGroupBox(QStringLiteral("&Default Button"), m_details);
    defaultBox->setToolTip(QStringLiteral("Select the Default Buttion "));
    auto* defaultLayout = new QVBoxLayout(defaultBox);
    auto* defaultGroup = new QButtonGroup(defaultBox);
    for (int choice = 0; choice < DefaultChoiceCount; ++choice) {
        auto* radio = new QRadioButton(defaultBox);
        radio->setObjectName(QStringLiteral("default%1").arg(choice + 1));
        // A hidden choice keeps its room, so that ticking buttons never moves the other controls.
        QSize room;
        for (int index = 1; index <= Mes::ButtonCount; ++index) {
            radio->setText(QString::fromLatin1(standardButton(index).name));
            room = room.expandedTo(radio->sizeHint());
        }
        radio->setText(QString());
        radio->setMinimumSize(room);
        QSizePolicy policy = radio->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        radio->setSizePolicy(policy);
        defaultGroup->addButton(radio, choice);
        defaultLayout->addWidget(radio);
        m_defaults[static_cast<std::size_t>(choice)] = radio;
    }
    connect(defaultGroup, &QButtonGroup::idClicked, this, [this](int choice) {
        m_maker->setDefaultChoice(choice);
        showTitle();
    });
    details->addWidget(defaultBox, 1, 1);

    auto* codeBox = new QGroupBox(QStringLiteral("Code &Structure:"), m_details);
    auto* codeLayout = new QHBoxLayout(codeBox);
    auto* codeGroup = new QButtonGroup(codeBox);
    for (int i = 0; i < 3; ++i) {
        auto* radio =
            new QRadioButton(toQt(codeTypeNames()[static_cast<std::size_t>(i)]) + QLatin1Char(' '), codeBox);
        radio->setObjectName(
            QStringLiteral("code%1").arg(toQt(codeTypeNames()[static_cast<std::size_t>(i)])));
        codeGroup->addButton(radio, i);
        codeLayout->addWidget(radio);
        m_codeTypes[static_cast<std::size_t>(i)] = radio;
    }
    connect(codeGroup, &QButtonGroup::idClicked, this, [this](int i) {
        m_maker->setCodeType(i);
        showTitle();
    });
    auto* optionBox = new QGroupBox(QStringLiteral("Code Options:"), m_details);
    auto* optionLayout = new QHBoxLayout(optionBox);
    const auto option = [&](const QString& text, const char* name, void (MessageMaker::*setter)(bool)) {
        auto* check = new QCheckBox(text, optionBox);
        check->setObjectName(QString::fromLatin1(name));
        connect(check, &QCheckBox::toggled, this, [this, setter](bool on) {
            (m_maker.get()->*setter)(on);
            showTitle();
        });
        optionLayout->addWidget(check);
        return check;
    };
    m_ifError = option(QStringLiteral("IF &Error"), "ifError", &MessageMaker::setCodeIfError);
    m_loop = option(QStringLiteral("&Loop"), "loop", &MessageMaker::setCodeLoop);
    m_sound = option(QStringLiteral("So&und"), "sound", &MessageMaker::setSound);
    auto* codeColumn = new QVBoxLayout;
    codeColumn->addWidget(codeBox);
    codeColumn->addWidget(optionBox);
    details->addLayout(codeColumn, 2, 1);

    auto* actions = new QHBoxLayout;
    const auto repeated = [&](const QString& tip, const char* icon, const char* name, auto slot) {
        auto* b = new QPushButton(runtime::appIcon(icon), QString(), m_details);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        actions->addWidget(b);
    };
    actions->addStretch();
    repeated(QStringLiteral("Preview Message"), "PREV1.ICO", "previewButton", [this] { preview(); });
    repeated(QStringLiteral("Generate Message Code to Clipboard"), "LIGHTN1.ICO", "generateButton",
             [this] { generate(false); });
    repeated(QStringLiteral("Generate Message and Minimize"), "LIGHTMIN.ICO", "minimizeButton",
             [this] { generate(true); });
    details->addLayout(actions, 3, 0, 1, 2);
    layout->addWidget(m_details);
}

void MakeInputWindow::showRecord()
{
    const runtime::Record& r = m_maker->message();
    m_saveAction->setEnabled(m_maker->saveEnabled());
    m_saveTool->setEnabled(m_maker->saveEnabled());
    {
        const QSignalBlocker b(m_title);
        if (m_title->text() != toQt(r.text(Mes::Caption)))
            m_title->setText(toQt(r.text(Mes::Caption)));
    }
    {
        const QSignalBlocker b(m_text);
        m_text->setRecordText(r.text(Mes::Text));
        m_lastGoodText = r.text(Mes::Text);
    }
    m_icon->setCurrentIndex(m_maker->iconIndex());
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        QCheckBox* check = m_buttons[static_cast<std::size_t>(index - 1)];
        const QSignalBlocker b(check);
        check->setChecked(buttonChosen(r, index));
    }
    const bool renamed = r.number(Mes::RenameButtons) != 0;
    m_rename->setIcon(runtime::appIcon(renamed ? "RENAMEON.ICO" : "RENAMEOFF.ICO"));
    m_rename->setProperty("renaming", renamed);
    const DefaultChoices choices = m_maker->defaultChoices();
    for (int choice = 0; choice < DefaultChoiceCount; ++choice) {
        QRadioButton* radio = m_defaults[static_cast<std::size_t>(choice)];
        const bool used = static_cast<std::size_t>(choice) < choices.buttons.size();
        radio->setVisible(used);
        if (used) {
            radio->setText(
                QString::fromLatin1(standardButton(choices.buttons[static_cast<std::size_t>(choice)]).name));
            radio->setChecked(choice == choices.selected);
        }
    }
    for (int i = 0; i < 3; ++i)
        m_codeTypes[static_cast<std::size_t>(i)]->setChecked(
            runtime::sameTextNoCase(r.text(Mes::CodeType), codeTypeNames()[static_cast<std::size_t>(i)]));
    for (auto [check, field] :
         {std::pair{m_ifError, Mes::CodeIfError}, {m_loop, Mes::CodeLoop}, {m_sound, Mes::Sound}}) {
        const QSignalBlocker b(check);
        check->setChecked(r.number(field) != 0);
    }
    showTitle();
}

bool MakeInputWindow::isModified() const
{
    return m_unmodified && !m_maker->message().sameValues(*m_unmodified);
}

void MakeInputWindow::markUnmodified()
{
    m_unmodified = m_maker->message();
    showTitle();
}

void MakeInputWindow::showTitle()
{
    // The asterisk marks changes that no saved message holds yet.
    setWindowTitle(toQt(m_maker->title()) + (isModified() ? QStringLiteral(" *") : QString()));
}

bool MakeInputWindow::changesSettled()
{
    if (!isModified())
        return true;
    runtime::MessageRequest question;
    question.caption = "Message Maker";
    question.text = "Save changes?";
    question.icon = runtime::MessageIcon::Question;
    question.buttons = runtime::Button::Yes | runtime::Button::No | runtime::Button::Cancel;
    question.defaultButton = runtime::Button::Yes;
    switch (m_session.dialogs().message(question)) {
    case runtime::Button::Yes:
        return saveMessage(!m_maker->saveEnabled());
    case runtime::Button::No:
        return true;
    default:
        return false;
    }
}

void MakeInputWindow::closeEvent(QCloseEvent* event)
{
    if (!changesSettled()) {
        event->ignore();
        return;
    }
    ToolWindow::closeEvent(event);
}

void MakeInputWindow::textEdited()
{
    const std::string text = m_text->recordText();
    if (m_maker->setText(text)) {
        // Refuse the keystroke or paste that overfills the text rather than cut it.
        const int caret = m_text->recordCaret();
        const QSignalBlocker b(m_text);
        m_text->setRecordText(m_lastGoodText);
        m_text->setRecordCaret(std::min(caret, static_cast<int>(m_lastGoodText.size())));
        QApplication::beep();
        return;
    }
    m_lastGoodText = text;
    showTitle();
}

void MakeInputWindow::newMessage()
{
    runCommand(MakerCommand::New);
}

void MakeInputWindow::openMessage(bool asNew)
{
    MessageLoadDialog dialog(
        *m_files->messages.file(), m_session.dialogs(),
        m_session.configuration().number(config::Cfg::LookBold, 1) != 0,
        [this](SavedMessageCommand command, const runtime::Record& saved) {
            m_maker->perform(command, saved, m_iconizeFrame);
        },
        m_session.positions(), this);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen() || !changesSettled())
        return;
    if (asNew)
        m_maker->openAsNew(*dialog.chosen());
    else
        m_maker->open(*dialog.chosen());
    showRecord();
    markUnmodified();
}

bool MakeInputWindow::showItem(const runtime::ShowRequest& request)
{
    const auto saved = findByDescription(*m_files->messages.file(), request.key);
    if (!saved)
        return false;
    deliver(runtime::ToolEvent::Activate);
    if (!changesSettled())
        return false;
    m_maker->open(*saved);
    showRecord();
    markUnmodified();
    return true;
}

bool MakeInputWindow::saveMessage(bool asNew)
{
    if (!asNew && !m_maker->saveEnabled())
        return false;
    MessageSaveDialog dialog(
        asNew ? MessageSaveDialog::Request::Insert : MessageSaveDialog::Request::Change,
        m_maker->message().text(Mes::Description),
        [this, asNew](const std::string& description) {
            return (asNew ? m_maker->saveAs(description) : m_maker->save(description)) == SaveOutcome::Saved;
        },
        m_session.dialogs(), m_session.positions(), this);
    const bool saved = dialog.exec() == QDialog::Accepted;
    showRecord();
    if (saved)
        markUnmodified();
    return saved;
}

void MakeInputWindow::generate(bool thenMinimize)
{
    runCommand(thenMinimize ? MakerCommand::GenerateAndMinimize : MakerCommand::Generate);
}

void MakeInputWindow::preview()
{
    runCommand(MakerCommand::Preview);
}

void MakeInputWindow::decompileClipboard()
{
    runCommand(MakerCommand::Decompile);
}

void MakeInputWindow::runCommand(MakerCommand command)
{
    switch (command) {
    case MakerCommand::OpenAsNew:
        openMessage(true);
        return;
    case MakerCommand::Open:
        openMessage(false);
        return;
    case MakerCommand::Save:
        saveMessage(false);
        return;
    case MakerCommand::SaveAs:
        saveMessage(true);
        return;
    case MakerCommand::New:
    case MakerCommand::Decompile:
        // Both replace the window's message: unsaved changes are asked about first.
        if (!changesSettled())
            return;
        break;
    default:
        break;
    }
    const CommandOutcome outcome = m_maker->execute(command, m_iconizeFrame);
    if (command == MakerCommand::New && outcome == CommandOutcome::Failed) {
        m_unmodified = m_maker->message(); // nothing left to save: the window closes without asking
        close();                           // the template cannot be made
        return;
    }
    showRecord();
    if (command == MakerCommand::New)
        markUnmodified();
}

void MakeInputWindow::renameButtons()
{
    runtime::Record edited = m_maker->message();
    RenameButtonsDialog dialog(edited, m_popupCode, this);
    dialog.exec();
    m_maker->applyRenaming(edited);
    showRecord();
}

void MakeInputWindow::insertAtCaret(const std::string& piece)
{
    if (piece.empty())
        return;
    const auto caret = m_maker->insert(piece, m_text->recordCaret());
    showRecord();
    if (caret)
        m_text->setRecordCaret(*caret);
    m_text->setFocus();
}

void MakeInputWindow::quickInsert()
{
    insertAtCaret(m_popupCode ? m_popupCode("MSG{Q}", "|", InsertBufferLength) : std::string());
}

void MakeInputWindow::miscInsert()
{
    const auto chosen = selectInsert(this, *m_files->inserts.file(), m_session.dialogs(), m_popupCode,
                                     m_session.configuration().number(config::Cfg::LookBold, 2) != 0);
    if (chosen)
        insertAtCaret(miscInsertPiece(*chosen));
}

void MakeInputWindow::dropFields()
{
    insertAtCaret(fieldDropPiece(m_session.draggedFields(), m_maker->message().text(Mes::Caption)));
}

void MakeInputWindow::toggleExpanded()
{
    const bool expand = m_details->isVisible();
    m_details->setVisible(!expand);
    m_expand->setText(expand ? QStringLiteral("&<<") : QStringLiteral(" &>>"));
    m_text->setFocus();
}

// Ctrl+A is Save As here, also while the title or the text has the focus.
bool MakeInputWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier)
            return true; // not accepted: the shortcut runs
    }
    return ToolWindow::eventFilter(watched, event);
}

void MakeInputWindow::applyConfiguredFonts()
{
    runtime::applyFont(m_text, config::fontOf(m_session.configuration(), config::FontRow::MessageText));
}

void MakeInputWindow::contextMenuEvent(QContextMenuEvent* event)
{
    const int chosen = runtime::popupMenuChoice(this, m_maker->contextMenu(), event->globalPos());
    if (chosen != runtime::SeparatorId)
        runCommand(static_cast<MakerCommand>(chosen));
}

} // namespace kestrix::message
