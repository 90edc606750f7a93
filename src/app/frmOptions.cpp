// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmOptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/OptionsTexts.h"
#include "base/Paths.h"
#include "emus/ProgramFiles.h"
#include "platform/PathLabel.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "rom/RecentRomList.h"
#include "romdb/frmSelectDir.h"

namespace kestro::app {

using base::MessageResult;
using platform::Named;
using platform::Q;
using platform::U8;

namespace {

constexpr int kPathWidth = 210;   // wide enough for a short path; longer ones end in "..."
constexpr int kFirstUtility = 3;  // the rows after the three emulators
constexpr int kMruDefault = 4;    // offered when the list is switched back on with no count
constexpr std::string_view kRomExtension = ".vb";

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption) {
    return Named(new QCheckBox(QString::fromLatin1(caption), parent), name);
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    return Named(new QPushButton(QString::fromLatin1(caption), parent), name);
}

}  // namespace

frmOptions::frmOptions(platform::Services& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Kestro Utilities Options..."));
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

void frmOptions::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QGridLayout();
    layout->addLayout(frames);
    frames->addWidget(BuildGeneralFrame(), 0, 0);
    frames->addWidget(BuildRomFrame(), 1, 0);
    QGroupBox* emulators = BuildProgramFrame("fraEmulators", "Emulator Frontends:", 0);
    AddMednafenRow(emulators);
    frames->addWidget(emulators, 0, 1);
    frames->addWidget(BuildProgramFrame("fraUtilities", "Virtual Boy Utilities:", kFirstUtility), 1, 1);
    auto* buttons = new QHBoxLayout();
    layout->addLayout(buttons);
    buttons->addStretch(1);
    cmdApply = Button(this, "cmdApply", "Apply");
    cmdApply->setDefault(true);
    cmdDefault = Button(this, "cmdDefault", "Revert to default");
    cmdCancel = Button(this, "cmdCancel", "Cancel");
    for (QPushButton* b : {cmdApply, cmdDefault, cmdCancel}) buttons->addWidget(b);
    platform::KeepOnlyDesignedDefault(this);
    setFixedSize(sizeHint());
}

QGroupBox* frmOptions::BuildGeneralFrame() {
    auto* frame = Named(new QGroupBox(QStringLiteral("General Options:"), this), "fraGeneral");
    auto* grid = new QGridLayout(frame);
    chkIntro = CheckBox(frame, "chkIntro", "Virtual Boy main menu");
    optThemeCol[0] = Named(new QRadioButton(QStringLiteral("VB Colours"), frame), "optThemeCol_0");
    optThemeCol[1] = Named(new QRadioButton(QStringLiteral("Greyscale"), frame), "optThemeCol_1");
    grid->addWidget(chkIntro, 0, 0, 1, 4);
    grid->addWidget(optThemeCol[0], 1, 1, 1, 2);
    grid->addWidget(optThemeCol[1], 1, 3, 1, 2);
    lblBaseDir1 = Named(new QLabel(QStringLiteral("Virtual Boy ROM base directory:"), frame), "lblBaseDir1");
    lblBaseDir = Named(new platform::PathLabel(frame), "lblBaseDir");
    lblBaseDir->setFixedWidth(kPathWidth);
    cmdBaseDir = Button(frame, "cmdBaseDir", "Change...");
    grid->addWidget(lblBaseDir1, 2, 0, 1, 5);
    grid->addWidget(lblBaseDir, 3, 0, 1, 4);
    grid->addWidget(cmdBaseDir, 3, 4);

    chkMruItems = CheckBox(frame, "chkMruItems", "Recently used ROM list:");
    vscMruItems = Named(new QScrollBar(Qt::Vertical, frame), "vscMruItems");
    vscMruItems->setRange(1, rom::kRecentRomSlots);
    // A number the user sets, so Tab reaches it like every other control.
    vscMruItems->setFocusPolicy(Qt::StrongFocus);
    platform::CountUpward(vscMruItems);
    vscMruItems->setFixedHeight(chkMruItems->sizeHint().height() + 4);
    lblMruItems = Named(new QLabel(frame), "lblMruItems");
    lblMruItems->setMinimumWidth(lblMruItems->fontMetrics().horizontalAdvance(QStringLiteral("10")));
    lblMruItems->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblMruItems1 = Named(new QLabel(QStringLiteral("entries"), frame), "lblMruItems1");
    cmdMruItems = Button(frame, "cmdMruItems", "Clear");
    auto* mru = new QHBoxLayout();
    mru->addWidget(chkMruItems);
    mru->addStretch(1);
    mru->addWidget(vscMruItems);
    mru->addWidget(lblMruItems);
    mru->addWidget(lblMruItems1);
    mru->addWidget(cmdMruItems);
    grid->addLayout(mru, 4, 0, 1, 5);
    grid->setRowStretch(5, 1);  // the rows keep together when the frame beside is taller
    return frame;
}

