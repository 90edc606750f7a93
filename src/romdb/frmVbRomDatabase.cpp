// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/frmVbRomDatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/Paths.h"
#include "base/SettingsKeys.h"
#include "help/frmHelp.h"
#include "platform/Drops.h"
#include "platform/PercentBar.h"
#include "platform/QtServices.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "romdb/RomDbTexts.h"

namespace kestro::romdb {

using platform::Q;

using platform::Named;

namespace {

constexpr const char* kSaveCaption = "Save Have/Miss/ Duplicates Lists";
constexpr const char* kSaveWithLogCaption = "Save Have/Miss/ Duplicates/Log Lists";

}  // namespace

frmVbRomDatabase::frmVbRomDatabase(platform::Services& services, QWidget* parent, FileOps* files)
    : QDialog(parent),
      m_services(services),
      m_disk(files == nullptr ? std::make_unique<DiskFileOps>() : nullptr),
      m_files(files == nullptr ? *m_disk : *files),
      m_collection(std::make_unique<Collection>(m_files, static_cast<CollectionHost&>(*this))) {
    setObjectName(QStringLiteral("frmVbRomDatabase"));
    setWindowTitle(QStringLiteral("VB ROM Database"));
    BuildControls();
    BuildMenus();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load();
    platform::AcceptDropsOnWindow(this);
}

frmVbRomDatabase::~frmVbRomDatabase() = default;

void frmVbRomDatabase::BuildControls() {
    auto button = [this](const char* name, const char* caption) {
        return Named(new QPushButton(QString::fromLatin1(caption), this), name);
    };
    auto check = [this](const char* name, const char* caption) {
        return Named(new QCheckBox(QString::fromLatin1(caption), this), name);
    };
    lblRomDir = Named(new QLabel(this), "lblRomDir");
    lblRomDir->setTextFormat(Qt::PlainText);
    lstFileIdentify = Named(new QListWidget(this), "lstFileIdentify");
    // Statuses line up behind the padded names only in a fixed-pitch font
    // that draws Japanese at two columns.
    lstFileIdentify->setFont(platform::ColumnFont());
    picPercent = new platform::PercentBar(QStringLiteral("picPercent"), QStringLiteral("lblPercent"), this);
    lblPercent = picPercent->Label();
    cmdSelectDir = button("cmdSelectDir", "ROM Directory...");
    cmdRefresh = button("cmdRefresh", "Refresh List");
    cmdIdentifyRoms = button("cmdIdentifyRoms", "Identify ROMs");
    cmdCancelIdentify = button("cmdCancelIdentify", "Cancel Identify");
    chkDetailedList = check("chkDetailedList", "Detailed ROM Lists");
    chkRenameRoms = check("chkRenameRoms", "Rename ROMs");
    chkMoveRoms = check("chkMoveRoms", "Move ROMs");
    chkChangeLog = check("chkChangeLog", "Create Change Log");
    cmdVboyHave = button("cmdVboyHave", "Display Collected");
    cmdVboyMiss = button("cmdVboyMiss", "Display Missing");
    cmdVBoyDupes = button("cmdVBoyDupes", "Display Duplicates");
    cmdVBoyLog = button("cmdVBoyLog", "Display Change Log");
    cmdSaveVboy = button("cmdSaveVboy", kSaveCaption);
    txtHelp = Named(new QPlainTextEdit(this), "txtHelp");
    txtHelp->setPlainText(platform::DisplayText(Q(RomDatabaseHelpText())));
    txtHelp->hide();

    auto* options = Named(new QGroupBox(QStringLiteral("Options"), this), "fraOptions");
    auto* optionColumn = new QVBoxLayout(options);
    for (QWidget* w : {chkDetailedList, chkRenameRoms, chkMoveRoms, chkChangeLog}) optionColumn->addWidget(w);
    auto* reports = Named(new QGroupBox(QStringLiteral("Reports"), this), "fraReports");
    auto* reportColumn = new QVBoxLayout(reports);
    for (QWidget* w : {cmdVboyHave, cmdVboyMiss, cmdVBoyDupes, cmdVBoyLog, cmdSaveVboy}) reportColumn->addWidget(w);

    // The catalogue: the built-in table, or a DAT file chosen with a file dialog.
    fraCatalogue = Named(new QGroupBox(QStringLiteral("Catalogue"), this), "fraCatalogue");
    optBuiltIn = Named(new QRadioButton(QStringLiteral("Built-in table (38 known dumps)"), fraCatalogue), "optBuiltIn");
    optDatFile = Named(new QRadioButton(QStringLiteral("DAT file"), fraCatalogue), "optDatFile");
    lblDatFile = Named(new QLabel(fraCatalogue), "lblDatFile");
    lblDatFile->setTextFormat(Qt::PlainText);
    lblDatFile->setWordWrap(true);
    cmdChooseDat = Named(new QPushButton(QStringLiteral("Choose DAT..."), fraCatalogue), "cmdChooseDat");
    auto* catalogueColumn = new QVBoxLayout(fraCatalogue);
    for (QWidget* w : std::initializer_list<QWidget*>{optBuiltIn, optDatFile, lblDatFile, cmdChooseDat})
        catalogueColumn->addWidget(w);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblRomDir, 0, 0);
    layout->addWidget(lstFileIdentify, 1, 0, 8, 1);
    layout->addWidget(picPercent, 9, 0, 1, 2);
    layout->addWidget(cmdSelectDir, 0, 1);
    layout->addWidget(cmdRefresh, 1, 1);
    layout->addWidget(cmdIdentifyRoms, 2, 1);
    layout->addWidget(cmdCancelIdentify, 3, 1);
    layout->addWidget(options, 4, 1);
    layout->addWidget(reports, 5, 1);
    layout->addWidget(fraCatalogue, 6, 1);
    layout->setRowStretch(7, 1);
    layout->setColumnStretch(0, 1);
    resize(760, 600);
}

