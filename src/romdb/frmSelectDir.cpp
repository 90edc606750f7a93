// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/frmSelectDir.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "base/SettingsKeys.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "romdb/RomDbTexts.h"

namespace kestro::romdb {

using platform::Q;

namespace {

// A directory exists when looking it up finds a directory.
bool DirectoryExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// The drive a path lies on: its root ("/" here, "C:/" on Windows).
QString DriveOf(const QString& path) {
    for (const QFileInfo& drive : QDir::drives()) {
        if (path.startsWith(drive.absoluteFilePath(), Qt::CaseInsensitive)) return drive.absoluteFilePath();
    }
    return QDir::rootPath();
}

}  // namespace

frmSelectDir::frmSelectDir(platform::Services& services, const QString& startDirectory, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmSelectDir"));
    setWindowTitle(QStringLiteral("Select Directory..."));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load(startDirectory);
}

void frmSelectDir::BuildControls() {
    lblLookIn = platform::Named(new QLabel(QStringLiteral("Look in:"), this), "lblLookIn");
    drvDrive = platform::Named(new QComboBox(this), "drvDrive");
    for (const QFileInfo& drive : QDir::drives()) drvDrive->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QString());
    dirDirectory = platform::Named(new QTreeView(this), "dirDirectory");
    dirDirectory->setModel(m_model);
    dirDirectory->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column) dirDirectory->hideColumn(column);
    lblFileName1 = platform::Named(new QLabel(QStringLiteral("Directory:"), this), "lblFileName1");
    lblFileName = platform::Named(new QLabel(this), "lblFileName");
    lblFileName->setTextFormat(Qt::PlainText);
    lblFileName->hide();  // kept up to date; the box below shows the same path and takes a typed one
    txtDirectory = platform::Named(new QLineEdit(this), "txtDirectory");
    txtDirectory->setToolTip(QStringLiteral("Type or paste a directory and press Enter to go there"));
    txtDirectory->installEventFilter(this);
    cmdSelect = platform::Named(new QPushButton(QStringLiteral("Select"), this), "cmdSelect");
    cmdSelect->setDefault(true);
    cmdCancel = platform::Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblLookIn, 0, 0);
    layout->addWidget(drvDrive, 0, 1);
    layout->addWidget(dirDirectory, 1, 0, 1, 2);
    layout->addWidget(lblFileName1, 2, 0);
    layout->addWidget(txtDirectory, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    resize(380, 360);
}

void frmSelectDir::ConnectHandlers() {
    connect(drvDrive, &QComboBox::activated, this, &frmSelectDir::drvDrive_Change);
    connect(dirDirectory->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmSelectDir::dirDirectory_Change);
    connect(cmdSelect, &QPushButton::clicked, this, &frmSelectDir::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectDir::cmdCancel_Click);
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &frmSelectDir::dirDirectory_Loaded);
}

void frmSelectDir::Form_Load(const QString& startDirectory) {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    const QString base = Q(m_baseDirectory);
    const QString wanted = startDirectory.isEmpty() ? base : startDirectory;
    ShowDirectory(DirectoryExists(wanted) ? wanted : Q(base::DefaultDirectory()));
}

// Shows a directory in all three controls: label (and path box), drive and tree.
void frmSelectDir::ShowDirectory(const QString& directory) {
    lblFileName->setText(directory);
    txtDirectory->setText(directory);
    drvDrive->setCurrentIndex(std::max(0, drvDrive->findText(QDir::toNativeSeparators(DriveOf(directory)))));
    m_path = directory;
    m_revealing = QDir::cleanPath(QDir::fromNativeSeparators(directory));
    RevealInTree();
}

// Selects the directory being shown, with every folder above it open, and
// scrolls it into the middle of the tree.
void frmSelectDir::RevealInTree() {
    const QModelIndex index = m_model->index(m_revealing);
    if (!index.isValid()) return;
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) dirDirectory->expand(above);
    if (dirDirectory->currentIndex() != index) dirDirectory->setCurrentIndex(index);
    dirDirectory->expand(index);
    dirDirectory->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

// The model reads folders in the background, and each folder above the one
// shown that arrives moves its row: bring it back into view until the user
// picks another.
void frmSelectDir::dirDirectory_Loaded(const QString& loaded) {
    if (m_revealing.isEmpty()) return;
    const QString above = loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
    if (m_revealing == loaded || m_revealing.startsWith(above)) RevealInTree();
}

void frmSelectDir::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_revealing.isEmpty()) RevealInTree();
}

// Goes to the directory typed into the path box; true when the box names
// the directory shown (or now does), false after saying it does not exist.
bool frmSelectDir::GoToTypedDirectory() {
    const QString typed = txtDirectory->text();
    if (typed == m_path) return true;
    QString path = QDir::fromNativeSeparators(typed);
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) path.replace(0, 1, QDir::homePath());
    // A relative path is taken from the directory shown, the current one.
    path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!DirectoryExists(path)) {
        m_services.messages.Show(this, NoSuchDirectoryMessage(platform::U8(typed)));
        txtDirectory->selectAll();
        return false;
    }
    ShowDirectory(QDir::toNativeSeparators(path));
    return true;
}

bool frmSelectDir::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDirectory && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter on a newly typed path goes there without choosing it yet; on
        // the path shown it is Select, as anywhere else in the window.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && txtDirectory->text() != m_path) {
            txtDirectory_Enter();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelectDir::txtDirectory_Enter() {
    GoToTypedDirectory();
}

void frmSelectDir::drvDrive_Change() {
    dirDirectory->setCurrentIndex(m_model->index(QDir::fromNativeSeparators(drvDrive->currentText())));
}

void frmSelectDir::dirDirectory_Change() {
    const QString chosen = m_model->filePath(dirDirectory->currentIndex());
    if (chosen.isEmpty()) return;
    if (chosen != m_revealing) m_revealing.clear();  // the user went elsewhere
    m_path = QDir::toNativeSeparators(chosen);
    // The program's own working directory never follows the chooser: each
    // start names the directory it runs in.
    lblFileName->setText(m_path);
    txtDirectory->setText(m_path);
}

void frmSelectDir::cmdSelect_Click() {
    if (!GoToTypedDirectory()) return;  // a typed directory counts, as if Enter had taken it there
    m_tag = m_path;
    accept();
}

void frmSelectDir::cmdCancel_Click() {
    m_tag.clear();
    reject();
}

QString ChooseDirectory(platform::Services& services, QWidget* parent, const QString& startDirectory) {
    frmSelectDir chooser(services, startDirectory, parent);
    chooser.exec();
    return chooser.tag();
}

}  // namespace kestro::romdb