// The rows of the programs [first, first + 3), built from the program table.
QGroupBox* frmOptions::BuildProgramFrame(const char* name, const char* caption, int first) {
    auto* frame = Named(new QGroupBox(QString::fromLatin1(caption), this), name);
    auto* grid = new QGridLayout(frame);
    for (int i = first; i < first + 3; ++i) {
        const emus::ProgramInfo& info = emus::Programs()[static_cast<std::size_t>(i)];
        const QString key = Q(info.name);
        ProgramRow& row = m_rows[static_cast<std::size_t>(i)];
        row.lblDir1 = new QLabel(Q(info.entry) + QStringLiteral(" directory:"), frame);
        row.lblDir1->setObjectName(QStringLiteral("lbl") + key + QStringLiteral("Dir1"));
        row.chkEnabled = new QCheckBox(QStringLiteral("Enabled"), frame);
        row.chkEnabled->setObjectName(QStringLiteral("chk") + key + QStringLiteral("Enabled"));
        row.lblDir = new platform::PathLabel(frame);
        row.lblDir->setObjectName(QStringLiteral("lbl") + key + QStringLiteral("Dir"));
        row.lblDir->setFixedWidth(kPathWidth);
        row.cmdDir = new QPushButton(QStringLiteral("Change..."), frame);
        row.cmdDir->setObjectName(QStringLiteral("cmd") + key + QStringLiteral("Dir"));
        const int r = 2 * (i - first);
        grid->addWidget(row.lblDir1, r, 0);
        grid->addWidget(row.chkEnabled, r, 1);
        grid->addWidget(row.lblDir, r + 1, 0);
        grid->addWidget(row.cmdDir, r + 1, 1);
    }
    return frame;
}

// Below the three emulators: Mednafen's program, typed or chosen; left
// empty, it is looked for on PATH, then in /usr/games.
void frmOptions::AddMednafenRow(QGroupBox* frame) {
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    const int r = grid->rowCount();
    lblMednafenProgram1 = Named(new QLabel(QStringLiteral("Mednafen program:"), frame), "lblMednafenProgram1");
    chkMednafenEnabled = CheckBox(frame, "chkMednafenEnabled", "Enabled");
    txtMednafenProgram = Named(new QLineEdit(frame), "txtMednafenProgram");
    txtMednafenProgram->setFixedWidth(kPathWidth);
    txtMednafenProgram->setPlaceholderText(QStringLiteral("(mednafen on PATH)"));
    txtMednafenProgram->setToolTip(
        QStringLiteral("The mednafen program; left empty, it is looked for on PATH, then in /usr/games."));
    txtMednafenProgram->setClearButtonEnabled(true);
    cmdMednafenProgram = Button(frame, "cmdMednafenProgram", "Change...");
    grid->addWidget(lblMednafenProgram1, r, 0);
    grid->addWidget(chkMednafenEnabled, r, 1);
    grid->addWidget(txtMednafenProgram, r + 1, 0);
    grid->addWidget(cmdMednafenProgram, r + 1, 1);
}

QGroupBox* frmOptions::BuildRomFrame() {
    auto* frame = Named(new QGroupBox(QStringLiteral("ROM Information/Database/Tile Viewer:"), this), "fraRomOptions");
    auto* column = new QVBoxLayout(frame);
    chkDetectRom = CheckBox(frame, "chkDetectRom", "Automatically identify ROM information");
    chkAutoUpdate = CheckBox(frame, "chkAutoUpdate", "Automatically update ROM tile viewer display");
    chkDetailedList = CheckBox(frame, "chkDetailedList", "Detailed VB ROM lists");
    chkRenameRoms = CheckBox(frame, "chkRenameRoms", "Rename VB ROMs");
    chkMoveRoms = CheckBox(frame, "chkMoveRoms", "Move VB ROMs");
    chkChangeLog = CheckBox(frame, "chkChangeLog", "Create VB ROM change log");
    for (QCheckBox* c : {chkDetectRom, chkAutoUpdate, chkDetailedList, chkRenameRoms, chkMoveRoms, chkChangeLog}) {
        column->addWidget(c);
    }
    column->addStretch(1);
    return frame;
}