void frmVbRomDatabase::BuildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    mnuFile = platform::AddMenu(bar, "mnuFile", "&File");
    mnuFileBack = platform::AddAction(mnuFile, "mnuFileBack", "&Back to main menu");
    mnuHelp = platform::AddMenu(bar, "mnuHelp", "&Help");
    mnuHelpHelp = platform::AddAction(mnuHelp, "mnuHelpHelp", "VB ROM Database &Help...");
    mnuHelpCodes = platform::AddAction(mnuHelp, "mnuHelpCodes", "ROM &Identification Codes...");
}

void frmVbRomDatabase::ConnectHandlers() {
    connect(cmdIdentifyRoms, &QPushButton::clicked, this, &frmVbRomDatabase::cmdIdentifyRoms_Click);
    connect(cmdCancelIdentify, &QPushButton::clicked, this, &frmVbRomDatabase::cmdCancelIdentify_Click);
    connect(cmdSelectDir, &QPushButton::clicked, this, &frmVbRomDatabase::cmdSelectDir_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmVbRomDatabase::cmdRefresh_Click);
    connect(lstFileIdentify, &QListWidget::itemDoubleClicked, this, &frmVbRomDatabase::lstFileIdentify_DblClick);
    connect(chkDetailedList, &QCheckBox::clicked, this, &frmVbRomDatabase::chkDetailedList_Click);
    connect(chkRenameRoms, &QCheckBox::clicked, this, &frmVbRomDatabase::chkRenameRoms_Click);
    connect(chkMoveRoms, &QCheckBox::clicked, this, &frmVbRomDatabase::chkMoveRoms_Click);
    connect(chkChangeLog, &QCheckBox::clicked, this, &frmVbRomDatabase::chkChangeLog_Click);
    connect(cmdVboyHave, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVboyHave_Click);
    connect(cmdVboyMiss, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVboyMiss_Click);
    connect(cmdVBoyDupes, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVBoyDupes_Click);
    connect(cmdVBoyLog, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVBoyLog_Click);
    connect(cmdSaveVboy, &QPushButton::clicked, this, &frmVbRomDatabase::cmdSaveVboy_Click);
    connect(optBuiltIn, &QRadioButton::clicked, this, &frmVbRomDatabase::optBuiltIn_Click);
    connect(optDatFile, &QRadioButton::clicked, this, &frmVbRomDatabase::optDatFile_Click);
    connect(cmdChooseDat, &QPushButton::clicked, this, &frmVbRomDatabase::cmdChooseDat_Click);
    connect(mnuFileBack, &QAction::triggered, this, &QDialog::close);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmVbRomDatabase::mnuHelpHelp_Click);
    connect(mnuHelpCodes, &QAction::triggered, this, &frmVbRomDatabase::mnuHelpCodes_Click);
}

void frmVbRomDatabase::Form_Load() {
    cmdCancelIdentify->setEnabled(false);
    chkMoveRoms->setEnabled(false);
    picPercent->setEnabled(false);
    lblPercent->setEnabled(false);
    GetRegistry();
    // A remembered DAT that cannot be read now leaves the built-in table in use, and the setting as it was.
    const bool dat = !m_datFile.empty() && LoadDat(m_datFile);
    optBuiltIn->setChecked(!dat);
    optDatFile->setChecked(dat);
    if (dat) m_collection->SetCatalogue(m_datCatalogue);
    lblDatFile->setText(dat ? Q(m_datCatalogue->Description()) : QString());
    m_collection->SetListingDirectory(m_baseDirectory);
    // A box loaded as checked acts as if the user had checked it.
    const int detailed = m_detailedList, rename = m_renameRoms, move = m_moveRoms, changeLog = m_changeLog;
    chkDetailedList->setChecked(detailed == 1);
    if (detailed == 1) chkDetailedList_Click();
    chkRenameRoms->setChecked(rename == 1);
    if (rename == 1) chkRenameRoms_Click();
    chkMoveRoms->setChecked(move == 1);
    if (move == 1) chkMoveRoms_Click();
    chkChangeLog->setChecked(changeLog == 1);
    if (changeLog == 1) chkChangeLog_Click();
}