void frmOptions::ConnectHandlers() {
    connect(chkIntro, &QCheckBox::toggled, this, &frmOptions::chkIntro_Click);
    connect(chkMruItems, &QCheckBox::toggled, this, &frmOptions::chkMruItems_Click);
    connect(vscMruItems, &QScrollBar::valueChanged, this, &frmOptions::vscMruItems_Change);
    connect(cmdMruItems, &QPushButton::clicked, this, &frmOptions::cmdMruItems_Click);
    connect(cmdBaseDir, &QPushButton::clicked, this, &frmOptions::cmdBaseDir_Click);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int p = static_cast<int>(i);
        connect(m_rows[i].chkEnabled, &QCheckBox::toggled, this, [this, p] { chkEnabled_Click(p); });
        connect(m_rows[i].cmdDir, &QPushButton::clicked, this, [this, p] { cmdDir_Click(p); });
    }
    connect(chkMednafenEnabled, &QCheckBox::toggled, this, &frmOptions::chkMednafenEnabled_Click);
    connect(cmdMednafenProgram, &QPushButton::clicked, this, &frmOptions::cmdMednafenProgram_Click);
    connect(chkRenameRoms, &QCheckBox::toggled, this, &frmOptions::chkRenameRoms_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
    connect(cmdDefault, &QPushButton::clicked, this, &frmOptions::cmdDefault_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
}

void frmOptions::Form_Load() {
    GetRegistry();
    SetControls();
}

void frmOptions::GetRegistry() {
    m_settings.GetRegistry(m_services.settings);
}

void frmOptions::SaveRegistry() {
    // "Version Number" belongs to the main window: read here, never written.
    m_settings.SaveRegistry(m_services.settings, false);
    m_settings.SaveOwnKeys(m_services.settings);
}

// Every control from the window's copy of the settings, then the enabling rules.
void frmOptions::SetControls() {
    chkIntro->setChecked(m_settings.mainMenuTheme);
    optThemeCol[m_settings.themeColours ? 1 : 0]->setChecked(true);
    lblBaseDir->setPath(Q(m_settings.baseDirectory));
    chkMruItems->setChecked(m_settings.recentRomsNumber > 0);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].chkEnabled->setChecked(m_settings.programs[i].enabled);
        m_rows[i].lblDir->setPath(Q(m_settings.programs[i].directory));
    }
    chkMednafenEnabled->setChecked(m_settings.mednafen.enabled);
    txtMednafenProgram->setText(Q(m_settings.mednafen.directory));
    chkDetectRom->setChecked(m_settings.autoDetectRom);
    chkAutoUpdate->setChecked(m_settings.autoUpdateViewer);
    chkDetailedList->setChecked(m_settings.detailedRomLists != 0);
    chkRenameRoms->setChecked(m_settings.renameRoms != 0);
    chkMoveRoms->setChecked(m_settings.moveRoms != 0);
    chkChangeLog->setChecked(m_settings.createChangeLog != 0);
    chkIntro_Click();
    chkMruItems_Click();
    for (int p = 0; p < base::kProgramCount; ++p) chkEnabled_Click(p);
    chkMednafenEnabled_Click();
    chkRenameRoms_Click();
}

// The window's copy of the settings from the controls; directories from the
// labels' tool tips, which keep the whole path.
void frmOptions::ReadControls() {
    m_settings.mainMenuTheme = chkIntro->isChecked();
    m_settings.themeColours = optThemeCol[1]->isChecked();
    m_settings.baseDirectory = U8(lblBaseDir->toolTip());
    m_settings.recentRomsNumber = chkMruItems->isChecked() ? vscMruItems->value() : 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_settings.programs[i].enabled = m_rows[i].chkEnabled->isChecked();
        m_settings.programs[i].directory = U8(m_rows[i].lblDir->toolTip());
    }
    m_settings.mednafen.enabled = chkMednafenEnabled->isChecked();
    m_settings.mednafen.directory = U8(txtMednafenProgram->text().trimmed());
    m_settings.autoDetectRom = chkDetectRom->isChecked();
    m_settings.autoUpdateViewer = chkAutoUpdate->isChecked();
    m_settings.detailedRomLists = chkDetailedList->isChecked() ? 1 : 0;
    m_settings.renameRoms = chkRenameRoms->isChecked() ? 1 : 0;
    m_settings.moveRoms = chkMoveRoms->isChecked() ? 1 : 0;
    m_settings.createChangeLog = chkChangeLog->isChecked() ? 1 : 0;
}

void frmOptions::chkIntro_Click() {
    for (QRadioButton* o : optThemeCol) o->setEnabled(chkIntro->isChecked());
}

void frmOptions::chkMruItems_Click() {
    const bool on = chkMruItems->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblMruItems, vscMruItems, lblMruItems1, cmdMruItems}) {
        w->setEnabled(on);
    }
    if (on) vscMruItems->setValue(m_settings.recentRomsNumber < 1 ? kMruDefault : m_settings.recentRomsNumber);
    ShowMruCount();
}

void frmOptions::vscMruItems_Change() {
    ShowMruCount();
}

void frmOptions::ShowMruCount() {
    lblMruItems->setText(chkMruItems->isChecked() ? QString::number(vscMruItems->value()) : QStringLiteral("0"));
}