void frmVbRomDatabase::GetRegistry() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    m_detailedList = base::ReadWhole(m_services.settings, base::keys::DetailedRomLists);
    m_renameRoms = base::ReadWhole(m_services.settings, base::keys::RenameRoms);
    m_moveRoms = base::ReadWhole(m_services.settings, base::keys::MoveRoms);
    m_changeLog = base::ReadWhole(m_services.settings, base::keys::CreateChangeLog);
    m_datFile = base::ReadText(m_services.settings, base::keys::CollectionDatFile);
}

void frmVbRomDatabase::SaveRegistry() {
    base::WriteWhole(m_services.settings, base::keys::DetailedRomLists, m_detailedList);
    base::WriteWhole(m_services.settings, base::keys::RenameRoms, m_renameRoms);
    base::WriteWhole(m_services.settings, base::keys::MoveRoms, m_moveRoms);
    base::WriteWhole(m_services.settings, base::keys::CreateChangeLog, m_changeLog);
}

CollectionOptions frmVbRomDatabase::Options() const {
    CollectionOptions options;
    options.detailed = m_detailedList == 1;
    options.rename = m_renameRoms == 1;
    options.move = options.rename && m_moveRoms == 1;  // moving is renaming into VBoyRen
    options.changeLog = m_changeLog == 1;
    return options;
}

QString frmVbRomDatabase::tag() const {
    return m_collection->CancelRequested() ? QStringLiteral("Quit") : QString();
}

void frmVbRomDatabase::reject() {
    if (m_collection->Running()) return;
    QDialog::reject();
}

void frmVbRomDatabase::chkDetailedList_Click() {
    m_detailedList = chkDetailedList->isChecked() ? 1 : 0;
    SaveRegistry();
}

void frmVbRomDatabase::chkRenameRoms_Click() {
    if (chkRenameRoms->isChecked()) {
        chkMoveRoms->setEnabled(true);
    } else {
        chkMoveRoms->setEnabled(false);
        chkMoveRoms->setChecked(false);
        chkMoveRoms_Click();
    }
    m_renameRoms = chkRenameRoms->isChecked() ? 1 : 0;
    SaveRegistry();
}

void frmVbRomDatabase::chkMoveRoms_Click() {
    m_moveRoms = chkMoveRoms->isChecked() ? 1 : 0;
    SaveRegistry();
}

void frmVbRomDatabase::chkChangeLog_Click() {
    if (chkChangeLog->isChecked()) {
        cmdSaveVboy->setText(QString::fromLatin1(kSaveWithLogCaption));
        m_collection->reports().ResetChangeLog();
    } else {
        cmdSaveVboy->setText(QString::fromLatin1(kSaveCaption));
        cmdVBoyLog->setEnabled(false);
    }
    m_changeLog = chkChangeLog->isChecked() ? 1 : 0;
    SaveRegistry();
}

bool frmVbRomDatabase::LoadDat(const std::string& path) {
    DatRead read = ReadDatFile(path);
    if (!read) {
        ShowMessage(DatNotReadMessage(read.error));
        return false;
    }
    m_datCatalogue = std::make_shared<const Catalogue>(std::move(*read.dat));
    m_datLoaded = path;
    return true;
}

void frmVbRomDatabase::UseCatalogue(bool dat) {
    optBuiltIn->setChecked(!dat);
    optDatFile->setChecked(dat);
    m_collection->SetCatalogue(dat ? m_datCatalogue : nullptr);
    lblDatFile->setText(m_datCatalogue ? Q(m_datCatalogue->Description()) : QString());
    lblDatFile->setToolTip(Q(m_datLoaded));
    base::WriteText(m_services.settings, base::keys::CollectionDatFile, dat ? m_datLoaded : std::string());
    // With a DAT, archives are listed too; either way the old statuses no longer hold.
    m_collection->Refresh();
}

void frmVbRomDatabase::optBuiltIn_Click() {
    UseCatalogue(false);
}

void frmVbRomDatabase::optDatFile_Click() {
    if (!m_datCatalogue) return cmdChooseDat_Click();
    UseCatalogue(true);
}

void frmVbRomDatabase::cmdChooseDat_Click() {
    const std::string start = m_datLoaded.empty() ? m_baseDirectory : base::DirectoryOf(m_datLoaded);
    const QString chosen = m_services.files.OpenFile(
        this, QStringLiteral("Choose DAT File"),
        QStringLiteral("DAT Files (*.dat;*.xml)|*.dat;*.xml|All Files (*.*)|*.*"), Q(start), QString());
    if (!chosen.isEmpty() && LoadDat(platform::U8(chosen))) return UseCatalogue(true);
    // Cancelled or refused: the catalogue in use stays chosen.
    optBuiltIn->setChecked(m_collection->catalogue().IsBuiltIn());
    optDatFile->setChecked(!m_collection->catalogue().IsBuiltIn());
}

void frmVbRomDatabase::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("VB ROM DB"), Q(RomDatabaseHelpText()));
}

void frmVbRomDatabase::mnuHelpCodes_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("ROM ID Codes"), QString());
}

}  // namespace kestro::romdb