void frmOptions::cmdMruItems_Click() {
    if (m_services.messages.Show(this, ClearRecentQuestion()) != MessageResult::Yes) return;
    // Kept in the window's copy; the store sees it when Apply succeeds.
    for (std::string& entry : m_settings.recentRoms) entry.clear();
}

void frmOptions::cmdBaseDir_Click() {
    const QString chosen = romdb::ChooseDirectory(m_services, this, lblBaseDir->path());
    if (chosen.isEmpty()) return;
    if (!base::HasFileWithExtensionNoCase(U8(chosen), kRomExtension)) {
        m_services.messages.Show(this, NoRomsOnChange(U8(chosen)));
        return;
    }
    lblBaseDir->setPath(chosen);
}

void frmOptions::chkEnabled_Click(int program) {
    const ProgramRow& row = m_rows[static_cast<std::size_t>(program)];
    row.lblDir->setEnabled(row.chkEnabled->isChecked());
    row.cmdDir->setEnabled(row.chkEnabled->isChecked());
}

void frmOptions::cmdDir_Click(int program) {
    const ProgramRow& row = m_rows[static_cast<std::size_t>(program)];
    const auto which = static_cast<base::Program>(program);
    const QString chosen = romdb::ChooseDirectory(m_services, this, row.lblDir->path());
    if (chosen.isEmpty()) return;
    if (!emus::FindProgramFile(which, U8(chosen))) {
        m_services.messages.Show(this, emus::MissingOnChange(which, U8(chosen)));
        return;
    }
    row.lblDir->setPath(chosen);
}

void frmOptions::chkMednafenEnabled_Click() {
    txtMednafenProgram->setEnabled(chkMednafenEnabled->isChecked());
    cmdMednafenProgram->setEnabled(chkMednafenEnabled->isChecked());
}

void frmOptions::cmdMednafenProgram_Click() {
    const QString current = txtMednafenProgram->text().trimmed();
    const QString start = current.isEmpty() ? QStringLiteral("/usr/games") : Q(base::DirectoryOf(U8(current)));
    const QString chosen = m_services.files.OpenFile(this, QStringLiteral("Select Mednafen"),
                                                     QStringLiteral("All Files (*.*)|*.*"), start, QString());
    if (chosen.isEmpty()) return;
    if (!emus::FindProgramFile(base::Program::Mednafen, U8(chosen))) {
        m_services.messages.Show(this, emus::MissingOnChange(base::Program::Mednafen, U8(chosen)));
        return;
    }
    txtMednafenProgram->setText(chosen);
}

void frmOptions::chkRenameRoms_Click() {
    chkMoveRoms->setEnabled(chkRenameRoms->isChecked());
    if (!chkRenameRoms->isChecked()) chkMoveRoms->setChecked(false);
}

// Every enabled program is checked, so that the user hears of all missing ones at once.
bool frmOptions::ProgramsFound() {
    bool found = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].chkEnabled->isChecked()) continue;
        const auto program = static_cast<base::Program>(i);
        const std::string directory = U8(m_rows[i].lblDir->toolTip());
        if (emus::FindProgramFile(program, directory)) continue;
        m_services.messages.Show(this, emus::MissingOnApply(program, directory));
        found = false;
    }
    const std::string mednafen = U8(txtMednafenProgram->text().trimmed());
    if (chkMednafenEnabled->isChecked() && !emus::FindProgramFile(base::Program::Mednafen, mednafen)) {
        m_services.messages.Show(this, emus::MissingOnApply(base::Program::Mednafen, mednafen));
        found = false;
    }
    return found;
}

void frmOptions::cmdApply_Click() {
    const std::string baseDirectory = U8(lblBaseDir->toolTip());
    if (!base::HasFileWithExtensionNoCase(baseDirectory, kRomExtension) &&
        m_services.messages.Show(this, NoRomsOnApply(baseDirectory)) != MessageResult::Yes) {
        return;
    }
    if (!ProgramsFound()) return;
    ReadControls();
    SaveRegistry();
    accept();
}

void frmOptions::cmdDefault_Click() {
    if (m_services.messages.Show(this, RevertQuestion()) != MessageResult::Yes) return;
    if (m_services.messages.Show(this, RevertConfirmation()) != MessageResult::Yes) return;
    // Only the window's copy changes; nothing is written until Apply.
    const std::string version = m_settings.versionNumber;
    m_settings = DefaultSettings();
    m_settings.versionNumber = version;
    SetControls();
    // Every box goes off, the recent list's too; its scroll value keeps the
    // default 4 for when the user switches the list back on.
    chkMruItems->setChecked(false);
}

void frmOptions::cmdCancel_Click() {
    reject();
}

}  // namespace kestro::app
